#pragma once

#include <functional>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "document/data_mgr.h"
#include "toolkit/gui/bcl_sdi.h"
#include "toolkit/gui/bcl_statusbar.h"
#include "toolkit/gui/bcl_tab.h"
#include "toolkit/gui/bcl_toolbar.h"
#include "ui/core/focus_order.h"
#include "ui/core/state.h"
#include "ui/data_page.h"
#include "ui/definition_page.h"
#include "ui/page_frame.h"
#include "ui/user_questions.h"

// The main window: the tabs of the definition page and the data page, the two
// modes, the command table, which hands each page its commands, and the title. Its
// questions to the user (`questions_`) go to the modes and the definition page.
class Kestrix final : public Bcl_sdi, public Mode_view, private Page_frame {
public:
    static constexpr int definition_page = 0;
    static constexpr int data_page = 1;

    explicit Kestrix(Data_mgr& document);
    ~Kestrix() override;

    // Creates the window with its accelerators and help, then opens the files named
    // by `arguments` (the program's arguments). False when the window cannot be made.
    bool start(std::span<const std::string> arguments);

    // What the modes ask of the window, handed on to the page that shows it.
    void refresh_definition_list(Define* select) override { definition_.refresh(select); }
    void rebuild_data_tree(Data_place show) override { data_.rebuild_tree(show); }
    void refresh_dump() override { data_.refresh_dump(); }
    void update_title() override;
    void update_command_states() override;
    // Selects the component that holds `byte` in the data tree and list (a click in
    // the dump view).
    void select_byte(Data_node* byte) { data_.select_byte(byte); }

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
    void fill_command_table();

    // The page switch: the mode, its menu and the command states follow the page.
    void switch_to_page(int page);
    // The caret's place in the status bar while the data page is shown.
    void show_caret_status();
    void go_to();
    bool handle_focus_key(Focus_place from, const Bcl_key_event& key);
    Bcl_wnd& window_of(Focus_place place);

    // Commands that are the window's own.
    void export_text();
    void edit_settings();
    void show_version();

    // Page_frame.
    Bcl_wnd& owner() override { return *this; }
    void run_command(int id) override { on_command(id); }
    void set_status_text(const Bcl_str& text) override { status_.set_text(text); }
    void document_changed() override;
    void data_analysed() override { data_.rebuild_tree({}); }

    Data_mgr& document_;
    User_questions questions_;
    Bcl_toolbar toolbar_;
    Bcl_tab tab_;
    Definition_page definition_;
    Data_page data_;
    State_def state_def_;
    State_data state_data_;
    State* current_;
    Bcl_statusbar status_;
    std::map<int, std::function<void()>> commands_;
};
