// The undefined remainder: the bytes after the last top-level item, shown as
// "未定義[first - last]" tables of limits::max_table_entries bytes, grouped by powers
// of that number.
#include <algorithm>

#include "engine/byte_run.h"
#include "engine/walk.h"
#include "model/cmp_table.h"
#include "model/def_nodef.h"
#include "toolkit/text/number_text.h"
#include "toolkit/text/texts.h"

namespace {

Bcl_str undefined_label(std::uint64_t first, std::uint64_t last)
{
    return texts::undefined() + range_label(first, last);
}

walk::Byte_run undefined_run(Def_nodef& item) { return {item, texts::undefined(), false}; }

} // namespace

Data_node* Def_nodef::analyze(Data_node* cur, Component* parent, Data_node* stop)
{
    const Walk_context& walk = walk_context();
    const std::uint64_t rest = walk.data_size() - walk.position_of(cur);
    const std::uint64_t span = walk::group_size_for(rest, limits::max_table_entries);
    // The bound on `first` matters only when `stop` lies in the remainder: the range
    // walk then returns the stop byte, which must not start another round.
    for (std::uint64_t first = 0; cur && first < rest; first += span) {
        const std::uint64_t last = std::min(first + span, rest);
        Cmp_tbl* table = nullptr;
        if (parent) {
            table = parent->add_child(std::make_unique<Cmp_tbl>(
                this, undefined_label(first, last - 1), cur, static_cast<unsigned>(first), static_cast<unsigned>(last),
                static_cast<unsigned>(span)));
        } else if (Walk_watcher* watcher = walk::watcher_of(parent); watcher && !stop) {
            Cmp_tbl watched(this, undefined_label(first, last - 1), cur, static_cast<unsigned>(first),
                            static_cast<unsigned>(last), static_cast<unsigned>(span));
            watcher->entered(watched);
            const std::uint64_t entry = walk::inner_group_size(static_cast<unsigned>(span));
            cur = walk::watch_byte_entries(undefined_run(*this), cur, first, last, entry, *watcher);
            watcher->left();
            continue;
        }
        cur = analyze_range(cur, nullptr, stop, static_cast<unsigned>(first), static_cast<unsigned>(last),
                            static_cast<unsigned>(span));
        if (table)
            table->set_end(cur);
    }
    return nullptr;
}

Data_node* Def_nodef::analyze_range(Data_node* cur, Component* parent, Data_node* stop, unsigned from, unsigned to,
                                    unsigned group)
{
    const walk::Byte_run run = undefined_run(*this);
    return walk::byte_entries(run, cur, parent, stop, from, to, run.entry_size(group));
}
