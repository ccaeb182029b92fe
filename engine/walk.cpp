#include "engine/walk.h"

#include <algorithm>

#include "model/cmp_table.h"

namespace walk {

Data_node* walk_as_table(Define& item, Data_node* cur, Component* parent, Data_node* stop)
{
    Cmp_tbl* table = nullptr;
    if (parent) {
        table = parent->add_child(std::make_unique<Cmp_tbl>(&item, item.name(), cur, 0, 0, 0));
    }
    Data_node* next = item.analyze_range(cur, nullptr, stop, 0, 0, 0);
    step_progress(next);
    if (table)
        table->set_end(next);
    return next;
}

Loop_shortcut::Loop_shortcut(const Define& loop)
{
    // Only the top-level walk takes checkpoints, and a top-level loop is walked
    // nowhere else: its points lie together, in iteration order.
    if (loop.parent())
        return;
    const std::vector<Walk_checkpoint>& points = walk_context().checkpoints().points();
    const auto of_loop = [&loop](const Walk_checkpoint& point) { return point.in_loop && point.loop == &loop; };
    const auto first = std::find_if(points.begin(), points.end(), of_loop);
    const auto end = std::find_if_not(first, points.end(), of_loop);
    first_ = points.data() + (first - points.begin());
    end_ = points.data() + (end - points.begin());
}

void Loop_shortcut::skip(std::uint64_t& i, Data_node*& cur, std::uint64_t limit)
{
    if (first_ == end_ || !cur)
        return;
    Walk_tables& tables = walk_context().tables();
    if (!same_walk_) {
        const Walk_checkpoint* at =
            std::lower_bound(first_, end_, i, [](const Walk_checkpoint& p, std::uint64_t n) { return p.done < n; });
        if (at == end_ || at->done != i || at->cur != cur || !tables.same_ahead(at->tables, cur->position))
            return;
        same_walk_ = true;
    }
    const Walk_checkpoint* after =
        std::upper_bound(first_, end_, limit, [](std::uint64_t n, const Walk_checkpoint& p) { return n < p.done; });
    if (after == first_ || (after - 1)->done <= i)
        return;
    const Walk_checkpoint& point = *(after - 1);
    i = point.done;
    cur = point.cur;
    tables = point.tables;
}

} // namespace walk
