// Find and go-to on a large file, timed without a window: find by name and by value
// through every record (each container expanded on the way and collapsed again),
// a byte pattern through the data, and the way down to the last byte.
//
// Usage: find_bench [records [--no-components]]   (default 8388608: about 64 MiB of
// data; --no-components leaves out the finds by name and value)
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "document/data_mgr.h"
#include "document/find.h"
#include "document/place_path.h"
#include "model/component.h"
#include "records_layout.h"
#include "bench_timing.h"

namespace {

using bench::peak_kib;
using bench::timed;

} // namespace

int main(int argc, char** argv)
{
    const std::size_t records = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 8388608;
    const std::string path = "/tmp/kestrix-find-bench.bin";
    Data_mgr& doc = Data_mgr::instance();
    const std::size_t size = records_layout::load_records(doc, path, records);
    doc.analyze();
    const double mb = static_cast<double>(size) / 1e6;
    const long before = peak_kib();

    const bool components = !(argc > 2 && std::string(argv[2]) == "--no-components");
    std::size_t name_hits = 0;
    const double by_name = !components ? 0 : timed([&] {
        find_components(doc, {Component_query::Kind::name, "S"}, [&](const auto&) { return ++name_hits != 0; });
    });
    std::size_t value_hits = 0;
    const double by_value = !components ? 0 : timed([&] {
        find_components(doc, {Component_query::Kind::value, "aa"}, [&](const auto&) { return ++value_hits != 0; });
    });
    std::size_t rare_hits = 0;
    const double by_name_rare = !components ? 0 : timed([&] {
        find_components(doc, {Component_query::Kind::name, "high2"}, [&](const auto&) { return ++rare_hits != 0; });
    });
    const double by_value_rare = !components ? 0 : timed([&] {
        find_components(doc, {Component_query::Kind::value, "xyz"}, [&](const auto&) { return ++rare_hits != 0; });
    });
    const long after = peak_kib();
    std::size_t byte_hits = 0;
    const double bytes = timed([&] {
        find_bytes(doc, std::string("\x02" "aa", 3), [&](std::uint64_t) { return ++byte_hits != 0; });
    });
    std::size_t depth = 0;
    const double at_last = timed([&] { depth = place_path_of(doc, size - 1).size(); });

    std::printf("records                                 %zu\n", records);
    std::printf("data size                               %zu bytes (%.1f MiB)\n", size, static_cast<double>(size) / 1048576.0);
    std::printf("find by name (\"S\", every string)       %.3f s, %.1f MB/s, %zu hits\n", by_name, mb / by_name, name_hits);
    std::printf("find by value (\"aa\")                   %.3f s, %.1f MB/s, %zu hits\n", by_value, mb / by_value, value_hits);
    std::printf("find by name, no hit (\"high2\")         %.3f s, %.1f MB/s\n", by_name_rare, mb / by_name_rare);
    std::printf("find by value, no hit (\"xyz\")          %.3f s, %.1f MB/s\n", by_value_rare, mb / by_value_rare);
    std::printf("peak memory before and after the finds  %ld KiB, %ld KiB\n", before, after);
    std::printf("find bytes (02 61 61)                   %.3f s, %.1f MB/s, %zu hits\n", bytes, mb / bytes, byte_hits);
    std::printf("place of the last byte (at)             %.1f ms, %zu levels\n", at_last * 1000, depth);
    return 0;
}
