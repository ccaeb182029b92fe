#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

class Component;
class Data_mgr;

// What a click on the byte at `offset` in the dump selects, as the chain of
// components from the top level down to it (the root left out): the tables and
// records that hold the byte, each expanded on the way when it has no children yet,
// then the value that holds it (no bit: an integer with flags is the value). When
// no value holds it the chain ends at the deepest container; it is empty when no
// top-level component holds the byte or the offset is past the end. The go-to of
// the window and `kestrix-cli at` both take this way down.
[[nodiscard]] std::vector<Component*> place_path_of(Data_mgr& document, std::uint64_t offset);

// An offset as the user types it: decimal, `0x1A2B`, or `1A2Bh` (letters in either
// case, blanks around it ignored). Empty for anything else or a value that does not
// fit 64 bits.
[[nodiscard]] std::optional<std::uint64_t> parse_offset(std::string_view text);
