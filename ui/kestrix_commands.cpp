// The main window's command table and the commands that are its own.
#include "toolkit/gui/bcl_filedlg.h"
#include "toolkit/gui/bcl_htmlhelp.h"
#include "toolkit/gui/bcl_msgbox.h"
#include "ui/core/mode_commands.h"
#include "ui/core/text_export.h"
#include "ui/dialogs/dlg_analyze.h"
#include "ui/dialogs/dlg_env.h"
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
    for (int id = cmd::def_add_first; id <= cmd::def_add_last; ++id)
        commands_[id] = [this, id] { add_definition_item(static_cast<Def_kind>(id - cmd::def_add_first)); };
    commands_[cmd::def_edit] = [this] { edit_definition_row(); };
    commands_[cmd::def_delete] = [this] { delete_definition_row(); };
    commands_[cmd::data_add] = [this] { add_data(); };
    commands_[cmd::data_edit] = [this] { edit_data(); };
    commands_[cmd::data_delete] = [this] { delete_data(); };
}

// A command may change the rows or open a dialog: a row drag ends first.
void Kestrix::on_command(int id)
{
    definition_drag_.cancel();
    const auto found = commands_.find(id);
    if (found != commands_.end())
        found->second();
}

void Kestrix::export_text()
{
    Dlg_analyze dialog;
    if (dialog.run(this) == 1)
        run_text_export(document_, *this, dialog.data_path(), dialog.output_path());
}

void Kestrix::edit_settings()
{
    if (!current_->can_edit_settings())
        return;
    Dlg_env dialog(document_);
    if (dialog.run(this) != 1)
        return;
    document_.analyze();
    rebuild_data_tree({});
    update_title();
    update_command_states();
}

void Kestrix::show_version()
{
    Dlg_version dialog;
    dialog.run(this);
}

// ---- the user's answers ----

Save_prompt::Answer Kestrix::ask_save(const std::string& text)
{
    switch (bcl_message_box(this, text, "ケストリクス", Bcl_buttons::yes_no_cancel)) {
    case Bcl_answer::yes:
        return Answer::yes;
    case Bcl_answer::no:
        return Answer::no;
    case Bcl_answer::ok:
    case Bcl_answer::cancel:
        break;
    }
    return Answer::cancel;
}

namespace {

std::optional<File_path> choose(Bcl_wnd* owner, Bcl_filedlg::Mode mode, std::span<const File_filter> filters)
{
    Bcl_filedlg dialog(mode);
    for (const File_filter& filter : filters)
        dialog.add_filter(filter.description, filter.pattern);
    if (dialog.run(owner) != 1)
        return std::nullopt;
    return dialog.path();
}

} // namespace

std::optional<File_path> Kestrix::choose_open(std::span<const File_filter> filters)
{
    return choose(this, Bcl_filedlg::Mode::open, filters);
}

std::optional<File_path> Kestrix::choose_save(std::span<const File_filter> filters)
{
    return choose(this, Bcl_filedlg::Mode::save, filters);
}

void Kestrix::show_message(const std::string& text) { bcl_message_box(this, text, "ケストリクス"); }

void Kestrix::show_failure(const std::string& text)
{
    bcl_message_box(this, text, "ケストリクス", Bcl_buttons::ok, Bcl_icon::warning);
}
