#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/text/bcl_str.h"

class Component;
class Data_mgr;

// What to look for among the components.
struct Component_query {
    enum class Kind { name, value };
    Kind kind = Kind::name;
    // Shift-JIS, as the components' texts are. A name matches when it holds the
    // text, ASCII letters compared without regard to case; a value when its text
    // holds the text, or, when the text is a number (decimal, or hexadecimal as
    // parse_offset reads it, a leading '-' for negative), when the component is an
    // integer or a bit flag of that value (signed as its item is).
    std::string text;
};

// A component the search found, as the fully expanded tree holds it.
struct Component_hit {
    // The child indices from the root down to it (the root left out): its place in
    // tree order (a lexicographic comparison of two hits' indices gives their
    // order) and the way to open it (open_hit).
    std::vector<int> indices;
    // Its first byte; none when it has none.
    std::optional<std::uint64_t> offset;
    // The names of the components on the way down, its own last, and its value text.
    std::vector<Bcl_str> names;
    Bcl_str value_text;
};

// Told each hit. Returns false to stop the search there.
using Hit_found = std::function<bool(const Component_hit& hit)>;
// Asked now and then; true stops the search.
using Cancel_check = std::function<bool()>;

// How a search ended.
enum class Find_end { finished, stopped, cancelled };

// Whether `component` (not the root) matches `query`; shared by the search and
// by whoever checks it.
[[nodiscard]] bool component_matches(const Component& component, const Component_query& query);

// Every component of the analysis of `document` matching `query`, in tree order
// (the tree fully expanded), each handed to `hit`. One walk of the definition over
// the data, as the analysis walks, makes each component of the expanded tree in
// turn, matches it and drops it: no component of the document's tree is expanded,
// memory stays flat whatever the data's size, and the walk's variables are left as
// the analysis left them. Steps reporter() by the byte reached.
Find_end find_components(Data_mgr& document, const Component_query& query, const Hit_found& hit,
                         const Cancel_check& cancelled = {});

// The components at `indices` (a hit's) from the top level down, each container
// without children expanded on the way; shorter than `indices` where the tree
// holds no such child (the analysis changed since the hit was found).
[[nodiscard]] std::vector<Component*> open_hit(Data_mgr& document, std::span<const int> indices);

// The bytes of a hexadecimal pattern ("89 50 4E 47", "89504E47"; blanks between
// pairs optional); empty when the text is not whole bytes of hexadecimal digits.
[[nodiscard]] std::optional<std::string> parse_hex_pattern(std::string_view text);

// Every place `pattern` (bytes, not empty) starts in the data, from the first byte
// on (matches may overlap), each offset handed to `hit`, which returns false to
// stop. Steps reporter() by the byte reached.
Find_end find_bytes(const Data_mgr& document, std::string_view pattern, const std::function<bool(std::uint64_t)>& hit,
                    const Cancel_check& cancelled = {});
