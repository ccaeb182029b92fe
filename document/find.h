#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// Told each hit: the components from the top level down to it (the root left out),
// alive for the call only. Returns false to stop the search there.
using Hit_found = std::function<bool(const std::vector<Component*>& path)>;
// Asked now and then; true stops the search.
using Cancel_check = std::function<bool()>;

// How a search ended.
enum class Find_end { finished, stopped, cancelled };

// Whether `component` (not the root) matches `query`; shared by the search and
// by whoever checks it.
[[nodiscard]] bool component_matches(const Component& component, const Component_query& query);

// Every component of the analysis of `document` matching `query`, in tree order
// (the tree fully expanded), each handed to `hit`. Containers without children yet
// are expanded on the way and collapsed again once searched, so that only the
// containers around the current component are held: memory stays flat whatever
// the data's size, and containers expanded before stay as they were. Steps
// reporter() by the byte reached.
Find_end find_components(Data_mgr& document, const Component_query& query, const Hit_found& hit,
                         const Cancel_check& cancelled = {});

// The bytes of a hexadecimal pattern ("89 50 4E 47", "89504E47"; blanks between
// pairs optional); empty when the text is not whole bytes of hexadecimal digits.
[[nodiscard]] std::optional<std::string> parse_hex_pattern(std::string_view text);

// Every place `pattern` (bytes, not empty) starts in the data, from the first byte
// on (matches may overlap), each offset handed to `hit`, which returns false to
// stop. Steps reporter() by the byte reached.
Find_end find_bytes(const Data_mgr& document, std::string_view pattern, const std::function<bool(std::uint64_t)>& hit,
                    const Cancel_check& cancelled = {});
