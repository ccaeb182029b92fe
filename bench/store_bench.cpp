// The byte store's figures, one case per run so that each starts in a fresh process
// (the system's cost of handing out memory counts, as it does for the user):
//
//   store_bench open FILE        opens FILE with an empty definition and analyses it:
//                                MB/s, and peak resident memory per data byte
//   store_bench edit FILE        inserts and deletes 1 byte and 4 KiB, and replaces 4
//                                bytes, at the start, the middle and the end, each
//                                followed by its undo (ms)
//   store_bench records [N]      the record layout of N records (default 8388608, about
//                                64 MiB): the analysis in MB/s, and the expansion of the
//                                loop's table and of a group, its sub-group and a record
//                                at the start, the middle and the end (ms)
//
// Each line is "label<TAB>value" for bench/store_run to put side by side. A file the
// store refuses prints "refused: <message>" as its value and exits 0.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "document/data_mgr.h"
#include "model/component.h"
#include "toolkit/exception.h"
#include "records_layout.h"
#include "bench_timing.h"

namespace {

using bench::timed;

void print(const std::string& label, const std::string& value)
{
    std::printf("%s\t%s\n", label.c_str(), value.c_str());
    std::fflush(stdout);
}

std::string format(const char* pattern, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

std::string ms(double seconds) { return format("%.3f ms", seconds * 1000); }

// The size as the table's labels name it: "256 MiB", "3.9 GiB".
std::string size_text(std::uint64_t bytes)
{
    const double mib = static_cast<double>(bytes) / 1048576.0;
    return mib < 1024 ? format("%.0f MiB", mib) : format("%.1f GiB", mib / 1024);
}

// The size of the file at `path`; 0 when there is none, which load_data() then refuses.
std::uint64_t file_bytes(const std::string& path)
{
    std::error_code error;
    const auto bytes = std::filesystem::file_size(path, error);
    return error ? 0 : bytes;
}

// A figure of /proc/self/status in bytes ("VmHWM", "VmRSS").
std::uint64_t status_bytes(std::string_view field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.starts_with(field) && line.size() > field.size() && line[field.size()] == ':')
            return std::strtoull(line.c_str() + field.size() + 1, nullptr, 10) * 1024;
    return 0;
}

// Opens `path`; false (after printing why under `label`) when the store refuses it.
bool open_data(Data_mgr& doc, const std::string& path, const std::string& label, double* seconds = nullptr)
{
    try {
        // load_data analyses by the definition, empty here; the explicit analysis
        // keeps the figure the same should the load ever stop doing so.
        const double s = timed([&] {
            doc.load_data(File_path(path));
            doc.analyze();
        });
        if (seconds)
            *seconds = s;
        return true;
    } catch (const Exception& e) {
        print(label, "refused: " + e.display_text());
        return false;
    }
}

int open_case(const std::string& path)
{
    Data_mgr& doc = Data_mgr::instance();
    // Resets the peak to what the process holds now (Linux 4.0 on); should that fail,
    // the peak so far is still far below the data's.
    std::ofstream("/proc/self/clear_refs") << "5";
    const std::uint64_t before = status_bytes("VmHWM");
    double seconds = 0;
    const std::string what = size_text(file_bytes(path));
    if (!open_data(doc, path, "open + analyse, " + what + ": MB/s", &seconds))
        return 0;
    const double peak = static_cast<double>(status_bytes("VmHWM") - before);
    print("open + analyse, " + what + ": MB/s", format("%.0f", static_cast<double>(doc.size()) / 1e6 / seconds));
    print("open + analyse, " + what + ": s", format("%.3f", seconds));
    print("peak memory per data byte, " + what, format("%.3f", peak / static_cast<double>(doc.size())));
    print("peak memory, " + what, format("%.0f MiB", peak / 1048576.0));
    return 0;
}

int edit_case(const std::string& path)
{
    Data_mgr& doc = Data_mgr::instance();
    const std::string what = size_text(file_bytes(path));
    if (!open_data(doc, path, "edits, " + what))
        return 0;
    if (doc.size() < 8192) {
        print("edits, " + what, "not run: the file needs at least 8 KiB");
        return 0;
    }
    // The analysis after an edit is not the store's work and is timed apart; undo_data()
    // analyses the changed data itself, so its figure includes one such analysis
    // (the walk resumes from the same checkpoint as after the edit).
    double worst_analysis = 0;
    const auto edit_and_undo = [&](const std::string& label, const std::function<void()>& edit) {
        const double change = timed(edit);
        const double analysis = timed([&] { doc.analyze_changed_data(); });
        const double undo = timed([&] { doc.undo_data(); });
        worst_analysis = std::max(worst_analysis, analysis);
        print(label + ", " + what, ms(change));
        print(label + ", " + what + ": its undo (with its analysis)", ms(undo));
    };
    for (const std::uint32_t count : {1u, 4096u}) {
        const std::string n = count == 1 ? "1 byte" : "4 KiB";
        const struct {
            const char* name;
            std::uint32_t position;
        } places[] = {{"start", 0}, {"middle", doc.size() / 2}, {"end", doc.size()}};
        for (const auto& place : places) {
            const std::string at = std::string(" at the ") + place.name;
            edit_and_undo("insert " + n + at, [&] { doc.insert_bytes(place.position, count); });
            const std::uint32_t from = std::min(place.position, doc.size() - count);
            edit_and_undo("delete " + n + at, [&] { doc.delete_bytes(from, count); });
        }
    }
    // A value changed in place, the edit the data page makes most.
    for (const std::uint32_t position : {0u, doc.size() / 2, doc.size() - 4}) {
        const std::string at = position == 0 ? "start" : position == doc.size() - 4 ? "end" : "middle";
        edit_and_undo("replace 4 bytes at the " + at,
                      [&] { doc.change_value(doc.node_at(position), 4, 0x12345678, std::nullopt); });
    }
    print("analysis after an edit (not in the edits' figures), slowest, " + what, ms(worst_analysis));
    return 0;
}

// Expands `container` and returns the child that `pick` chooses from its children
// (itself when it has none).
Component* expand_and_pick(Component* container, int (*pick)(int count), double& seconds)
{
    seconds = timed([&] { container->expand(); });
    const int count = container->child_count();
    return count ? container->child(pick(count)) : container;
}

int records_case(std::size_t records)
{
    const std::string path = "/tmp/kestrix-store-bench-records.bin";
    Data_mgr& doc = Data_mgr::instance();
    const std::size_t size = records_layout::load_records(doc, path, records);
    const double analysis = timed([&] { doc.analyze(); });
    const std::string what = size_text(size) + " of records";
    print("analysis, " + what + ": MB/s", format("%.0f", static_cast<double>(size) / 1e6 / analysis));

    // The loop's table holds groups "[first - last]" of groups of records at this
    // size; each expansion below is one replay of the walk from a checkpoint.
    Component* table = doc.root_component()->child(doc.root_component()->child_count() - 1);
    double seconds = timed([&] { table->expand(); });
    print("expand the loop's table, " + what, ms(seconds));
    const struct {
        const char* name;
        int (*pick)(int);
    } places[] = {{"start", [](int) { return 0; }},
                  {"middle", [](int count) { return count / 2; }},
                  {"end", [](int count) { return count - 1; }}};
    for (const auto& place : places) {
        const std::string at = std::string(" at the ") + place.name + ", " + what;
        Component* group = table->child(place.pick(table->child_count()));
        Component* sub_group = expand_and_pick(group, place.pick, seconds);
        print("expand a group" + at, ms(seconds));
        Component* record = expand_and_pick(sub_group, place.pick, seconds);
        print("expand a sub-group" + at, ms(seconds));
        expand_and_pick(record, place.pick, seconds);
        print("expand a record" + at, ms(seconds));
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string which = argc > 1 ? argv[1] : "";
    try {
        if (which == "open" && argc == 3)
            return open_case(argv[2]);
        if (which == "edit" && argc == 3)
            return edit_case(argv[2]);
        if (which == "records" && argc <= 3)
            return records_case(argc == 3 ? std::strtoul(argv[2], nullptr, 10) : 8388608);
    } catch (const Exception& e) {
        std::fprintf(stderr, "store_bench: %s\n", e.display_text().c_str());
        return 1;
    }
    std::fprintf(stderr, "usage: store_bench open FILE | edit FILE | records [N]\n");
    return 2;
}
