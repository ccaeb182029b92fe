#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "toolkit/text/bcl_str.h"

class Component;

// One component of the rendered tree: its depth (the root is 0), name and value
// text (Shift-JIS, as the components give them), and the component itself.
struct Tree_line {
    int depth;
    const Bcl_str& name;
    const Bcl_str& value;
    Component& component;
};

// Walks `root` and its descendants down to `max_depth` in display order and hands
// each component's line to `line` as soon as it is made, so the output streams
// however large the tree grows.
//
// Containers above `max_depth` that have no children yet are expanded through
// their own expand(), the path the user interface takes, so this replays the walk
// as the tree view would. A data shortage met while expanding keeps the children
// made so far and the rendering goes on.
void render_tree(Component& root, int max_depth, const std::function<void(const Tree_line&)>& line);

// The text of one line: two spaces per level of depth, the name, a tab, the value
// and a line feed.
[[nodiscard]] std::string tree_line_text(int depth, std::string_view name, std::string_view value);

// Appends the whole rendering to `out`, one tree_line_text() per component, the
// texts unchanged (Shift-JIS). For trees known to be small.
void render_tree(Component& root, int max_depth, std::string& out);
