// The main window's command table and the commands that are its own.
#include "toolkit/gui/bcl_htmlhelp.h"
#include "ui/core/mode_commands.h"
#include "ui/core/text_export.h"
#include "ui/dialogs/dlg_analyze.h"
#include "ui/dialogs/dlg_env.h"
#include "ui/dialogs/dlg_goto.h"
#include "ui/dialogs/dlg_version.h"
#include "ui/kestrix.h"

void Kestrix::fill_command_table()
{
    // New, open, save, save as, undo and redo go to the current mode.
    for (int id : {cmd::file_new, cmd::file_open, cmd::file_save, cmd::file_save_as, cmd::undo, cmd::redo})
        commands_[id] = [this, id] { run_mode_command(*current_, id); };
    commands_[cmd::text_export] = [this] { export_text(); };
    commands_[cmd::exit] = [this] { close(); };
    commands_[cmd::settings] = [this] { edit_settings(); };
    commands_[cmd::help] = [this] { help_viewer().show_contents(this); };
    commands_[cmd::version] = [this] { show_version(); };
    for (const Def_kind kind : def_kinds_in_menu_order())
        commands_[add_command(kind)] = [this, kind] { definition_.add_item(kind); };
    commands_[cmd::def_edit] = [this] { definition_.edit_row(); };
    commands_[cmd::def_delete] = [this] { definition_.delete_row(); };
    commands_[cmd::data_add] = [this] { data_.add_data(); };
    commands_[cmd::data_edit] = [this] { data_.edit_data(); };
    commands_[cmd::data_delete] = [this] { data_.delete_data(); };
    commands_[cmd::go_to] = [this] { go_to(); };
    // The keys work on the data page only, where the bar is.
    commands_[cmd::find] = [this] {
        if (in_data_mode())
            data_.find_bar().open();
    };
    for (const auto& [id, direction] :
         {std::pair{cmd::find_next, Find_direction::next}, std::pair{cmd::find_previous, Find_direction::previous}})
        commands_[id] = [this, direction] {
            if (in_data_mode())
                data_.find_bar().find(direction);
        };
    // The key works on the data page only, where the menu has it.
    commands_[cmd::inspector] = [this] {
        if (in_data_mode())
            data_.toggle_inspector();
    };
}

// A command may change the rows or open a dialog: a row drag ends first.
void Kestrix::on_command(int id)
{
    definition_.cancel_drag();
    const auto found = commands_.find(id);
    if (found != commands_.end())
        found->second();
}

void Kestrix::export_text()
{
    Dlg_analyze dialog;
    if (dialog.run(this) == 1)
        run_text_export(document_, questions_, dialog.data_path(), dialog.output_path());
}

void Kestrix::edit_settings()
{
    if (!current_->can_edit_settings())
        return;
    Dlg_env dialog(document_);
    if (dialog.run(this) != 1)
        return;
    document_.analyze();
    data_analysed();
    document_changed();
}

// The key works on either page, but only the data page has somewhere to go.
void Kestrix::go_to()
{
    if (!in_data_mode() || document_.size() == 0)
        return;
    Dlg_goto dialog(data_.dump().caret().caret, document_.size());
    if (dialog.run(this) == 1)
        data_.go_to(dialog.offset());
}

void Kestrix::show_version()
{
    Dlg_version dialog;
    dialog.run(this);
}
