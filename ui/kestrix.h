#pragma once

#include <deque>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "document/data_mgr.h"
#include "model/def_disp_visitor.h"
#include "toolkit/gui/bcl_listview.h"
#include "toolkit/gui/bcl_sdi.h"
#include "toolkit/gui/bcl_split.h"
#include "toolkit/gui/bcl_statusbar.h"
#include "toolkit/gui/bcl_tab.h"
#include "toolkit/gui/bcl_toolbar.h"
#include "toolkit/gui/bcl_treeview.h"
#include "ui/core/commands.h"
#include "ui/core/focus_order.h"
#include "ui/core/questions.h"
#include "ui/core/state.h"
#include "ui/dump_wnd.h"
#include "ui/list_drag.h"

class Component;
class Define;

// The main window: the definition page (the definition list) and the data page (data
// tree, data list and dump view), the two modes, the command table and the title.
// It answers the modes' questions with message boxes and file dialogs.
class Kestrix final : public Bcl_sdi, public Mode_view, private Save_prompt, private File_chooser, private Message_box {
public:
    static constexpr int definition_page = 0;
    static constexpr int data_page = 1;

    explicit Kestrix(Data_mgr& document);
    ~Kestrix() override;

    // Creates the window with its accelerators and help, then opens the files named
    // by `arguments` (the program's arguments). False when the window cannot be made.
    bool start(std::span<const std::string> arguments);

    // What the modes, the dialogs and the views ask of the window.
    void refresh_definition_list(Define* select) override;
    void rebuild_data_tree(Data_place show) override;
    void refresh_dump() override;
    void update_title() override;
    void update_command_states() override;
    // Selects the component that holds `byte` in the data tree and list (a click in
    // the dump view).
    void select_byte(Data_node* byte);

    // The page shown, and switching to it as a click on its tab does.
    [[nodiscard]] int page() const { return tab_.selected(); }
    void show_page(int page);
    [[nodiscard]] bool in_data_mode() const { return current_ == &state_data_; }

protected:
    void on_create() override;
    void on_command(int id) override;
    void on_close() override;
    void on_help() override;
    void on_files_dropped(const std::vector<File_path>& files) override;

private:
    // Window creation, in its steps.
    void create_toolbar();
    void create_pages();
    void connect_keys();
    void fill_command_table();

    // The page switch: the mode, its menu and the command states follow the page.
    void switch_to_page(int page);
    bool handle_focus_key(Focus_place from, const Bcl_key_event& key);
    Bcl_wnd& window_of(Focus_place place);

    // Commands that are the window's own.
    void export_text();
    void edit_settings();
    void show_version();
    // Commands of the definition list and the data list: they open the dialogs of
    // their items, which come with the definition and data pages.
    void add_definition_item(Def_kind kind);
    void edit_definition_row();
    void delete_definition_row();
    void add_data();
    void edit_data();
    void delete_data();

    // The definition list: its rows shown from the row table, its popup, and what
    // follows every change of the definition.
    void show_definition_rows(std::size_t first, std::size_t count, bool insert);
    void select_definition_item(const Define* item);
    void definition_popup();
    void definition_changed();
    // Dragging a definition row: it starts on a row that can be deleted, and a drop
    // moves the row's item before the target row's item.
    void start_drag(int row);
    void move_definition_row(int source, int target);

    // The data tree: containers opened as they are selected, at most
    // max_expanded_items of them expanded at a time.
    void insert_container_items(Bcl_tree_item item, Component& component);
    void tree_selection_changed(Bcl_tree_item item);
    void open_container_item(Bcl_tree_item item);
    void expand_container_item(Bcl_tree_item item, Component& container);
    void collapse_container_item(Bcl_tree_item item);
    void show_container(Component& container);
    void show_place(const Data_place& place);
    // The data list: its selection, popup and double-click or Enter.
    void data_row_selected(int row);
    void highlight_component(const Component* component);
    void fill_data_list(Component& container);
    void data_popup();
    void data_row_activated(int row);
    [[nodiscard]] Component* selected_data_component() const;
    // After a change of the data: analysed again, views refilled showing `place`.
    void data_changed(Data_place place);

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

    // Save_prompt, File_chooser, Message_box.
    Answer ask_save(const std::string& text) override;
    std::optional<File_path> choose_open(std::span<const File_filter> filters) override;
    std::optional<File_path> choose_save(std::span<const File_filter> filters) override;
    void show_message(const std::string& text) override;
    void show_failure(const std::string& text) override;

    Data_mgr& document_;
    Bcl_toolbar toolbar_;
    Bcl_tab tab_;
    Bcl_listview definition_list_;
    Bcl_listview data_list_;
    Dump_wnd dump_;
    Bcl_vsplit vertical_split_;
    Bcl_hsplit horizontal_split_;
    Bcl_treeview data_tree_;
    // Tree item -> the component it shows.
    std::map<Bcl_tree_item, Component*> tree_components_;
    // Tree items whose container has its children analysed and inserted, oldest first.
    std::deque<Bcl_tree_item> expanded_items_;
    bool ignore_tree_selection_ = false;
    // The definition list's rows, their texts and what each stands for.
    std::vector<Def_row> definition_rows_;
    List_drag definition_drag_;
    // The data list's rows: the component each shows.
    std::vector<Component*> data_rows_;
    User_io user_;
    State_def state_def_;
    State_data state_data_;
    State* current_;
    Bcl_statusbar status_;
    std::map<int, std::function<void()>> commands_;
};
