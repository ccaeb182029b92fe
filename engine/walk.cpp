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
    Data_node* next;
    if (Walk_watcher* watcher = watcher_of(parent)) {
        // The table's children, as its expansion makes them, are those of the range
        // walk: the watcher sees them there.
        Cmp_tbl watched(&item, item.name(), cur, 0, 0, 0);
        Watched_container container(watcher, watched);
        next = item.analyze_range(cur, nullptr, stop, 0, 0, 0);
        container.leave();
    } else {
        next = item.analyze_range(cur, nullptr, stop, 0, 0, 0);
    }
    step_progress(next);
    if (table)
        table->set_end(next);
    return next;
}

Loop_shortcut::Loop_shortcut(Define& loop) : loop_(loop)
{
    // Only the top-level walk takes checkpoints and marks, and a top-level loop is
    // walked nowhere else: its points and its marks lie together, in iteration order.
    if (loop.parent())
        return;
    const Walk_checkpoints& checkpoints = walk_context().checkpoints();
    const auto of_loop = [&loop](const Walk_checkpoint& point) { return point.in_loop && point.loop == &loop; };
    const std::vector<Walk_checkpoint>& points = checkpoints.points();
    const auto first = std::find_if(points.begin(), points.end(), of_loop);
    const auto end = std::find_if_not(first, points.end(), of_loop);
    first_ = points.data() + (first - points.begin());
    end_ = points.data() + (end - points.begin());
    const auto marks_of_loop = [&loop](const Walk_mark& mark) { return mark.loop == &loop; };
    const std::vector<Walk_mark>& marks = checkpoints.marks();
    const auto first_mark = std::find_if(marks.begin(), marks.end(), marks_of_loop);
    const auto end_mark = std::find_if_not(first_mark, marks.end(), marks_of_loop);
    first_mark_ = marks.data() + (first_mark - marks.begin());
    end_mark_ = marks.data() + (end_mark - marks.begin());
}

void Loop_shortcut::skip(std::uint64_t& i, Data_node*& cur, std::uint64_t limit)
{
    if (first_ == end_ || !cur)
        return;
    Walk_tables& tables = walk_context().tables();
    if (!same_walk_) {
        const Walk_checkpoint* at =
            std::lower_bound(first_, end_, i, [](const Walk_checkpoint& p, std::uint64_t n) { return p.done < n; });
        if (at == end_ || at->done != i || at->cur != cur || !tables.same_ahead(at->tables, cur->position()))
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
    tables_behind_ = false;
}

bool Loop_shortcut::jump(Data_node*& cur, std::uint64_t target)
{
    if (!same_walk_)
        return false;
    const Walk_mark* at =
        std::lower_bound(first_mark_, end_mark_, target, [](const Walk_mark& m, std::uint64_t n) { return m.done < n; });
    if (at == end_mark_ || at->done != target)
        return false;
    cur = at->cur;
    tables_behind_ = true;
    return true;
}

void Loop_shortcut::catch_up(std::uint64_t i)
{
    if (!tables_behind_)
        return;
    tables_behind_ = false;
    // The walk was seen to be the analysis's at a checkpoint up to `i`, so there
    // is one; the analysis went from it to iteration `i` without a stop.
    const Walk_checkpoint* after =
        std::upper_bound(first_, end_, i, [](std::uint64_t n, const Walk_checkpoint& p) { return n < p.done; });
    const Walk_checkpoint& point = *(after - 1);
    walk_context().tables() = point.tables;
    Data_node* cur = point.cur;
    for (std::uint64_t done = point.done; done < i; ++done)
        cur = loop_.analyze_once(cur, nullptr, nullptr);
}

} // namespace walk
