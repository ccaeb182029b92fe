#pragma once

#include <string>

class Component;

// Writes `root` and its descendants down to `max_depth` (the root is depth 0), one
// line each: two spaces per level of depth, the name, a tab, the value text, "\n".
// The text is Shift-JIS, like the names it is made of.
//
// Containers above `max_depth` that have no children yet are expanded through
// their own expand(), the path the user interface takes, so this replays the walk
// as the tree view would. A data shortage met while expanding keeps the children
// made so far and the rendering goes on.
void render_tree(Component& root, int max_depth, std::string& out);
