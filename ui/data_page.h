#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <vector>

#include "document/data_mgr.h"
#include "toolkit/gui/bcl_dock.h"
#include "toolkit/gui/bcl_listview.h"
#include "toolkit/gui/bcl_split.h"
#include "toolkit/gui/bcl_treeview.h"
#include "ui/core/focus_order.h"
#include "ui/dump_wnd.h"
#include "ui/find_bar.h"
#include "ui/readings_panel.h"

class Component;
class Page_frame;

// The data page: the data tree with its expanded containers, the data list with its
// popup and the change dialogs it opens, the dump view, the inspector docked beside
// them, and what follows every change of the data.
class Data_page {
public:
    // A key pressed in one of the page's controls that the page leaves to the window.
    using Focus_key = std::function<bool(Focus_place from, const Bcl_key_event& key)>;
    // Told where the dump's caret is and how many bytes are selected whenever either
    // changes (also when the data's length changes).
    using Caret_listener = std::function<void(std::uint32_t caret, std::uint32_t selection_length)>;

    Data_page(Data_mgr& document, Page_frame& frame);
    Data_page(const Data_page&) = delete;
    Data_page& operator=(const Data_page&) = delete;

    // The tree and the list side by side above the dump view, the inspector on
    // their right, in a client area of `width` x `height`.
    void create(Bcl_wnd& parent, int width, int height, const Focus_key& focus_key);
    [[nodiscard]] Bcl_wnd& window() { return dock_; }
    [[nodiscard]] Bcl_treeview& tree() { return tree_; }
    [[nodiscard]] Bcl_listview& list() { return list_; }
    [[nodiscard]] Dump_wnd& dump() { return dump_; }
    [[nodiscard]] Readings_panel& inspector() { return inspector_; }
    [[nodiscard]] Find_bar& find_bar() { return find_bar_; }
    // The inspector's menu command: hides a shown panel, shows a hidden one.
    void toggle_inspector() { dock_.show_panel(!dock_.panel_shown()); }
    [[nodiscard]] bool inspector_shown() const { return dock_.panel_shown(); }
    // Told when the inspector is shown or closed, by the menu or by the user on the
    // panel itself (after create).
    void set_inspector_listener(std::function<void(bool shown)> listener)
    {
        dock_.set_panel_handler(std::move(listener));
    }

    // Rebuilds the data tree; shows the byte and bit of `show` when given.
    void rebuild_tree(Data_place show);
    // The dump view takes the data's new length.
    void refresh_dump() { dump_.refresh_range(); }
    // Selects the component that holds `byte` in the tree and the list (a click in
    // the dump view).
    void select_byte(Data_node* byte) { show_place({byte, std::nullopt}); }
    // "移動": selects what a click on the byte at `offset` selects and puts the dump's
    // caret on it, with `selected` bytes from it selected. False (nothing changes)
    // when the offset is past the data.
    bool go_to(std::uint32_t offset, std::uint32_t selected = 0);
    // Selects the last of `path` (components from the top level down, as open_hit
    // gives them): a container in the tree, any other in the data list, with the
    // dump's caret on its first byte.
    void show_path(std::span<Component* const> path);
    // The child indices from the root down to the selected row, or to the tree's
    // selected container without one; none when only the root is selected.
    [[nodiscard]] std::optional<std::vector<int>> selected_indices() const;
    void add_caret_listener(Caret_listener listener) { caret_listeners_.push_back(std::move(listener)); }

    // The commands of the data list.
    void add_data();
    void edit_data();
    void delete_data();

private:
    // The data tree: containers opened as they are selected, at most
    // max_expanded_items of them expanded at a time.
    void insert_container_items(Bcl_tree_item item, Component& component);
    void tree_selection_changed(Bcl_tree_item item);
    void open_container_item(Bcl_tree_item item);
    void expand_container_item(Bcl_tree_item item, Component& container);
    void collapse_container_item(Bcl_tree_item item);
    void show_container(Component& container);
    void show_place(const Data_place& place);
    // Descends the tree through the containers `on_way` takes, then selects the data
    // list's row that `in_row` takes.
    void show_down(const std::function<bool(Component&)>& on_way, const std::function<bool(Component&)>& in_row);
    // The data list: its selection, popup and double-click or Enter.
    void row_selected(int row);
    void highlight_component(const Component* component);
    void fill_list(Component& container);
    void popup();
    void row_activated(int row);
    [[nodiscard]] Component* selected_component() const;
    // After a change of the data: analysed again, views refilled showing `place`.
    void changed(Data_place place);

    // Sets a flag for as long as it lives: tree items deleted by the program do not
    // count as the user's selection.
    class Quiet_tree {
    public:
        explicit Quiet_tree(bool& flag) : flag_(flag), old_(flag) { flag_ = true; }
        ~Quiet_tree() { flag_ = old_; }
        Quiet_tree(const Quiet_tree&) = delete;
        Quiet_tree& operator=(const Quiet_tree&) = delete;

    private:
        bool& flag_;
        bool old_;
    };

    Data_mgr& document_;
    Page_frame& frame_;
    Bcl_listview list_;
    Dump_wnd dump_;
    Bcl_dock dock_;
    Readings_panel inspector_;
    Find_bar find_bar_;
    Bcl_vsplit vertical_split_;
    Bcl_hsplit horizontal_split_;
    Bcl_treeview tree_;
    // Tree item -> the component it shows.
    std::map<Bcl_tree_item, Component*> tree_components_;
    // Tree items whose container has its children analysed and inserted, oldest first.
    std::deque<Bcl_tree_item> expanded_items_;
    bool ignore_tree_selection_ = false;
    // The data list's rows: the component each shows.
    std::vector<Component*> rows_;
    std::vector<Caret_listener> caret_listeners_;
};
