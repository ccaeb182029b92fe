// Branches, loops and variable assignments.
#include <algorithm>
#include <vector>

#include "engine/expression.h"
#include "engine/walk.h"
#include "model/cmp_table.h"
#include "model/def_container.h"
#include "model/def_if.h"
#include "model/def_set_variable.h"
#include "model/walk_bounds.h"
#include "toolkit/text/number_text.h"

namespace {

// Walks `items` in order, stepping the progress after each.
Data_node* walk_items(Item_span items, Data_node* cur, Component* parent, Data_node* stop)
{
    for (Define* item : items) {
        cur = item->analyze(cur, parent, stop);
        walk::step_progress(cur);
    }
    return cur;
}

Bcl_str label(std::uint64_t index) { return Bcl_str(index_label(index)); }
Bcl_str label(std::uint64_t first, std::uint64_t last) { return Bcl_str(range_label(first, last)); }

const Variable_table& variables() { return walk_context().tables().variables; }
Walk_bounds& bounds() { return walk_context().tables().bounds; }

// Runs a While loop's iterations without components, the counting walk. The
// condition is evaluated before every iteration, after the previous one bound its
// variables. The iteration that consumed nothing is counted and ends the loop; at
// the end of the data too, the first iteration runs (as for a For loop). `count`
// (iterations begun) lives in the caller: a shortage leaves it there, and a walk of
// the same loop nested inside an iteration (a definition set that refers to itself)
// keeps its own count instead of overwriting the item's last_count. `watcher`, when
// given, is told of every point between iterations (`point` says the rest).
Data_node* count_iterations(Def_while& loop, Data_node* cur, Data_node* stop, std::uint32_t& count,
                            walk::Loop_watcher* watcher = nullptr, walk::Loop_point point = walk::Loop_point())
{
    bool consumed = true;
    while (consumed) {
        if (watcher) {
            point.cur = cur;
            point.done = count;
            watcher->between_iterations(point);
        }
        if (!evaluate_condition(loop.condition().view(), variables(), walk::place_at(cur)))
            break;
        ++count;
        Data_node* next = loop.analyze_once(cur, nullptr, stop);
        walk::step_progress(next);
        consumed = next != cur;
        cur = next;
    }
    return cur;
}

} // namespace

Data_node* Def_if::analyze(Data_node* cur, Component* parent, Data_node* stop)
{
    const bool then_branch = evaluate_condition(condition().view(), variables(), walk::place_at(cur));
    const Walk_bounds::Level level(bounds());
    return walk_items(children(then_branch), cur, parent, stop);
}

Data_node* Def_set_variable::analyze(Data_node* cur, Component*, Data_node*)
{
    Variable_table& table = walk_context().tables().variables;
    table.set(variable(), evaluate_value(value().view(), table, walk::place_at(cur)));
    return cur;
}

// ---- For ----

Data_node* Def_for::analyze_once(Data_node* cur, Component* parent, Data_node* stop)
{
    walk::check_entry(*this, true, cur, stop);
    const Walk_bounds::Level level(bounds());
    return walk_items(children(), cur, parent, stop);
}

Data_node* Def_for::analyze(Data_node* cur, Component* parent, Data_node* stop)
{
    return walk::for_loop(*this, cur, parent, stop, nullptr, nullptr);
}

