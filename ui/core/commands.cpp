#include "ui/core/commands.h"

#include <algorithm>
#include <array>

namespace {

// In the order of the file, edit and help menus, then the popups' commands.
constexpr std::array commands{
    Command{cmd::file_new, "新規作成(&N)", "Ctrl+N", false},
    Command{cmd::file_open, "開く(&O)", "Ctrl+O", false},
    Command{cmd::file_save, "保存(&S)", "Ctrl+S", false},
    Command{cmd::file_save_as, "名前をつけて保存(&A)", "", false},
    Command{cmd::text_export, "解析して出力", "", true},
    Command{cmd::exit, "終了(&X)", "", false},
    Command{cmd::undo, "元に戻す", "Ctrl+Z", false},
    Command{cmd::redo, "やり直し", "Ctrl+Y", false},
    Command{cmd::settings, "環境設定", "Ctrl+E", true},
    Command{cmd::go_to, "移動", "Ctrl+G", false},
    Command{cmd::find, "検索", "Ctrl+F", false},
    Command{cmd::find_next, "次を検索", "F3", false},
    Command{cmd::find_previous, "前を検索", "Shift+F3", false},
    Command{cmd::help, "ヘルプ(&H)", "", false},
    Command{cmd::version, "バージョン情報(&V)", "", false},
    Command{cmd::def_add_first + 0, "整数", "", false},
    Command{cmd::def_add_float, "浮動小数点数", "", false},
    Command{cmd::def_add_first + 1, "固定長文字列", "", false},
    Command{cmd::def_add_block, "バイト列", "", false},
    Command{cmd::def_add_first + 2, "可変長文字列", "", false},
    Command{cmd::def_add_first + 3, "NULL終端文字列", "", false},
    Command{cmd::def_add_first + 4, "If分岐", "", false},
    Command{cmd::def_add_first + 5, "Forループ", "", false},
    Command{cmd::def_add_first + 6, "Whileループ", "", false},
    Command{cmd::def_add_first + 7, "変数設定", "", false},
    Command{cmd::def_add_first + 8, "定義設定", "", false},
    Command{cmd::def_add_first + 9, "定義参照", "", false},
    Command{cmd::def_edit, "編集", "", false},
    Command{cmd::def_delete, "削除", "", false},
    Command{cmd::data_add, "追加", "", false},
    Command{cmd::data_edit, "編集", "", false},
    Command{cmd::data_delete, "削除", "", false},
    Command{cmd::inspector, "インスペクタ(&I)", "Ctrl+I", false},
    Command{cmd::inspector_copy, "コピー", "", false},
    Command{cmd::list_add, "追加", "", false},
    Command{cmd::list_edit, "編集", "", false},
    Command{cmd::list_delete, "削除", "", false},
};

constexpr std::array tool_buttons{
    Tool_button{Tool_image::std_new, cmd::file_new, true, "新規作成"},
    Tool_button{Tool_image::std_open, cmd::file_open, true, "開く"},
    Tool_button{Tool_image::std_save, cmd::file_save, true, "保存"},
    Tool_button{Tool_image::own_export, cmd::text_export, true, "解析して出力"},
    Tool_button{Tool_image::std_new, 0, false, ""},
    Tool_button{Tool_image::std_undo, cmd::undo, false, "元に戻す"},
    Tool_button{Tool_image::std_redo, cmd::redo, false, "やり直し"},
    Tool_button{Tool_image::std_properties, cmd::settings, true, "環境設定"},
    Tool_button{Tool_image::std_new, 0, false, ""},
    Tool_button{Tool_image::own_help, cmd::help, true, "ヘルプ"},
};

Menu_entry item(int id) { return {Menu_entry::Kind::command, id, {}, {}}; }
Menu_entry separator() { return {Menu_entry::Kind::separator, 0, {}, {}}; }
Menu_entry submenu(std::string text, std::vector<Menu_entry> children)
{
    return {Menu_entry::Kind::submenu, 0, std::move(text), std::move(children)};
}

// The menu bar of the definition mode, or with `data` the data mode's before its
// definition-only commands go: the data's edit menu ends with "移動" and the find commands.
std::vector<Menu_entry> menu_bar(bool data)
{
    std::vector<Menu_entry> edit{item(cmd::undo), item(cmd::redo), item(cmd::settings)};
    if (data) {
        edit.push_back(separator());
        edit.push_back(item(cmd::go_to));
        edit.push_back(item(cmd::find));
        edit.push_back(item(cmd::find_next));
        edit.push_back(item(cmd::find_previous));
    }
    return {
        submenu("ファイル(&F)", {item(cmd::file_new), item(cmd::file_open), item(cmd::file_save),
                                 item(cmd::file_save_as), separator(), item(cmd::text_export), separator(),
                                 item(cmd::exit)}),
        submenu("編集(&E)", std::move(edit)),
        submenu("ヘルプ(&H)", {item(cmd::help), item(cmd::version)}),
    };
}

bool definition_only(const Menu_entry& entry)
{
    const Command* command = entry.kind == Menu_entry::Kind::command ? find_command(entry.id) : nullptr;
    return command && command->definition_only;
}

// The same menu without the definition-only commands; a separator that would then
// stand next to another, or at either end, goes too.
std::vector<Menu_entry> without_definition_only(const std::vector<Menu_entry>& entries)
{
    std::vector<Menu_entry> kept;
    for (const Menu_entry& entry : entries) {
        if (definition_only(entry))
            continue;
        if (entry.kind == Menu_entry::Kind::separator &&
            (kept.empty() || kept.back().kind == Menu_entry::Kind::separator))
            continue;
        Menu_entry copy = entry;
        copy.children = without_definition_only(entry.children);
        kept.push_back(std::move(copy));
    }
    if (!kept.empty() && kept.back().kind == Menu_entry::Kind::separator)
        kept.pop_back();
    return kept;
}

// The numbers first, then the strings, then the rest.
constexpr std::array kinds_in_menu_order{Def_kind::integer, Def_kind::floating, Def_kind::fix_str, Def_kind::flex_str,
                                         Def_kind::null_str, Def_kind::byte_block, Def_kind::if_branch,
                                         Def_kind::for_loop, Def_kind::while_loop, Def_kind::set_variable,
                                         Def_kind::def_set, Def_kind::def_ref};

std::vector<Menu_entry> definition_popup()
{
    std::vector<Menu_entry> kinds;
    for (const Def_kind kind : kinds_in_menu_order)
        kinds.push_back(item(add_command(kind)));
    return {submenu("追加", std::move(kinds)), item(cmd::def_edit), item(cmd::def_delete)};
}

} // namespace

