#include "ui/kestrix.h"

#include "toolkit/gui/bcl_htmlhelp.h"
#include "ui/core/command_line.h"
#include "ui/core/dump_caret.h"
#include "ui/core/help_topics.h"
#include "ui/core/mode_commands.h"
#include "ui/core/title.h"
#include "ui/menu_items.h"

namespace {

namespace control_id {
constexpr int toolbar = 4001;
constexpr int tab = 2100;
} // namespace control_id

} // namespace

Kestrix::Kestrix(Data_mgr& document)
    : document_(document), questions_(*this), definition_(document, questions_, *this), data_(document, *this),
      state_def_(document, *this, questions_.io()), state_data_(document, *this, questions_.io()), current_(&state_def_)
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
    current_ = &state_def_;
    refresh_definition_list(nullptr);
    rebuild_data_tree({});
    update_title();
    update_command_states();
    definition_.list().set_focus();
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
    const auto focus_key = [this](Focus_place from, const Bcl_key_event& key) { return handle_focus_key(from, key); };
    definition_.create(tab_, focus_key);
    tab_.add_page("定義", definition_.list());
    data_.create(tab_, client_width(), client_height(), focus_key);
    tab_.add_page("データ", data_.window());
    data_.add_caret_listener([this](std::uint32_t, std::uint32_t) { show_caret_status(); });
    // The menu's check mark follows the panel, also when it is closed on its own.
    data_.set_inspector_listener([this](bool shown) { check_menu_item(cmd::inspector, shown); });
    tab_.select(definition_page);

    tab_.set_change_handler([this](int page) { switch_to_page(page); });
    tab_.set_key_handler([this](const Bcl_key_event& key) { return handle_focus_key(Focus_place::tab_control, key); });
}

// ---- pages, modes and focus ----

void Kestrix::show_page(int page)
{
    tab_.select(page);
    switch_to_page(page);
}

void Kestrix::switch_to_page(int page)
{
    definition_.cancel_drag();
    current_ = page == data_page ? static_cast<State*>(&state_data_) : &state_def_;
    set_menu(menu_items(page == data_page ? menu_name::data_bar : menu_name::definition_bar));
    update_command_states();
    show_caret_status();
}

void Kestrix::show_caret_status()
{
    const Dump_caret& caret = data_.dump().caret();
    status_.set_resting_text(tab_.selected() == data_page
                                 ? caret_status_text(caret.caret, caret.selection_length(), document_.size())
                                 : std::string());
}

Bcl_wnd& Kestrix::window_of(Focus_place place)
{
    switch (place) {
    case Focus_place::definition_list:
        return definition_.list();
    case Focus_place::data_tree:
        return data_.tree();
    case Focus_place::data_list:
        return data_.list();
    case Focus_place::dump_view:
        return data_.dump();
    case Focus_place::inspector:
        return data_.inspector().list();
    case Focus_place::find_bar:
        return data_.find_bar().window();
    case Focus_place::tab_control:
        break;
    }
    return tab_;
}

// Ctrl+Tab toggles the page; Tab and Shift+Tab go round the shown page's controls.
bool Kestrix::handle_focus_key(Focus_place from, const Bcl_key_event& key)
{
    if (key.key != Bcl_key::tab)
        return false;
    if (key.ctrl) {
        const int page = tab_.selected() == definition_page ? data_page : definition_page;
        show_page(page);
        window_of(page == definition_page ? Focus_place::definition_list : Focus_place::data_tree).set_focus();
        return true;
    }
    const Shown_panels panels{data_.inspector_shown(), data_.find_bar().window().is_visible()};
    const Focus_place to = next_focus(from, tab_.selected(), key.shift, panels);
    // Backwards into the find bar: its last control, as Tab inside it goes.
    if (to == Focus_place::find_bar && key.shift)
        data_.find_bar().window().focus_last();
    else
        window_of(to).set_focus();
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
    check_menu_item(cmd::inspector, data_.inspector_shown());
    toolbar_.show_button(cmd::text_export, settings);
    toolbar_.enable_button(cmd::undo, can_undo);
    toolbar_.enable_button(cmd::redo, can_redo);
    toolbar_.show_button(cmd::settings, settings);
}

void Kestrix::document_changed()
{
    update_title();
    update_command_states();
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
    definition_.cancel_drag();
    bring_to_front();
    open_dropped(*current_, files);
}

// The data page's panels have pages of their own.
void Kestrix::on_help()
{
    int topic = help_topic::definition_page;
    if (tab_.selected() == data_page) {
        topic = help_topic::data_page;
        if (data_.find_bar().window().has_focus())
            topic = help_topic::find_bar;
        else if (data_.inspector().list().has_focus())
            topic = help_topic::inspector;
    }
    help_viewer().show_topic(this, topic);
}
