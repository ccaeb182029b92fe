#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/limits.h"
#include "model/walk_bounds.h"
#include "model/walk_tables.h"

class Data_node;
class Define;

// A point of the analysis' walk over the top-level items that a later walk can go
// on from instead of starting at the first byte: between two top-level items, or
// between two iterations of a top-level loop. The walk reads forward only, so what
// it does from here on depends on nothing before this point but what is kept here.
struct Walk_checkpoint {
    Data_node* cur = nullptr;
    // The position of `cur` when the point was taken.
    std::uint32_t position = 0;
    // The top-level item walked next, or the loop being walked when `in_loop`.
    std::size_t item = 0;
    bool in_loop = false;
    // That loop (borrowed from the definition) when `in_loop`.
    const Define* loop = nullptr;
    // Inside a loop: the iterations done (a While loop's count so far), a For loop's
    // count as evaluated where the loop began, the loop's first byte and, for a
    // While loop whose table is made after its count, the bounds in force there.
    std::uint64_t done = 0;
    std::int64_t count = 0;
    Data_node* loop_start = nullptr;
    Walk_bounds::State loop_bounds;
    // The root's children made by then (a For loop's own table among them).
    std::size_t components = 0;
    // The marks taken before it (see Walk_mark).
    std::size_t marks = 0;
    Walk_tables tables;
};

// Where the analysis' walk of a top-level loop stood before iteration `done`, a
// multiple of mark_stride: the end of the loop's groups of iterations before it.
// Tables are not kept, so a walk that goes on from a mark needs a checkpoint before
// it and the iterations in between (see walk::Loop_shortcut).
struct Walk_mark {
    const Define* loop = nullptr;
    std::uint64_t done = 0;
    Data_node* cur = nullptr;
};

// The checkpoints of the last analysis, in walk order, one every `interval` bytes
// of data at most (the first point of the walk at or past each mark): derived
// data, dropped and remade with the analysis, that never changes a result.
class Walk_checkpoints {
public:
    static constexpr std::uint32_t default_interval = 65536;

    // Drops every point; the next is taken `interval` bytes in.
    void clear();
    // Bytes of data between two points; 0 takes none. Clears.
    void set_interval(std::uint32_t bytes);
    [[nodiscard]] std::uint32_t interval() const { return interval_; }

    // Whether a walk standing at `position` takes a point now.
    [[nodiscard]] bool due(std::uint32_t position) const { return interval_ != 0 && position >= next_; }
    void add(Walk_checkpoint point);

    // The smallest group a loop's table is split into.
    static constexpr std::uint64_t mark_stride = limits::max_table_entries;
    // Whether a walk before iteration `done` of a top-level loop takes a mark.
    [[nodiscard]] bool mark_due(std::uint64_t done) const { return interval_ != 0 && done % mark_stride == 0; }
    void add_mark(const Walk_mark& mark) { marks_.push_back(mark); }
    [[nodiscard]] const std::vector<Walk_mark>& marks() const { return marks_; }

    // The last point at a position before `position`, or null. A walk up to a byte
    // at `position` passes every such point with the same tables as from the start.
    [[nodiscard]] const Walk_checkpoint* last_before(std::uint64_t position) const;
    // Drops the points after `point` (one of these), and the marks taken after it, and takes the next one
    // `interval` bytes after it, as a walk that had just passed it would.
    void keep_up_to(const Walk_checkpoint& point);
    // Drops the points at `position` and after: the data changed there.
    void drop_from(std::uint64_t position);

    [[nodiscard]] const std::vector<Walk_checkpoint>& points() const { return points_; }
    // The memory the points and marks take, the points' tables' entries included
    // (estimated per map node).
    [[nodiscard]] std::size_t memory_bytes() const;

private:
    std::vector<Walk_checkpoint> points_;
    std::vector<Walk_mark> marks_;
    std::uint32_t interval_ = default_interval;
    std::uint64_t next_ = default_interval;
};
