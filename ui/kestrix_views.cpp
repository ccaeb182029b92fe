// What the main window's views show of the document.
#include <algorithm>
#include <vector>

#include "model/component.h"
#include "model/define.h"
#include "toolkit/exception.h"
#include "ui/kestrix.h"

// The root component is the root item; below it one item per container component
// that is analysed, leaves being shown only in the data list. Going to the byte that
// `show` names needs the search by data position, which comes with the data page's
// browsing; until then the root is selected.
void Kestrix::rebuild_data_tree(Data_place)
{
    data_tree_.remove_all();
    tree_components_.clear();
    expanded_items_.clear();
    data_list_.delete_all();
    data_rows_.clear();
    Component* root = document_.root_component();
    if (!root)
        return;
    const Bcl_tree_item root_item = data_tree_.insert(nullptr, root->name().to_utf8());
    tree_components_[root_item] = root;
    expanded_items_.push_back(root_item);
    insert_container_items(root_item, *root);
    data_tree_.expand(root_item);
    data_tree_.select(root_item);
}

void Kestrix::insert_container_items(Bcl_tree_item item, Component& component)
{
    // Depth first without recursion: expanded tables can nest deeply.
    std::vector<std::pair<Bcl_tree_item, Component*>> pending{{item, &component}};
    while (!pending.empty()) {
        auto [parent_item, parent] = pending.back();
        pending.pop_back();
        for (int i = 0; i < parent->child_count(); ++i) {
            Component* child = parent->child(i);
            if (!child->has_children())
                continue;
            const Bcl_tree_item child_item = data_tree_.insert(parent_item, child->name().to_utf8());
            tree_components_[child_item] = child;
            pending.emplace_back(child_item, child);
        }
    }
}

// A container selected in the tree has its children analysed when it has none yet,
// its containers inserted below it, and its children listed in the data list.
void Kestrix::tree_selection_changed(Bcl_tree_item item)
{
    data_list_.delete_all();
    data_rows_.clear();
    const auto found = tree_components_.find(item);
    if (found == tree_components_.end())
        return;
    Component& container = *found->second;
    const bool expanded = std::find(expanded_items_.begin(), expanded_items_.end(), item) != expanded_items_.end();
    if (!expanded && container.child_count() == 0 && container.has_children()) {
        try {
            container.expand();
        } catch (const Data_shortage&) {
            // The children made before the data ran out are shown.
        }
        insert_container_items(item, container);
        expanded_items_.push_back(item);
    }
    fill_data_list(container);
    status_.set_text(Bcl_str());
}

void Kestrix::fill_data_list(Component& container)
{
    for (int i = 0; i < container.child_count(); ++i) {
        Component* child = container.child(i);
        data_list_.insert_row(-1, {child->name().to_utf8(), child->value_text().to_utf8()});
        data_rows_.push_back(child);
    }
}

// Finding the component that holds a byte needs the search by data position, which
// comes with the data page's browsing; until then a click in the dump selects nothing.
void Kestrix::select_byte(Data_node*) {}

void Kestrix::refresh_dump() { dump_.refresh_range(); }
