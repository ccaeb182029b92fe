#pragma once

// The text report and the component tree are two walks of the same definition over
// the same bytes: the report reads the data file, the tree is built lazily from the
// document. These helpers make the report's lines out of the tree, so that a test
// or a fuzz target can check that both show the same values at the same places.

#include <cstddef>
#include <string>

class Component;

struct Report_view {
    std::string text;       // Shift-JIS lines, each ended by CR LF
    bool complete = true;   // false when the line limit cut the view short
};

// The lines the text report writes for the analysis under `root`, made from the
// tree: every container is expanded the way the tree view expands it when the user
// opens it, and every component gives the report line of its kind (its offset, the
// indentation of its depth in the definition, name and value text). The view ends
// at the first data shortage, with the report's shortage line, as the report does.
// At most `max_lines` lines are made.
[[nodiscard]] Report_view report_view_of_tree(Component& root, std::size_t max_lines);

// Empty when the report text `report` (as written, Shift-JIS with CR LF) says what
// `view` says; otherwise the first difference, in UTF-8. When the view was cut
// short only its lines are compared.
//
// The one difference the two layouts are meant to have is allowed: a
// length-prefixed or NUL-terminated string that the data ends inside still gets its
// line in the report (with the bytes that exist), while the tree makes no component
// for it. Such a line may stand just before the report's shortage line.
[[nodiscard]] std::string report_tree_difference(const std::string& report, const Report_view& view);
