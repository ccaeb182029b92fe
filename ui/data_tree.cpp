// The data page's tree: containers opened as they are selected and closed again
// beyond the limit, and the way down to a byte.
#include "ui/data_page.h"

#include <algorithm>
#include <vector>

#include "model/cmp_place_srch_visitor.h"
#include "model/component.h"
#include "model/define.h"
#include "toolkit/exception.h"
#include "ui/core/expanded_items.h"
#include "ui/page_frame.h"

namespace {

// Whether `component` holds the byte (and bit) as a container to descend into
// (`containers`) or as the value to select.
bool holds(Component& component, const Data_place& place, bool containers)
{
    Cmp_place_srch_visitor search(place.node, place.bit, containers);
    component.accept(search);
    return search.found();
}

} // namespace

// The root component is the root item; below it one item per container component
// that is analysed, leaves being shown only in the data list. With a place to show,
// the containers that hold it are expanded down to the deepest one, which is
// selected with the row that holds the place; without one, the root is selected.
void Data_page::rebuild_tree(Data_place show)
{
    {
        const Quiet_tree quiet(ignore_tree_selection_);
        tree_.remove_all();
        tree_components_.clear();
        expanded_items_.clear();
    }
    list_.delete_all();
    rows_.clear();
    highlight_component(nullptr);
    Component* root = document_.root_component();
    if (!root)
        return;
    const Bcl_tree_item root_item = tree_.insert(nullptr, root->name().to_utf8());
    tree_components_[root_item] = root;
    expanded_items_.push_back(root_item);
    insert_container_items(root_item, *root);
    tree_.expand(root_item);
    if (!show.node) {
        tree_.select(root_item);
        return;
    }
    show_place(show);
}

void Data_page::insert_container_items(Bcl_tree_item item, Component& component)
{
    // Depth first without recursion: expanded tables can nest deeply.
    std::vector<std::pair<Bcl_tree_item, Component*>> pending{{item, &component}};
    while (!pending.empty()) {
        auto [parent_item, parent] = pending.back();
        pending.pop_back();
        std::vector<Component*> containers;
        std::vector<std::string> names;
        for (int i = 0; i < parent->child_count(); ++i) {
            Component* child = parent->child(i);
            if (!child->has_children())
                continue;
            containers.push_back(child);
            names.push_back(child->name().to_utf8());
        }
        const std::vector<Bcl_tree_item> items = tree_.insert(parent_item, names);
        for (std::size_t i = 0; i < items.size(); ++i) {
            tree_components_[items[i]] = containers[i];
            pending.emplace_back(items[i], containers[i]);
        }
    }
}

// A container selected in the tree has its children analysed when it has none yet,
// its containers inserted below it, its children listed in the data list and its
// bytes highlighted in the dump.
void Data_page::tree_selection_changed(Bcl_tree_item item)
{
    if (ignore_tree_selection_)
        return;
    list_.delete_all();
    rows_.clear();
    const auto found = tree_components_.find(item);
    if (found == tree_components_.end()) {
        highlight_component(nullptr);
        return;
    }
    open_container_item(item);
    show_container(*found->second);
}

void Data_page::show_container(Component& container)
{
    list_.delete_all();
    rows_.clear();
    fill_list(container);
    frame_.set_status_text(Bcl_str());
    highlight_component(&container);
}

// The container of `item` gets its children (when it has none yet) and becomes the
// most recently opened of the expanded items; when more than the limit are
// expanded, the oldest that hold neither `item` nor another expanded item are
// collapsed.
void Data_page::open_container_item(Bcl_tree_item item)
{
    const auto found = tree_components_.find(item);
    if (found == tree_components_.end())
        return;
    const auto listed = std::find(expanded_items_.begin(), expanded_items_.end(), item);
    if (listed != expanded_items_.end())
        expanded_items_.erase(listed);
    else
        expand_container_item(item, *found->second);
    // Counted with the item itself, so that no more than the limit stay expanded.
    expanded_items_.push_back(item);
    const auto dropped = trim_expanded_items(expanded_items_, item,
                                             [this](Bcl_tree_item i) { return tree_.parent(i); });
    for (Bcl_tree_item old : dropped)
        collapse_container_item(old);
}

void Data_page::expand_container_item(Bcl_tree_item item, Component& container)
{
    if (container.child_count() == 0 && container.has_children()) {
        try {
            container.expand();
        } catch (const Data_shortage&) {
            // The children made before the data ran out are shown.
        }
    }
    if (tree_.child_count(item) == 0)
        insert_container_items(item, container);
}

