#pragma once

// Helpers shared by the item walks of the analysis (not part of the public API).
// The walks take what they need from outside the items through walk_context().

#include <algorithm>
#include <cstdint>

#include "engine/expression.h"
#include "model/data_node.h"
#include "model/define.h"
#include "model/int_decoder.h"
#include "model/limits.h"
#include "model/walk_bounds.h"
#include "model/walk_context.h"
#include "toolkit/exception.h"
#include "toolkit/progress.h"

class Cmp_tbl;
class Def_for;
class Def_while;

namespace walk {

// Steps the progress bar to the position of `node` (nothing at the end of data).
inline void step_progress(const Data_node* node)
{
    if (node)
        reporter().step(node->position());
}

// Where the walk stands at `cur` (null: the end of the data), for the
// expressions' built-in names.
inline Expression_place place_at(const Data_node* cur)
{
    const Walk_context& walk = walk_context();
    return {cur, walk.data_size(), walk.builtins()};
}

// The stop of a replay to the end of the data. Components made there start at no
// node, and a replay given no node to stop at would walk on to the end of the
// definition, leaving the variables as the reads that fail there set them.
inline Data_node end_of_data_stop;

// The watcher of a walk that makes no components (`parent` null), if any.
inline Walk_watcher* watcher_of(const Component* parent)
{
    return parent ? nullptr : walk_context().watcher();
}

// A container told to the watcher for the length of a scope, its children walked
// inside it. Left only on a normal end: a data shortage or a stopped search ends
// the whole watched walk.
class Watched_container {
public:
    Watched_container(Walk_watcher* watcher, Component& container) : watcher_(watcher)
    {
        if (watcher_)
            watcher_->entered(container);
    }
    Watched_container(const Watched_container&) = delete;
    Watched_container& operator=(const Watched_container&) = delete;
    void leave()
    {
        if (watcher_)
            watcher_->left();
        watcher_ = nullptr;
    }

private:
    Walk_watcher* watcher_;
};

// Tells `watcher` of the component of the value item `item` that `make` returns,
// ending at `end`, or only counts it when the watcher cannot want it.
template <typename Make>
void offer_made(Walk_watcher& watcher, const Define& item, Make make, Data_node* end = nullptr)
{
    if (!watcher.wants(item)) {
        watcher.counted();
        return;
    }
    auto component = make();
    if (end)
        component.set_end(end);
    watcher.made(component);
}

// Whether the walk stands at the replay's stop byte.
inline bool at_stop(const Data_node* cur, const Data_node* stop)
{
    return stop && (cur == stop || (!cur && stop == &end_of_data_stop));
}

// A reading item entered at the replay's stop byte ends a replay that targets no
// item (see Replay_target).
inline void check_stop(const Data_node* cur, const Data_node* stop)
{
    if (at_stop(cur, stop) && !walk_context().replay_target().item)
        throw Data_shortage{};
}

// Entering `item` (one iteration of it when `iteration`) at the stop byte ends a
// replay that targets that step.
inline void check_entry(const Define& item, bool iteration, const Data_node* cur, const Data_node* stop)
{
    if (!at_stop(cur, stop))
        return;
    const Replay_target& target = walk_context().replay_target();
    if (target.item == &item && target.iteration == iteration)
        throw Data_shortage{};
}

// Reads `width` bytes from `cur` in the document's byte order into an unsigned bit
// pattern and moves `cur` past them. When the data ends first, `complete` turns
// false and the bytes that exist are kept (a missing byte contributes nothing).
inline std::uint64_t read_bits(Data_node*& cur, int width, Byte_order order, bool& complete)
{
    int got = 0;
    const std::uint64_t bits = read_int_bits(width, order,
                                             [&cur](std::uint8_t& byte) {
                                                 if (!cur)
                                                     return false;
                                                 byte = cur->value;
                                                 cur = cur->next();
                                                 return true;
                                             },
                                             got);
    complete = got == width;
    return bits;
}

// Moves `cur` over `count` bytes; false when the data ends first.
inline bool skip_bytes(Data_node*& cur, std::uint64_t count)
{
    for (; count > 0; --count) {
        if (!cur)
            return false;
        cur = cur->next();
    }
    return true;
}

// The size of the groups a table of `n` entries is split into so that no table
// holds more than limits::max_table_entries: 1 (plain records) up to that many
// entries, then the largest power of it below `n`. `smallest` is 1 for loops and
// max_table_entries for the undefined bytes, whose smallest tables hold that many
// bytes.
inline std::uint32_t group_size_for(std::uint64_t n, std::uint32_t smallest)
{
    constexpr std::uint64_t per_table = limits::max_table_entries;
    static_assert(per_table * per_table * per_table <= 0xFFFFFFFFull, "the largest group fits 32 bits");
    if (n <= per_table)
        return smallest;
    if (n <= per_table * per_table)
        return static_cast<std::uint32_t>(per_table);
    if (n <= per_table * per_table * per_table)
        return static_cast<std::uint32_t>(per_table * per_table);
    return static_cast<std::uint32_t>(per_table * per_table * per_table);
}

// The size of the groups inside a group of `group` entries: one table's worth
// fewer, down to single entries.
inline unsigned inner_group_size(unsigned group)
{
    return std::max(group / limits::max_table_entries, 1u);
}

// The walk of a loop or reference that shows as one table: the table (when
// `parent` is given) starts at `cur`, the item's range walk without components
// finds its end.
Data_node* walk_as_table(Define& item, Data_node* cur, Component* parent, Data_node* stop);

// Where a loop's walk without components stands between two iterations: what the
// walk needs to go on from there (see Walk_checkpoint).
struct Loop_point {
    Data_node* cur = nullptr;
    // Iterations done; a For loop's count and a While loop's first byte and bounds.
    std::uint64_t done = 0;
    std::int64_t count = 0;
    Data_node* loop_start = nullptr;
    Walk_bounds::State loop_bounds;
    // Going on in an analysis: the For loop's table, made before.
    Cmp_tbl* table = nullptr;
};

// Told of every point between two iterations of the loop it watches: the
// analysis takes its checkpoints so.
class Loop_watcher {
public:
    virtual void between_iterations(const Loop_point& point) = 0;

protected:
    ~Loop_watcher() = default;
};

// The expansion of a top-level loop's table goes over many iterations that the
// analysis walked before, and took checkpoints and marks in. Once the expansion
// stands at a checkpoint with the tables the analysis had there (checked, not
// assumed), it walks on exactly as the analysis did, so it may go on
// from any later checkpoint of the loop instead of walking up to it, and take the
// byte of a later iteration from its mark.
class Loop_shortcut {
public:
    explicit Loop_shortcut(Define& loop);

