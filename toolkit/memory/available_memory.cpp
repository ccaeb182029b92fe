#include "toolkit/memory/available_memory.h"

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// The number after `key` in a "key value" file such as /proc/meminfo, or nothing.
std::optional<std::uint64_t> field_of(const std::string& file, const char* key)
{
    std::FILE* in = std::fopen(file.c_str(), "re");
    if (!in)
        return std::nullopt;
    std::optional<std::uint64_t> value;
    char line[256];
    const std::size_t key_length = std::strlen(key);
    while (!value && std::fgets(line, sizeof line, in)) {
        unsigned long long number = 0;
        if (std::strncmp(line, key, key_length) == 0 && std::sscanf(line + key_length, "%llu", &number) == 1)
            value = number;
    }
    std::fclose(in);
    return value;
}

// The first line of a file, without its line end.
std::optional<std::string> first_line(const std::string& file)
{
    std::FILE* in = std::fopen(file.c_str(), "re");
    if (!in)
        return std::nullopt;
    char line[4096];
    const bool got = std::fgets(line, sizeof line, in) != nullptr;
    std::fclose(in);
    if (!got)
        return std::nullopt;
    std::string text = line;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

std::optional<std::uint64_t> number_in(const std::optional<std::string>& text)
{
    unsigned long long number = 0;
    if (!text || std::sscanf(text->c_str(), "%llu", &number) != 1)
        return std::nullopt;
    return number;
}

std::uint64_t room(std::uint64_t limit, std::uint64_t used) { return limit > used ? limit - used : 0; }

// Room under a process limit on what it maps, given the /proc/self/status field
// (in KiB) that counts against it.
std::optional<std::uint64_t> rlimit_room(int resource, const char* status_field)
{
    struct rlimit limit{};
    if (::getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return std::nullopt;
    const auto used_kib = field_of("/proc/self/status", status_field);
    return room(limit.rlim_cur, used_kib.value_or(0) * 1024);
}

std::optional<std::uint64_t> system_room()
{
    const auto available = field_of("/proc/meminfo", "MemAvailable:");
    if (!available)
        return std::nullopt;
    return (*available + field_of("/proc/meminfo", "SwapFree:").value_or(0)) * 1024;
}

// The tightest memory.max of this process's cgroup v2 group and its parents.
std::optional<std::uint64_t> cgroup_room()
{
    const auto membership = first_line("/proc/self/cgroup");
    if (!membership || !membership->starts_with("0::/"))
        return std::nullopt;
    std::optional<std::uint64_t> tightest;
    for (std::string group = membership->substr(3);;) {
        const std::string folder = "/sys/fs/cgroup" + (group == "/" ? std::string() : group);
        // "max" (no limit) reads as no number.
        const auto max = number_in(first_line(folder + "/memory.max"));
        const auto current = number_in(first_line(folder + "/memory.current"));
        if (max && current) {
            const std::uint64_t cache = field_of(folder + "/memory.stat", "file ").value_or(0);
            const std::uint64_t used = room(*current, cache);
            const std::uint64_t left = room(*max, used);
            tightest = std::min(tightest.value_or(left), left);
        }
        if (group == "/")
            break;
        const std::size_t slash = group.find_last_of('/');
        group = slash == 0 ? "/" : group.substr(0, slash);
    }
    return tightest;
}

} // namespace

std::optional<std::uint64_t> available_memory()
{
    std::optional<std::uint64_t> tightest;
    for (const auto& candidate : {rlimit_room(RLIMIT_AS, "VmSize:"), rlimit_room(RLIMIT_DATA, "VmData:"),
                                  system_room(), cgroup_room()})
        if (candidate)
            tightest = std::min(tightest.value_or(*candidate), *candidate);
    return tightest;
}
