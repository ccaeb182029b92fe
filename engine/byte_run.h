#pragma once

// Runs of plain bytes shown as tables of at most limits::max_table_entries entries,
// grouped by powers of that number down to the single bytes: the undefined bytes
// and the byte blocks.

#include <cstdint>

#include "model/define.h"
#include "toolkit/text/bcl_str.h"

class Component;
class Data_node;
class Walk_watcher;

namespace walk {

// The item whose bytes the tables show, their names' head (the range follows) and
// what a table's group holds: its own size (the undefined bytes) or the size of
// its entries (a byte block, whose whole block is one table however long).
struct Byte_run {
    Define& item;
    const Bcl_str& prefix;
    bool group_is_entry_size;

    // The entry size of a table with `group`, and the group of a table of `size`.
    [[nodiscard]] std::uint64_t entry_size(std::uint64_t group) const;
    [[nodiscard]] unsigned group_of(std::uint64_t size) const;
};

// Bytes [from, to) from `cur` as entries of `span` bytes, single bytes when 1:
// tables added to `parent`, or skipped up to `stop` without one. Returns the byte
// after them.
Data_node* byte_entries(const Byte_run& run, Data_node* cur, Component* parent, Data_node* stop, std::uint64_t from,
                        std::uint64_t to, std::uint64_t span);

// Bytes [from, to) as entries of `span` bytes, told to `watcher` as the expansions of
// their tables would make them, down to the bytes.
Data_node* watch_byte_entries(const Byte_run& run, Data_node* cur, std::uint64_t from, std::uint64_t to,
                              std::uint64_t span, Walk_watcher& watcher);

} // namespace walk