namespace {

// Iterations point.done, point.done + 1, ... of a For loop of point.count without
// components. An iteration that consumes nothing would repeat itself forever, so it
// ends the loop. At the end of the data the first iteration still runs: it meets
// the data shortage or reads nothing, as in the report and in the table's expansion.
Data_node* for_iterations(Def_for& loop, walk::Loop_point point, Data_node* stop, walk::Loop_watcher* watcher)
{
    Data_node* cur = point.cur;
    const auto n = static_cast<std::uint64_t>(std::max<std::int64_t>(point.count, 0));
    for (std::uint64_t i = point.done; i < n; ++i) {
        if (watcher) {
            point.cur = cur;
            point.done = i;
            watcher->between_iterations(point);
        }
        Data_node* next = loop.analyze_once(cur, nullptr, stop);
        walk::step_progress(next);
        const bool consumed = next != cur;
        cur = next;
        if (!consumed)
            break;
    }
    return cur;
}

// Expands iterations [first, end) of `loop` under `parent`: one record each when
// `child_span` is 1, else groups of `child_span` iterations, each a table that
// gets `table_group` back when it is expanded in turn. At the end of the data too
// the record or group is made at the current byte: its iteration then meets the
// data shortage or reads nothing. An iteration that consumes nothing ends the
// loop, as in its analysis.
Data_node* expand_iterations(Define& loop, Data_node* cur, Component* parent, Data_node* stop, std::uint64_t first,
                             std::uint64_t end, std::uint64_t child_span, unsigned table_group)
{
    Component* current = nullptr;
    walk::Loop_shortcut shortcut(loop);
    for (std::uint64_t i = first; i < end; ++i) {
        if (child_span == 1) {
            current = parent->add_child(std::make_unique<Cmp_rec>(&loop, label(i), cur));
        } else {
            if (i % child_span == 0 || !current) {
                const std::uint64_t last = std::min(i + child_span, end);
                current = parent->add_child(std::make_unique<Cmp_tbl>(&loop, label(i, last - 1), cur,
                                                                      static_cast<unsigned>(i),
                                                                      static_cast<unsigned>(last), table_group));
            }
            // Inside a group only its last iteration matters: it sets the group's end,
            // which is where the next group starts.
            const std::uint64_t group_end = std::min((i / child_span + 1) * child_span, end);
            if (!stop && shortcut.jump(cur, group_end)) {
                current->set_end(cur);
                walk::step_progress(cur);
                i = group_end - 1;
                continue;
            }
            if (!stop && group_end >= i + 3)
                shortcut.skip(i, cur, group_end - 2);
            shortcut.catch_up(i);
        }
        Data_node* next = loop.analyze_once(cur, nullptr, stop);
        walk::step_progress(next);
        const bool consumed = next != cur;
        cur = next;
        if (i % child_span == child_span - 1 || i == end - 1 || !consumed)
            current->set_end(cur);
        if (!consumed)
            return cur;
    }
    shortcut.catch_up(end);
    return cur;
}

// Iterations 0 to n - 1 of `loop` walked for `watcher`: before each, the groups
// that begin there and its record, as the expansions of the loop's table make them
// (groups of group_size_for(n) iterations, inside them groups one table's worth
// smaller, down to records). An iteration that consumes nothing ends the loop.
Data_node* watched_iterations(Define& loop, Data_node* cur, Data_node* stop, std::uint64_t n, Walk_watcher& watcher)
{
    std::vector<std::uint64_t> spans;
    for (std::uint64_t span = walk::group_size_for(n, 1); span > 1; span = walk::inner_group_size(static_cast<unsigned>(span)))
        spans.push_back(span);
    // The open groups, outermost first: a container lives until it is left (null
    // for a group entered without being made).
    const bool labels = watcher.wants_labels();
    std::vector<std::unique_ptr<Cmp_tbl>> open;
    const auto close_to = [&](std::size_t level) {
        for (; open.size() > level; open.pop_back())
            watcher.left();
    };
    for (std::uint64_t i = 0; i < n; ++i) {
        std::size_t level = 0;
        while (level < spans.size() && i % spans[level] != 0)
            ++level;
        close_to(level);
        while (open.size() < spans.size()) {
            const std::uint64_t span = spans[open.size()];
            const std::uint64_t last = std::min(i + span, n);
            if (!labels) {
                open.push_back(nullptr);
                watcher.entered_iterations(i, last - 1, false);
                continue;
            }
            open.push_back(std::make_unique<Cmp_tbl>(&loop, label(i, last - 1), cur, static_cast<unsigned>(i),
                                                     static_cast<unsigned>(last), static_cast<unsigned>(span)));
            watcher.entered(*open.back());
        }
        Data_node* next;
        if (labels) {
            Cmp_rec record(&loop, label(i), cur);
            watcher.entered(record);
            next = loop.analyze_once(cur, nullptr, stop);
        } else {
            watcher.entered_iterations(i, i, true);
            next = loop.analyze_once(cur, nullptr, stop);
        }
        walk::step_progress(next);
        watcher.left();
        const bool consumed = next != cur;
        cur = next;
        if (!consumed)
            break;
    }
    close_to(0);
    return cur;
}

// A loop's table and its iterations walked for `watcher`.
Data_node* watched_table(Define& loop, Data_node* cur, Data_node* stop, std::uint64_t n, Walk_watcher& watcher)
{
    Cmp_tbl table(&loop, loop.name(), cur, 0, static_cast<unsigned>(n), 0);
    watcher.entered(table);
    cur = watched_iterations(loop, cur, stop, n, watcher);
    watcher.left();
    return cur;
}

// A While loop walked for `watcher`: its table is made from its count, so the loop
// is counted first without the watcher, then walked again from the same tables for
// it, exactly that many iterations, as the table's expansion walks them.
Data_node* watched_while(Def_while& loop, Data_node* cur, Data_node* stop, Walk_watcher& watcher)
{
    Walk_context& walk = walk_context();
    const Walk_tables before = walk.tables();
    std::uint32_t count = 0;
    walk.set_watcher(nullptr);
    try {
        count_iterations(loop, cur, stop, count);
    } catch (const Data_shortage&) {
        // The walk for the watcher meets it again in the last iteration counted.
    }
    walk.set_watcher(&watcher);
    loop.set_last_count(static_cast<int>(count));
    walk.tables() = before;
    return watched_table(loop, cur, stop, count, watcher);
}

} // namespace