// Releases the children of the item's container and deletes its child items with
// their map entries. The data list never shows them: the selected item is never
// collapsed, nor any of its ancestors.
void Data_page::collapse_container_item(Bcl_tree_item item)
{
    const Quiet_tree quiet(ignore_tree_selection_);
    std::vector<Bcl_tree_item> pending;
    for (Bcl_tree_item child = tree_.first_child(item); child; child = tree_.next_sibling(child))
        pending.push_back(child);
    const std::vector<Bcl_tree_item> children = pending;
    while (!pending.empty()) {
        const Bcl_tree_item next = pending.back();
        pending.pop_back();
        tree_components_.erase(next);
        for (Bcl_tree_item child = tree_.first_child(next); child; child = tree_.next_sibling(child))
            pending.push_back(child);
    }
    for (Bcl_tree_item child : children)
        tree_.remove(child);
    tree_components_.at(item)->clear_children();
}

// The selected row's component is highlighted, or with no row the tree's.
void Data_page::row_selected(int row)
{
    if (row >= 0 && static_cast<std::size_t>(row) < rows_.size()) {
        highlight_component(rows_[static_cast<std::size_t>(row)]);
        return;
    }
    const auto found = tree_components_.find(tree_.selected());
    highlight_component(found == tree_components_.end() ? nullptr : found->second);
}

// The inspector follows: the values at the component's first byte, until the caret
// moves (a click in the dump, its keys, go to), when it shows the caret's.
void Data_page::highlight_component(const Component* component)
{
    if (component)
        dump_.set_highlight(component->start(), component->end());
    else
        dump_.set_highlight(nullptr, nullptr);
    if (component && component->start())
        inspector_.show_at(component->start()->position());
    else
        inspector_.clear();
}

void Data_page::fill_list(Component& container)
{
    for (int i = 0; i < container.child_count(); ++i) {
        Component* child = container.child(i);
        list_.insert_row(-1, {child->name().to_utf8(), child->value_utf8()});
        rows_.push_back(child);
    }
}

// Descends the data tree through the containers that hold `place`, opening each as
// a tree selection does, selects the deepest, then selects the data-list row whose
// component holds the place and gives the list the focus. The byte comes from the
// document as it is now (the dump looks it up at the click), and each component is
// reached from the tree as it is now.
void Data_page::show_place(const Data_place& place)
{
    if (!place.node)
        return;
    show_down([&place](Component& c) { return holds(c, place, true); },
              [&place](Component& c) { return holds(c, place, false); });
}

void Data_page::show_path(std::span<Component* const> path)
{
    if (path.empty())
        return;
    const Dump_wnd::Batch once(dump_);
    show_down([path](Component& c) { return std::find(path.begin(), path.end(), &c) != path.end(); },
              [path](Component& c) { return &c == path.back(); });
    if (const Data_node* start = path.back()->start())
        dump_.set_caret(start->position());
}

void Data_page::show_down(const std::function<bool(Component&)>& on_way, const std::function<bool(Component&)>& in_row)
{
    Bcl_tree_item item = tree_.root();
    if (!item)
        return;
    for (Bcl_tree_item child = tree_.first_child(item); child;) {
        const auto found = tree_components_.find(child);
        if (found == tree_components_.end() || !on_way(*found->second)) {
            child = tree_.next_sibling(child);
            continue;
        }
        open_container_item(child);
        tree_.expand(child);
        item = child;
        child = tree_.first_child(item);
    }
    if (tree_.selected() != item)
        tree_.select(item);
    else
        show_container(*tree_components_.at(item));
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        if (in_row(*rows_[row])) {
            list_.select(static_cast<int>(row));
            list_.ensure_visible(static_cast<int>(row));
            break;
        }
    }
    list_.set_focus();
}

// Tree items show containers only: each one's index among all its parent's children
// is looked up in the parent.
std::optional<std::vector<int>> Data_page::selected_indices() const
{
    std::vector<int> indices;
    const Bcl_tree_item selected = tree_.selected();
    for (Bcl_tree_item item = selected; item && tree_.parent(item); item = tree_.parent(item)) {
        const auto parent = tree_components_.find(tree_.parent(item));
        const auto child = tree_components_.find(item);
        if (parent == tree_components_.end() || child == tree_components_.end())
            return std::nullopt;
        int index = 0;
        while (index < parent->second->child_count() && parent->second->child(index) != child->second)
            ++index;
        indices.insert(indices.begin(), index);
    }
    const int row = list_.selected();
    if (row >= 0 && static_cast<std::size_t>(row) < rows_.size())
        indices.push_back(row);
    if (indices.empty())
        return std::nullopt;
    return indices;
}
