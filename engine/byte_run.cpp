#include "engine/byte_run.h"

#include <algorithm>
#include <memory>

#include "engine/walk.h"
#include "model/cmp_nodef.h"
#include "model/cmp_table.h"
#include "toolkit/text/number_text.h"

namespace walk {

namespace {

Bcl_str range_name(const Byte_run& run, std::uint64_t first, std::uint64_t last)
{
    return run.prefix + range_label(first, last);
}

} // namespace

std::uint64_t Byte_run::entry_size(std::uint64_t group) const
{
    return group_is_entry_size ? std::max<std::uint64_t>(group, 1) : inner_group_size(static_cast<unsigned>(group));
}

unsigned Byte_run::group_of(std::uint64_t size) const
{
    return group_is_entry_size ? inner_group_size(static_cast<unsigned>(size)) : static_cast<unsigned>(size);
}

Data_node* byte_entries(const Byte_run& run, Data_node* cur, Component* parent, Data_node* stop, std::uint64_t from,
                        std::uint64_t to, std::uint64_t span)
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
        step_progress(cur);
        return cur;
    }
    for (std::uint64_t i = from; i < to && cur && cur != stop; i += span) {
        step_progress(cur);
        if (span == 1) {
            auto* byte = parent->add_child(std::make_unique<Cmp_nodef>(static_cast<std::uint32_t>(i), cur));
            cur = cur->next();
            byte->set_end(cur);
        } else {
            const std::uint64_t last = std::min(i + span, to);
            auto* table = parent->add_child(std::make_unique<Cmp_tbl>(&run.item, range_name(run, i, last - 1), cur,
                                                                      static_cast<unsigned>(i),
                                                                      static_cast<unsigned>(last), run.group_of(span)));
            cur = byte_entries(run, cur, nullptr, stop, i, last, span);
            table->set_end(cur);
        }
    }
    return cur;
}

Data_node* watch_byte_entries(const Byte_run& run, Data_node* cur, std::uint64_t from, std::uint64_t to,
                              std::uint64_t span, Walk_watcher& watcher)
{
    for (std::uint64_t i = from; i < to && cur; i += span) {
        step_progress(cur);
        if (span == 1) {
            Cmp_nodef byte(static_cast<std::uint32_t>(i), cur);
            cur = cur->next();
            byte.set_end(cur);
            watcher.made(byte);
        } else {
            const std::uint64_t last = std::min(i + span, to);
            Cmp_tbl table(&run.item, range_name(run, i, last - 1), cur, static_cast<unsigned>(i),
                          static_cast<unsigned>(last), run.group_of(span));
            watcher.entered(table);
            cur = watch_byte_entries(run, cur, i, last, inner_group_size(static_cast<unsigned>(span)), watcher);
            watcher.left();
        }
    }
    return cur;
}

} // namespace walk
