#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/gui/bcl_wnd.h"

// A handle of one tree item; null for none. Valid until the item is deleted.
struct Bcl_tree_node;
using Bcl_tree_item = Bcl_tree_node*;

// A tree of text items.
class Bcl_treeview : public Bcl_wnd {
public:
    void create(Bcl_wnd& parent, int id);

    // Inserts an item under `parent` (at the top level when null) after its last child.
    Bcl_tree_item insert(Bcl_tree_item parent, std::string_view utf8);
    // The same for many items at once, in order, which the tree takes in one step
    // (a table's 1024 rows); returns their handles.
    std::vector<Bcl_tree_item> insert(Bcl_tree_item parent, const std::vector<std::string>& utf8);
    // Deletes the item with all its children.
    void remove(Bcl_tree_item item);
    void remove_all();
    [[nodiscard]] Bcl_tree_item root() const;
    [[nodiscard]] Bcl_tree_item parent(Bcl_tree_item item) const;
    [[nodiscard]] Bcl_tree_item first_child(Bcl_tree_item item) const;
    [[nodiscard]] Bcl_tree_item next_sibling(Bcl_tree_item item) const;
    [[nodiscard]] int child_count(Bcl_tree_item item) const;
    [[nodiscard]] std::string text(Bcl_tree_item item) const;
    void expand(Bcl_tree_item item);

    [[nodiscard]] Bcl_tree_item selected() const;
    // Selects `item` and shows it; the selection handler runs as for a click.
    void select(Bcl_tree_item item);

    void set_selection_handler(std::function<void(Bcl_tree_item)> handler);
};
