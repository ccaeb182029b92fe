// What the main window's views show of the document.
#include <algorithm>
#include <vector>

#include "model/cmp_place_srch_visitor.h"
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
    highlight_component(nullptr);
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
// its containers inserted below it, its children listed in the data list and its
// bytes highlighted in the dump.
void Kestrix::tree_selection_changed(Bcl_tree_item item)
{
    data_list_.delete_all();
    data_rows_.clear();
    const auto found = tree_components_.find(item);
    if (found == tree_components_.end()) {
        highlight_component(nullptr);
        return;
    }
    Component& container = *found->second;
    expand_container_item(item, container);
    fill_data_list(container);
    status_.set_text(Bcl_str());
    highlight_component(&container);
}

void Kestrix::expand_container_item(Bcl_tree_item item, Component& container)
{
    const bool expanded = std::find(expanded_items_.begin(), expanded_items_.end(), item) != expanded_items_.end();
    if (expanded || container.child_count() != 0 || !container.has_children())
        return;
    try {
        container.expand();
    } catch (const Data_shortage&) {
        // The children made before the data ran out are shown.
    }
    insert_container_items(item, container);
    expanded_items_.push_back(item);
}

// The selected row's component is highlighted, or with no row the tree's.
void Kestrix::data_row_selected(int row)
{
    if (row >= 0 && static_cast<std::size_t>(row) < data_rows_.size()) {
        highlight_component(data_rows_[static_cast<std::size_t>(row)]);
        return;
    }
    const auto found = tree_components_.find(data_tree_.selected());
    highlight_component(found == tree_components_.end() ? nullptr : found->second);
}

void Kestrix::highlight_component(const Component* component)
{
    if (component)
        dump_.set_highlight(component->start(), component->end());
    else
        dump_.set_highlight(nullptr, nullptr);
}

void Kestrix::fill_data_list(Component& container)
{
    for (int i = 0; i < container.child_count(); ++i) {
        Component* child = container.child(i);
        data_list_.insert_row(-1, {child->name().to_utf8(), child->value_text().to_utf8()});
        data_rows_.push_back(child);
    }
}

// Descends the data tree to the deepest container holding `byte`, selects it, then
// selects the data-list row whose component holds the byte and gives the list the
// focus. The byte comes from the document as it is now (the dump looks it up at the
// click), and each component is reached from the tree as it is now.
void Kestrix::select_byte(Data_node* byte)
{
    const auto holds = [byte](Component& component, bool containers) {
        Cmp_place_srch_visitor search(byte, -1, containers);
        component.accept(search);
        return search.found();
    };
    Bcl_tree_item item = data_tree_.root();
    if (!byte || !item)
        return;
    for (Bcl_tree_item child = data_tree_.first_child(item); child;) {
        const auto found = tree_components_.find(child);
        if (found == tree_components_.end() || !holds(*found->second, true)) {
            child = data_tree_.next_sibling(child);
            continue;
        }
        expand_container_item(child, *found->second);
        data_tree_.expand(child);
        item = child;
        child = data_tree_.first_child(item);
    }
    if (data_tree_.selected() != item)
        data_tree_.select(item);
    for (std::size_t row = 0; row < data_rows_.size(); ++row) {
        if (holds(*data_rows_[row], false)) {
            data_list_.select(static_cast<int>(row));
            data_list_.ensure_visible(static_cast<int>(row));
            break;
        }
    }
    data_list_.set_focus();
}

void Kestrix::refresh_dump() { dump_.refresh_range(); }
