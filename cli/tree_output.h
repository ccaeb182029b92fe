#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

class Component;

// Prints the component tree of `root` down to `max_depth` to `out` in UTF-8, each
// line written as soon as it is made (see render_tree). Names and values come from
// the data and the definition, so they are escaped (escaped_for_line) to keep one
// component on one line and to keep the terminal's control sequences out.
void print_tree(Component& root, int max_depth, std::ostream& out);

// Prints the same tree as print_tree as one JSON document (UTF-8), written as it is
// made: every component an object with "name", "offset" (its first byte, or null),
// "length" (the bytes it covers, or null when it has no first byte), "value" (the
// value text), "number" (an integer's or bit flag's value as a number, signed as the
// item is; null for every other component) and, on a component that `max_depth`
// let be expanded, "children".
void print_tree_json(Component& root, int max_depth, std::ostream& out);

// `utf8` with every control character written as an escape: \t, \n and \r by name,
// the others as \x and two hexadecimal digits (ESC is \x1b); a backslash is doubled
// so that the escapes stay unambiguous.
[[nodiscard]] std::string escaped_for_line(std::string_view utf8);