    // Before iteration `i` at `cur`: moves both (and the walk's tables) to the last
    // checkpoint of the loop at an iteration up to `limit`, when the walk is known
    // to be the analysis's.
    void skip(std::uint64_t& i, Data_node*& cur, std::uint64_t limit);
    // When the walk is known to be the analysis's and the analysis marked
    // iteration `target`: moves `cur` there and returns true. The tables stay
    // behind until catch_up().
    [[nodiscard]] bool jump(Data_node*& cur, std::uint64_t target);
    // Before iteration `i`, after jumps: the tables of the analysis there, from the
    // last checkpoint before it and the iterations in between.
    void catch_up(std::uint64_t i);

private:
    Define& loop_;
    const Walk_checkpoint* first_ = nullptr;
    const Walk_checkpoint* end_ = nullptr;
    const Walk_mark* first_mark_ = nullptr;
    const Walk_mark* end_mark_ = nullptr;
    bool same_walk_ = false;
    bool tables_behind_ = false;
};

// The walks of a For and a While loop (their items' analyze()), from the loop's
// first byte, or from `resume` when given; `watcher`, when given, is told of
// every point between iterations.
Data_node* for_loop(Def_for& loop, Data_node* cur, Component* parent, Data_node* stop, const Loop_point* resume,
                    Loop_watcher* watcher);
Data_node* while_loop(Def_while& loop, Data_node* cur, Component* parent, Data_node* stop, const Loop_point* resume,
                      Loop_watcher* watcher);

} // namespace walk
