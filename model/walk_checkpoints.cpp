#include "model/walk_checkpoints.h"

#include <algorithm>

void Walk_checkpoints::clear()
{
    points_.clear();
    points_.shrink_to_fit();
    marks_.clear();
    marks_.shrink_to_fit();
    next_ = interval_;
}

void Walk_checkpoints::set_interval(std::uint32_t bytes)
{
    interval_ = bytes;
    clear();
}

void Walk_checkpoints::add(Walk_checkpoint point)
{
    next_ = std::uint64_t{point.position} + interval_;
    point.marks = marks_.size();
    points_.push_back(std::move(point));
}

const Walk_checkpoint* Walk_checkpoints::last_before(std::uint64_t position) const
{
    // Positions grow along the walk, one point per mark.
    const auto after = std::partition_point(points_.begin(), points_.end(),
                                            [position](const Walk_checkpoint& p) { return p.position < position; });
    return after == points_.begin() ? nullptr : &*(after - 1);
}

void Walk_checkpoints::keep_up_to(const Walk_checkpoint& point)
{
    const auto kept = static_cast<std::size_t>(&point - points_.data()) + 1;
    next_ = std::uint64_t{point.position} + interval_;
    marks_.resize(point.marks);
    points_.erase(points_.begin() + static_cast<std::ptrdiff_t>(kept), points_.end());
}

void Walk_checkpoints::drop_from(std::uint64_t position)
{
    if (const Walk_checkpoint* last = last_before(position))
        keep_up_to(*last);
    else
        clear();
}

std::size_t Walk_checkpoints::memory_bytes() const
{
    // A map node of the definition sets holds its key and value plus about four
    // words of links and colour.
    constexpr std::size_t map_node_overhead = 4 * sizeof(void*);
    std::size_t bytes = points_.capacity() * sizeof(Walk_checkpoint) + marks_.capacity() * sizeof(Walk_mark);
    for (const Walk_checkpoint& point : points_) {
        const Variable_table::Values& variables = point.tables.variables.values();
        bytes += variables.capacity() * sizeof(Variable_table::Entry);
        for (const auto& [name, value] : variables)
            bytes += name.size() > 15 ? name.size() + 1 : 0;
        bytes += point.tables.definition_sets.size() * (sizeof(Bcl_str) + sizeof(void*) + map_node_overhead);
    }
    return bytes;
}