std::span<const Command> command_table() { return commands; }

int add_command(Def_kind kind)
{
    if (kind == Def_kind::byte_block)
        return cmd::def_add_block;
    return kind == Def_kind::floating ? cmd::def_add_float : cmd::def_add_first + static_cast<int>(kind);
}

std::span<const Def_kind> def_kinds_in_menu_order() { return kinds_in_menu_order; }

const Command* find_command(int id)
{
    const auto found = std::find_if(commands.begin(), commands.end(), [id](const Command& c) { return c.id == id; });
    return found == commands.end() ? nullptr : &*found;
}

std::vector<Menu_entry> menu_resource(std::string_view name)
{
    if (name == menu_name::definition_bar)
        return menu_bar(false);
    if (name == menu_name::data_bar) {
        // The data page's panels are shown and hidden from a menu of its own.
        std::vector<Menu_entry> bar = without_definition_only(menu_bar(true));
        bar.insert(bar.end() - 1, submenu("表示(&V)", {item(cmd::inspector)}));
        return bar;
    }
    if (name == menu_name::definition_popup)
        return definition_popup();
    if (name == menu_name::data_popup)
        return {item(cmd::data_add), item(cmd::data_edit), item(cmd::data_delete)};
    if (name == menu_name::list_popup)
        return {item(cmd::list_add), item(cmd::list_edit), item(cmd::list_delete)};
    if (name == menu_name::inspector_popup)
        return {item(cmd::inspector_copy)};
    return {};
}

std::vector<Accelerator> accelerator_table()
{
    std::vector<Accelerator> keys;
    for (const Command& command : commands)
        if (!command.key.empty())
            keys.push_back({command.key, command.id});
    return keys;
}

std::span<const Tool_button> toolbar_buttons() { return tool_buttons; }