Data_node* walk::for_loop(Def_for& loop, Data_node* cur, Component* parent, Data_node* stop, const Loop_point* resume,
                          Loop_watcher* watcher)
{
    Loop_point point;
    if (resume) {
        point = *resume;
    } else {
        check_entry(loop, false, cur, stop);
        point.count = evaluate_count(loop.count().view(), variables(), place_at(cur));
        if (point.count <= 0)
            return cur;
        if (Walk_watcher* watcher = watcher_of(parent))
            return watched_table(loop, cur, stop, static_cast<std::uint64_t>(point.count), *watcher);
        point.cur = cur;
        point.loop_start = cur;
        if (parent) {
            point.table = parent->add_child(std::make_unique<Cmp_tbl>(&loop, loop.name(), cur, 0, 0, 0));
        }
    }
    Data_node* next = for_iterations(loop, point, stop, watcher);
    step_progress(next);
    if (point.table)
        point.table->set_end(next);
    return next;
}

Data_node* Def_for::analyze_range(Data_node* cur, Component* parent, Data_node* stop, unsigned from, unsigned to,
                                  unsigned group)
{
    if (!parent) {
        walk::Loop_point point;
        point.cur = cur;
        point.count = evaluate_count(count().view(), variables(), walk::place_at(cur));
        return for_iterations(*this, point, stop, nullptr);
    }

    // Expanding a table: the loop's own (group 0) or a group of it. `group` is the
    // number of iterations the table spans; its children span one table's worth fewer.
    std::uint64_t total;
    std::uint64_t first;
    std::uint64_t child_span;
    if (group == 0) {
        const std::int64_t n = evaluate_count(count().view(), variables(), walk::place_at(cur));
        if (n <= 0)
            return cur;
        total = static_cast<std::uint64_t>(n);
        child_span = walk::group_size_for(total, 1);
        first = 0;
    } else {
        total = to;
        child_span = walk::inner_group_size(group);
        first = from;
    }
    return expand_iterations(*this, cur, parent, stop, first, total, child_span, static_cast<unsigned>(child_span));
}

// ---- While ----

Data_node* Def_while::analyze_once(Data_node* cur, Component* parent, Data_node* stop)
{
    walk::check_entry(*this, true, cur, stop);
    const Walk_bounds::Level level(bounds());
    return walk_items(children(), cur, parent, stop);
}

Data_node* Def_while::analyze(Data_node* cur, Component* parent, Data_node* stop)
{
    return walk::while_loop(*this, cur, parent, stop, nullptr, nullptr);
}

Data_node* walk::while_loop(Def_while& loop, Data_node* cur, Component* parent, Data_node* stop,
                            const Loop_point* resume, Loop_watcher* watcher)
{
    Loop_point point;
    if (resume) {
        point = *resume;
    } else {
        check_entry(loop, false, cur, stop);
        if (!evaluate_condition(loop.condition().view(), variables(), place_at(cur)))
            return cur;
        if (Walk_watcher* watcher = watcher_of(parent))
            return watched_while(loop, cur, stop, *watcher);
        // The table is made after counting, from the count; a shortage while
        // counting still leaves it (without an end) with the iterations counted so
        // far. Its expansion walks from the bounds in force before the count.
        point.cur = cur;
        point.loop_start = cur;
        point.loop_bounds = bounds().now(walk_context().position_of(cur));
    }
    auto count = static_cast<std::uint32_t>(point.done);
    const auto add_table = [&]() -> Cmp_tbl* {
        loop.set_last_count(static_cast<int>(count));
        if (!parent)
            return nullptr;
        auto* table = parent->add_child(
            std::make_unique<Cmp_tbl>(&loop, loop.name(), point.loop_start, 0, count, group_size_for(count, 1)));
        table->set_walk_bounds(point.loop_bounds);
        return table;
    };
    Data_node* next;
    try {
        next = count_iterations(loop, point.cur, stop, count, watcher, point);
    } catch (const Data_shortage&) {
        add_table();
        throw;
    } catch (const Operation_stopped&) {
        // A stopped analysis shows the iterations counted so far, as a shortage does.
        add_table();
        throw;
    }
    Cmp_tbl* table = add_table();
    step_progress(next);
    if (table)
        table->set_end(next);
    return next;
}

Data_node* Def_while::analyze_range(Data_node* cur, Component* parent, Data_node* stop, unsigned from, unsigned to,
                                    unsigned group)
{
    if (group == 0) {
        // Counting, as the loop's analysis does.
        std::uint32_t count = 0;
        cur = count_iterations(*this, cur, stop, count);
        set_last_count(static_cast<int>(count));
        return cur;
    }

    // Expanding: exactly to − from iterations, the condition is not evaluated (the
    // count ended at the first iteration that consumed nothing). `group` is the
    // size of each child (1: records).
    if (!parent) {
        for (std::uint64_t i = from; i < to; ++i) {
            cur = analyze_once(cur, nullptr, stop);
            walk::step_progress(cur);
        }
        return cur;
    }
    return expand_iterations(*this, cur, parent, stop, from, to, group, walk::inner_group_size(group));
}
