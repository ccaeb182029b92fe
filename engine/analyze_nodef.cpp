// The undefined remainder: the bytes after the last top-level item, shown as
// "未定義[first - last]" tables of limits::max_table_entries bytes, grouped by powers
// of that number.
#include <algorithm>

#include "engine/walk.h"
#include "model/cmp_nodef.h"
#include "model/cmp_table.h"
#include "model/def_nodef.h"
#include "toolkit/text/number_text.h"
#include "toolkit/text/texts.h"

namespace {

Bcl_str undefined_label(std::uint64_t first, std::uint64_t last)
{
    return texts::undefined() + range_label(first, last);
}

// Bytes [from, to) of the remainder walked for `watcher` as the expansions of their
// table (of `group` bytes a child) make them: smaller tables, down to the bytes.
Data_node* watch_range(Def_nodef& item, Data_node* cur, std::uint64_t from, std::uint64_t to, std::uint64_t group,
                       Walk_watcher& watcher)
{
    const std::uint64_t span = walk::inner_group_size(static_cast<unsigned>(group));
    for (std::uint64_t i = from; i < to && cur; i += span) {
        walk::step_progress(cur);
        if (span == 1) {
            Cmp_nodef byte(static_cast<std::uint32_t>(i), cur);
            cur = cur->next();
            byte.set_end(cur);
            watcher.made(byte);
        } else {
            const std::uint64_t last = std::min(i + span, to);
            Cmp_tbl table(&item, undefined_label(i, last - 1), cur, static_cast<unsigned>(i),
                          static_cast<unsigned>(last), static_cast<unsigned>(span));
            watcher.entered(table);
            cur = watch_range(item, cur, i, last, span, watcher);
            watcher.left();
        }
    }
    return cur;
}

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
            cur = watch_range(*this, cur, first, last, span, *watcher);
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
    if (!parent) {
        // Skipping needs no grouping: step over the bytes, stopping at `stop`.
        std::uint64_t n = from < to ? to - from : 0;
        if (!stop) {
            cur = walk_context().node_after(cur, n);
        } else {
            for (; n > 0 && cur && cur != stop; --n)
                cur = cur->next();
        }
        walk::step_progress(cur);
        return cur;
    }
    const std::uint64_t span = walk::inner_group_size(group);
    const std::uint64_t end = to;
    for (std::uint64_t i = from; i < end && cur && cur != stop; i += span) {
        walk::step_progress(cur);
        if (span == 1) {
            auto* byte = parent->add_child(std::make_unique<Cmp_nodef>(static_cast<std::uint32_t>(i), cur));
            cur = cur->next();
            byte->set_end(cur);
        } else {
            const std::uint64_t last = std::min(i + span, end);
            auto* table = parent->add_child(std::make_unique<Cmp_tbl>(
                this, undefined_label(i, last - 1), cur, static_cast<unsigned>(i), static_cast<unsigned>(last),
                static_cast<unsigned>(span)));
            cur = analyze_range(cur, nullptr, stop, static_cast<unsigned>(i), static_cast<unsigned>(last),
                                static_cast<unsigned>(span));
            table->set_end(cur);
        }
    }
    return cur;
}
