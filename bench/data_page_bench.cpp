// What the data page does on a large file, timed without a window: opening it (the
// analysis and the root's rows), selecting the loop's table, its last group and its
// last record (one expansion each, every one a replay of the walk up to it), and a
// value change near the end with the analysis after it; also a string changed in
// place near the end, which walks the component tree instead.
//
// Usage: data_page_bench [records]   (default 8388608: about 64 MiB of data)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "document/data_mgr.h"
#include "model/component.h"
#include "records_layout.h"
#include "ui/core/cmp_edit_visitor.h"
#include "bench_timing.h"

namespace {

using bench::timed;

// Confirms every change dialog with a fixed answer.
class Fixed_answers final : public Change_asker {
public:
    std::optional<std::int64_t> ask_value(std::int64_t, const Change_limits&) override { return 1234; }
    std::optional<double> ask_number(std::string_view, int) override { return 0.5; }
    std::optional<std::string> ask_text(std::string_view, std::uint32_t, Text_encoding) override { return std::string("xyz"); }
    void show_in_place(Component&, bool) override {}
};

// The rows of a container as the data list shows them.
std::size_t list_rows(const Component& container)
{
    std::size_t length = 0;
    for (int i = 0; i < container.child_count(); ++i)
        length += container.child(i)->name().size() + container.child(i)->value_text().size();
    return length;
}

// Selects the last child of `component`, expanding it as the tree does.
Component* select_last(Component* component, double& seconds)
{
    seconds = timed([&] {
        if (component->child_count() == 0)
            component->expand();
        list_rows(*component);
    });
    return component->child_count() ? component->child(component->child_count() - 1) : component;
}

bool is_group(const Component* c) { return c->name().view().find(" - ") != std::string_view::npos; }

// Goes from the loop's table down to its last record.
Component* last_record(Component* table, double& table_s, double& groups_s)
{
    Component* record = select_last(table, table_s);
    groups_s = 0;
    while (is_group(record)) {
        double s = 0;
        record = select_last(record, s);
        groups_s += s;
    }
    return record;
}

} // namespace

int main(int argc, char** argv)
{
    const std::size_t records = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 8388608;
    const std::string path = "/tmp/kestrix-data-page-bench.bin";
    const std::size_t size = records_layout::write_records(path, records);
    Data_mgr& doc = Data_mgr::instance();
    const double load = timed([&] { doc.load_data(File_path(path)); });
    std::remove(path.c_str());
    records_layout::define_records(doc, records);
    const double open = timed([&] {
        doc.analyze();
        list_rows(*doc.root_component());
    });

    double table_s = 0, groups_s = 0, record_s = 0;
    Component* record = last_record(doc.root_component()->child(0), table_s, groups_s);
    select_last(record, record_s);

    // The last record's first value: one change, then the analysis of the whole data.
    Fixed_answers answers;
    double change = 0, reanalyse = 0;
    change = timed([&] {
        Cmp_edit_visitor edit(answers, *doc.root_component());
        record->child(0)->accept(edit);
    });
    reanalyse = timed([&] { doc.analyze(); });

    // The string of the record before the last, changed in place.
    double table2 = 0, groups2 = 0, in_place = 0;
    Component* table = doc.root_component()->child(0);
    Component* last = last_record(table, table2, groups2);
    Component* parent = table;
    while (is_group(parent->child(parent->child_count() - 1)))
        parent = parent->child(parent->child_count() - 1);
    Component* before_last = parent->child_count() > 1 ? parent->child(parent->child_count() - 2) : last;
    if (before_last->child_count() == 0)
        before_last->expand();
    in_place = timed([&] {
        Cmp_edit_visitor edit(answers, *doc.root_component());
        before_last->child(2)->accept(edit);
    });

    std::printf("records                                 %zu\n", records);
    std::printf("data size                               %zu bytes (%.1f MiB)\n", size,
                static_cast<double>(size) / 1048576.0);
    std::printf("load the data (no definition)           %.3f s\n", load);
    std::printf("open the data page (analysis, root rows) %.3f s\n", open);
    std::printf("select the loop's table                 %.3f s\n", table_s);
    std::printf("select its last groups                  %.3f s\n", groups_s);
    std::printf("select the last record                  %.3f s\n", record_s);
    std::printf("change a value of the last record       %.3f s\n", change);
    std::printf("  analysis after it                     %.3f s\n", reanalyse);
    std::printf("change a string in place near the end   %.3f s\n", in_place);
    return 0;
}
