// Analyses a large file of records and prints time and memory figures: the data
// load, the analysis (MB/s and the heap it takes beyond the data), and the lazy
// expansions down to a record near the end, each of which replays the walk from
// the last checkpoint before it, and a value change near the end with its analysis.
//
// Usage: analysis_bench [records] [--while]
//   records   default 8388608: about 64 MiB of data
//   --while   the records as a While loop that counts them in a variable
//
// The layout: see records_layout.h.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <new>
#include <string>

#include "document/data_mgr.h"
#include "model/component.h"
#include "model/items.h"
#include "records_layout.h"
#include "toolkit/memory/mapped_memory.h"
#include "bench_timing.h"

// ---- heap accounting: every operator new of the process is counted ----

namespace {

using bench::seconds_since;
using bench::timed;

std::size_t heap_now = 0;
std::size_t heap_calls = 0;
// The largest rise of the heap over its lowest point before it: what an operation
// builds up, even when it first frees an older structure of the same size.
std::size_t heap_low = 0;
std::size_t heap_rise = 0;

// The block size is kept in a header in front of each block so that delete can
// subtract it; 16 bytes keep the block aligned for any fundamental type.
constexpr std::size_t header = 16;

void* counted_alloc(std::size_t size)
{
    void* block = std::malloc(size + header);
    if (!block)
        throw std::bad_alloc();
    *static_cast<std::size_t*>(block) = size;
    heap_now += size;
    ++heap_calls;
    if (heap_now - heap_low > heap_rise)
        heap_rise = heap_now - heap_low;
    return static_cast<char*>(block) + header;
}

void counted_free(void* p) noexcept
{
    if (!p)
        return;
    void* block = static_cast<char*>(p) - header;
    heap_now -= *static_cast<std::size_t*>(block);
    if (heap_now < heap_low)
        heap_low = heap_now;
    std::free(block);
}

} // namespace

void* operator new(std::size_t size) { return counted_alloc(size); }
void* operator new[](std::size_t size) { return counted_alloc(size); }
void operator delete(void* p) noexcept { counted_free(p); }
void operator delete[](void* p) noexcept { counted_free(p); }
void operator delete(void* p, std::size_t) noexcept { counted_free(p); }
void operator delete[](void* p, std::size_t) noexcept { counted_free(p); }

namespace {

// Expands `component` and returns its last child.
Component* expand_last(Component* component, double& seconds)
{
    seconds = timed([&] { component->expand(); });
    return component->child_count() ? component->child(component->child_count() - 1) : component;
}

} // namespace

