#include "ui/kestrix.h"

#include "toolkit/gui/bcl_htmlhelp.h"
#include "ui/core/command_line.h"
#include "ui/core/definition_drop.h"
#include "ui/core/help_topics.h"
#include "ui/core/mode_commands.h"
#include "ui/core/title.h"
#include "ui/menu_items.h"

namespace {

namespace control_id {
constexpr int toolbar = 4001;
constexpr int tab = 2100;
constexpr int definition_list = 2101;
constexpr int vertical_split = 2102;
constexpr int horizontal_split = 2103;
constexpr int data_list = 2104;
constexpr int data_tree = 2105;
} // namespace control_id

struct Column {
    const char* header;
    int width;
};

constexpr Column definition_columns[] = {{"サイズ", 80}, {"符号", 50}, {"内容", 350}, {"変数", 100}, {"備考", 100}};
constexpr Column data_columns[] = {{"名称", 200}, {"データ", 200}};

void add_columns(Bcl_listview& list, std::span<const Column> columns)
{
    for (const Column& column : columns)
        list.add_column(column.header, column.width);
}

} // namespace

Kestrix::Kestrix(Data_mgr& document)
    : document_(document), dump_(document),
      definition_drag_(
          definition_list_,
          [this](int source, int target) {
              return drop_allowed(definition_rows_, static_cast<std::size_t>(source), static_cast<std::size_t>(target));
          },
          [this](int source, int target) { move_definition_row(source, target); }),
      user_{*this, *this, *this}, state_def_(document, *this, user_), state_data_(document, *this, user_),
      current_(&state_def_)
{
    fill_command_table();
}

Kestrix::~Kestrix() = default;

bool Kestrix::start(std::span<const std::string> arguments)
{
    set_title("ケストリクス - 無題 [無題]");
    set_menu(menu_items(menu_name::definition_bar));
    if (!create("KestrixMainWnd"))
        return false;
    // Without its accelerators (the toolkit said so) the program still works.
    (void)load_accelerators(accelerator_items());
    help_viewer().set_file("help/index.html");

    const Start_files files = parse_command_line(arguments);
    if (files.definition)
        state_def_.open_file(*files.definition);
    if (files.data) {
        state_data_.open_file(*files.data);
        show_page(data_page);
    }
    return true;
}

void Kestrix::on_create()
{
    accept_files(true);
    create_toolbar();
    status_.create(*this);
    create_pages();
    connect_keys();
    current_ = &state_def_;
    refresh_definition_list(nullptr);
    rebuild_data_tree({});
    update_title();
    update_command_states();
    definition_list_.set_focus();
}

void Kestrix::create_toolbar()
{
    toolbar_.create(*this, control_id::toolbar);
    const int own = toolbar_.add_bitmap(toolbar_bitmap_id, toolbar_bitmap_images);
    for (const Tool_button& button : toolbar_buttons()) {
        if (button.id == 0) {
            toolbar_.add_separator();
            continue;
        }
        int image = own;
        switch (button.image) {
        case Tool_image::std_new:
            image = toolbar_.standard_image(Bcl_std_image::file_new);
            break;
        case Tool_image::std_open:
            image = toolbar_.standard_image(Bcl_std_image::file_open);
            break;
        case Tool_image::std_save:
            image = toolbar_.standard_image(Bcl_std_image::file_save);
            break;
        case Tool_image::std_undo:
            image = toolbar_.standard_image(Bcl_std_image::undo);
            break;
        case Tool_image::std_redo:
            image = toolbar_.standard_image(Bcl_std_image::redo);
            break;
        case Tool_image::std_properties:
            image = toolbar_.standard_image(Bcl_std_image::properties);
            break;
        case Tool_image::own_export:
            image = own;
            break;
        case Tool_image::own_help:
            image = own + 1;
            break;
        }
        toolbar_.add_button(image, button.id, button.enabled, button.text);
    }
}

