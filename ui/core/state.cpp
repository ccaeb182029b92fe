#include "ui/core/state.h"

#include <array>
#include <string>

#include "ui/core/reporting.h"

// ---- both sides ----

void State_side::change(const std::function<Shown()>& operation)
{
    Shown shown;
    run_reporting(user_.messages, [&] { shown = operation(); });
    // Also after a failure: the views then show whatever the document holds.
    show_changes(shown);
}

void State_side::file_new()
{
    change([&] {
        renew();
        return Shown{};
    });
}

void State_side::file_open()
{
    if (const auto path = user_.files.choose_open(filters()))
        open_file(*path);
}

void State_side::open_file(const File_path& path)
{
    change([&] {
        load(path);
        return Shown{};
    });
}

void State_side::undo()
{
    change([&] { return undo_step(); });
}

void State_side::redo()
{
    change([&] { return redo_step(); });
}

bool State_side::save_to(const File_path& path)
{
    const bool saved = run_reporting(user_.messages, [&] { save(path); });
    // Saving changes nothing the views show but the title's marks.
    view_.update_title();
    view_.update_command_states();
    return saved;
}

bool State_side::file_save()
{
    const File_path path = side_path();
    return path.empty() ? file_save_as() : save_to(path);
}

bool State_side::file_save_as()
{
    const auto path = user_.files.choose_save(filters());
    return path && save_to(*path);
}

bool State_side::query_save()
{
    if (!side_modified())
        return true;
    const File_path path = side_path();
    const std::string text =
        std::string(prompt_prefix()) + (path.empty() ? "無題" : path.display()) + " は変更されています。保存しますか？";
    switch (user_.prompt.ask_save(text)) {
    case Save_prompt::Answer::yes:
        return file_save();
    case Save_prompt::Answer::no:
        return true;
    case Save_prompt::Answer::cancel:
        break;
    }
    return false;
}

namespace {

// "*" and not "*.*": on this system a file name need not contain a dot.
const std::array definition_filters{
    File_filter{"ケストリクス定義ファイル", "*.kxd"},
    File_filter{"全てのファイル", "*"},
};

const std::array data_filters{
    File_filter{"全てのファイル", "*"},
};

} // namespace

// ---- definition mode ----

File_path State_def::side_path() const { return document().definition_path(); }
std::span<const File_filter> State_def::filters() const { return definition_filters; }
void State_def::renew() { document().new_definition(); }
void State_def::load(const File_path& path) { document().load_definition(path); }
void State_def::save(const File_path& path) { document().save_definition(path); }
State_side::Shown State_def::undo_step() { return {{}, document().undo_definition()}; }
State_side::Shown State_def::redo_step() { return {{}, document().redo_definition()}; }

void State_def::show_changes(const Shown& shown)
{
    view().refresh_definition_list(shown.item);
    view().rebuild_data_tree({});
    view().update_title();
    view().update_command_states();
}

// ---- data mode ----

File_path State_data::side_path() const { return document().data_path(); }
std::span<const File_filter> State_data::filters() const { return data_filters; }
void State_data::renew() { document().new_data(); }
void State_data::load(const File_path& path) { document().load_data(path); }
void State_data::save(const File_path& path) { document().save_data(path); }
State_side::Shown State_data::undo_step() { return {document().undo_data(), nullptr}; }
State_side::Shown State_data::redo_step() { return {document().redo_data(), nullptr}; }

void State_data::show_changes(const Shown& shown)
{
    view().refresh_dump();
    view().rebuild_data_tree(shown.place);
    view().update_title();
    view().update_command_states();
}