int main(int argc, char** argv)
{
    std::size_t records = 8388608;
    bool as_while = false;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--while")
            as_while = true;
        else
            records = std::strtoul(argv[i], nullptr, 10);
    }
    const std::string path = "/tmp/kestrix-analysis-bench.bin";
    const std::size_t size = records_layout::write_records(path, records);
    const double mb = static_cast<double>(size) / 1e6;

    Data_mgr& doc = Data_mgr::instance();
    const double load = timed([&] { doc.load_data(File_path(path)); });
    std::remove(path.c_str());

    if (as_while)
        records_layout::define_while_records(doc, records);
    else
        records_layout::define_records(doc, records);
    // The first run replaces the tree of the load (undefined blocks only); the
    // second, measured for memory, replaces a tree of the same shape as its own.
    const double first_analyse = timed([&] { doc.analyze(); });
    const std::size_t base = heap_now;
    const std::size_t calls_before = heap_calls;
    heap_low = heap_now;
    heap_rise = 0;
    const double analyse = timed([&] { doc.analyze(); });
    const std::size_t analysis_peak = heap_rise;
    const std::size_t analysis_calls = heap_calls - calls_before;
    const auto kept = static_cast<long long>(heap_now) - static_cast<long long>(base);
    Component* root = doc.root_component();

    double expand_table = 0, expand_group = 0, expand_records = 0, expand_record = 0;
    Component* table = root->child(root->child_count() - 1);
    // The loop's table holds records (up to 1024 of them), groups of records (up to
    // a million) or groups of groups: descend through the groups, named
    // "[first - last]", to the last record.
    auto is_group = [](Component* c) { return c->name().view().find(" - ") != std::string_view::npos; };
    Component* record = expand_last(table, expand_table);
    Component* group = table;
    Component* sub_group = table;
    if (is_group(record)) {
        group = sub_group = record;
        record = expand_last(record, expand_group);
    }
    if (is_group(record)) {
        sub_group = record;
        record = expand_last(record, expand_records);
    }
    expand_last(record, expand_record);

    // The change below drops what the expansions made: count it first.
    const int table_children = table->child_count();
    const int group_children = group->child_count();
    const int sub_group_children = sub_group->child_count();
    const int record_children = record->child_count();
    const std::string record_name = record->name().to_utf8();

    // A value change near the end, analysed again from the last checkpoint before
    // it; then its undo (which analyses again the same way).
    Component* last_value = record->child(0);
    const double change = timed([&] {
        doc.change_value(last_value->start(), 2, 4660, -1);
        doc.analyze_changed_data();
    });
    const double undo = timed([&] { doc.undo_data(); });
    const Walk_checkpoints& checkpoints = doc.checkpoints();
    const double checkpoint_bytes_per_mib =
        static_cast<double>(checkpoints.memory_bytes()) / (static_cast<double>(size) / 1048576.0);

    // What the system takes to hand out as much fresh memory as the nodes: the
    // floor under load_data, which writes every node once. Twice: under a hypervisor
    // that backs the machine's memory on first touch, the first mapping can cost far
    // more than the second, which gets pages the system has handed out before.
    const auto fresh_nodes = [&] { mapped_memory::Buffer nodes(size * sizeof(Data_node)); };
    const double fresh_memory = timed(fresh_nodes);
    const double fresh_memory_again = timed(fresh_nodes);

    std::printf("records                          %zu%s\n", records, as_while ? " (While loop)" : "");
    std::printf("data size                        %zu bytes (%.1f MiB)\n", size, static_cast<double>(size) / 1048576.0);
    std::printf("load_data (empty definition)     %.3f s  (%.0f MB/s)\n", load, mb / load);
    std::printf("  fresh memory for the nodes     %.3f s  (%zu MiB in huge pages, faulted in at once)\n", fresh_memory,
                size * sizeof(Data_node) >> 20);
    std::printf("  the same again                 %.3f s  (after handing it back)\n", fresh_memory_again);
    std::printf("analyze                          %.3f s  (%.0f MB/s)\n", first_analyse, mb / first_analyse);
    std::printf("analyze again                    %.3f s  (%.0f MB/s)\n", analyse, mb / analyse);
    std::printf("  heap built up (beyond data)    %zu bytes\n", analysis_peak);
    std::printf("  heap kept (new tree - old)     %lld bytes\n", kept);
    std::printf("  operator new calls             %zu\n", analysis_calls);
    std::printf("  components at the top level    %d\n", root->child_count());
    std::printf("  checkpoints                    %zu and %zu marks, %.0f bytes per MiB of data\n",
                checkpoints.points().size(), checkpoints.marks().size(), checkpoint_bytes_per_mib);
    std::printf("expand the loop's table          %.3f s  (%d children)\n", expand_table, table_children);
    std::printf("expand its last group            %.3f s  (%d children)\n", expand_group, group_children);
    std::printf("expand the last 1024 records     %.3f s  (%d children, last %s)\n", expand_records,
                sub_group_children, record_name.c_str());
    std::printf("expand the last record           %.3f s  (%d children)\n", expand_record, record_children);
    std::printf("change a value near the end      %.3f s  (with its analysis)\n", change);
    std::printf("undo it                          %.3f s  (with its analysis)\n", undo);
    return 0;
}