void Kestrix::create_pages()
{
    tab_.create(*this, control_id::tab);
    set_client(tab_);
    definition_list_.create(tab_, control_id::definition_list);
    add_columns(definition_list_, definition_columns);
    tab_.add_page("定義", definition_list_);

    vertical_split_.create(tab_, control_id::vertical_split);
    horizontal_split_.create(vertical_split_, control_id::horizontal_split);
    dump_.create(vertical_split_);
    vertical_split_.set_panes(horizontal_split_, dump_, client_height() / 2);
    data_tree_.create(horizontal_split_, control_id::data_tree);
    data_list_.create(horizontal_split_, control_id::data_list);
    add_columns(data_list_, data_columns);
    horizontal_split_.set_panes(data_tree_, data_list_, client_width() * 30 / 100);
    tab_.add_page("データ", vertical_split_);
    tab_.select(definition_page);

    tab_.set_change_handler([this](int page) { switch_to_page(page); });
    definition_list_.set_context_handler([this](Bcl_point) { definition_popup(); });
    definition_list_.set_activate_handler([this](int) {
        definition_drag_.cancel();
        edit_definition_row();
    });
    definition_list_.set_drag_handler([this](int row) { start_drag(row); });
    data_tree_.set_selection_handler([this](Bcl_tree_item item) { tree_selection_changed(item); });
    data_list_.set_selection_handler([this](int row) { data_row_selected(row); });
    data_list_.set_context_handler([this](Bcl_point) { data_popup(); });
    data_list_.set_activate_handler([this](int row) { data_row_activated(row); });
}

// ---- pages, modes and focus ----

void Kestrix::show_page(int page)
{
    tab_.select(page);
    switch_to_page(page);
}

void Kestrix::switch_to_page(int page)
{
    definition_drag_.cancel();
    current_ = page == data_page ? static_cast<State*>(&state_data_) : &state_def_;
    set_menu(menu_items(page == data_page ? menu_name::data_bar : menu_name::definition_bar));
    update_command_states();
}

Bcl_wnd& Kestrix::window_of(Focus_place place)
{
    switch (place) {
    case Focus_place::definition_list:
        return definition_list_;
    case Focus_place::data_tree:
        return data_tree_;
    case Focus_place::data_list:
        return data_list_;
    case Focus_place::dump_view:
        return dump_;
    case Focus_place::tab_control:
        break;
    }
    return tab_;
}

void Kestrix::connect_keys()
{
    for (Focus_place place :
         {Focus_place::definition_list, Focus_place::data_tree, Focus_place::data_list, Focus_place::tab_control})
        window_of(place).set_key_handler([this, place](const Bcl_key_event& key) { return handle_focus_key(place, key); });
    // The dump view scrolls with its own keys and hands the Tab keys back.
    dump_.set_owner({.select_byte = [this](Data_node* byte) { select_byte(byte); },
                     .focus_key = [this](const Bcl_key_event& key) {
                         return handle_focus_key(Focus_place::dump_view, key);
                     }});
}

// Ctrl+Tab toggles the page; Tab and Shift+Tab go round the shown page's controls.
// Escape in the definition list cancels a row drag.
bool Kestrix::handle_focus_key(Focus_place from, const Bcl_key_event& key)
{
    if (key.key == Bcl_key::escape && from == Focus_place::definition_list && definition_drag_.active()) {
        definition_drag_.cancel();
        status_.set_text(Bcl_str());
        return true;
    }
    if (key.key != Bcl_key::tab)
        return false;
    if (key.ctrl) {
        const int page = tab_.selected() == definition_page ? data_page : definition_page;
        show_page(page);
        (page == definition_page ? static_cast<Bcl_wnd&>(definition_list_) : data_tree_).set_focus();
        return true;
    }
    window_of(next_focus(from, tab_.selected(), key.shift)).set_focus();
    return true;
}

// ---- title and command states ----

void Kestrix::update_title()
{
    set_title(window_title(document_.data_path(), document_.is_data_modified(), document_.definition_path(),
                           document_.is_definition_modified()));
}

void Kestrix::update_command_states()
{
    const bool can_undo = current_->can_undo();
    const bool can_redo = current_->can_redo();
    const bool settings = current_->can_edit_settings();
    enable_menu_item(cmd::undo, can_undo);
    enable_menu_item(cmd::redo, can_redo);
    toolbar_.show_button(cmd::text_export, settings);
    toolbar_.enable_button(cmd::undo, can_undo);
    toolbar_.enable_button(cmd::redo, can_redo);
    toolbar_.show_button(cmd::settings, settings);
}

// ---- closing, drops, help ----

void Kestrix::on_close()
{
    if (!query_close(state_def_, state_data_))
        return;
    help_viewer().close_all();
    destroy();
}

void Kestrix::on_files_dropped(const std::vector<File_path>& files)
{
    definition_drag_.cancel();
    bring_to_front();
    open_dropped(*current_, files);
}

void Kestrix::on_help()
{
    help_viewer().show_topic(this, tab_.selected() == definition_page ? help_topic::definition_page : help_topic::data_page);
}
