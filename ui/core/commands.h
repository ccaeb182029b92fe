#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

// The command ids that menus, toolbar buttons, accelerators and tests dispatch.
namespace cmd {
constexpr int file_new = 2200;
constexpr int file_open = 2201;
constexpr int text_export = 2202;
constexpr int file_save = 2203;
constexpr int file_save_as = 2204;
constexpr int exit = 2205;
constexpr int undo = 2206;
constexpr int redo = 2207;
constexpr int settings = 2208;
constexpr int help = 2209;
constexpr int version = 2210;
constexpr int data_add = 2300;
constexpr int data_edit = 2301;
constexpr int data_delete = 2302;
// The data page's own: "移動" (go to an offset).
constexpr int go_to = 2320;
// The data page's find bar: open it, search forwards, search backwards.
constexpr int find = 2321;
constexpr int find_next = 2322;
constexpr int find_previous = 2323;
// The data page's 表示 menu: shows or hides the inspector panel.
constexpr int inspector = 2330;
// The inspector's popup; Ctrl+C in the panel does the same.
constexpr int inspector_copy = 2331;
// The popup of the dialogs' lists (named values, bit flags): the same words as the
// data page's, but the dialog's own rows, never the data.
constexpr int list_add = 2310;
constexpr int list_edit = 2311;
constexpr int list_delete = 2312;
// 2401-2410 add a definition item of one kind each, in the order of Def_kind.
constexpr int def_add_first = 2401;
constexpr int def_add_last = 2410;
constexpr int def_edit = 2411;
constexpr int def_delete = 2412;
// The kinds added later follow the edit commands: 2413 adds a float.
constexpr int def_add_float = 2413;
// 2414 adds a byte block.
constexpr int def_add_block = 2414;
} // namespace cmd

// The item kinds the add commands create: 2401 + kind up to def_ref, then the kinds
// added later.
enum class Def_kind { integer, fix_str, flex_str, null_str, if_branch, for_loop, while_loop, set_variable, def_set, def_ref, floating,
                      byte_block };

// The command that adds an item of `kind`.
[[nodiscard]] int add_command(Def_kind kind);
// Every kind in the order of the add menu.
[[nodiscard]] std::span<const Def_kind> def_kinds_in_menu_order();

// One command: its id, its menu text with the mnemonic, its accelerator in the form
// "Ctrl+N" (empty for none) and whether only the definition mode's menu holds it.
// Texts are UTF-8.
struct Command {
    int id;
    std::string_view text;
    std::string_view key;
    bool definition_only;
};

// Every command, each id once.
[[nodiscard]] std::span<const Command> command_table();
// The command with `id`, or null.
[[nodiscard]] const Command* find_command(int id);

// A menu item: a command (by id; its text comes from the table), a separator, or a
// submenu with its own title.
struct Menu_entry {
    enum class Kind { command, separator, submenu };
    Kind kind = Kind::command;
    int id = 0;
    std::string text;
    std::vector<Menu_entry> children;
};

// Menus by resource name: "IDM_MAIN" and "IDM_MAIN_FOR_DATA" (menu bars: a list of
// submenus), "IDM_DEF_POPUP", "IDM_POPUP", "IDM_LIST_POPUP" and
// "IDM_INSPECTOR_POPUP" (popups: their
// items). Empty for an unknown name.
[[nodiscard]] std::vector<Menu_entry> menu_resource(std::string_view name);

namespace menu_name {
constexpr std::string_view definition_bar = "IDM_MAIN";
constexpr std::string_view data_bar = "IDM_MAIN_FOR_DATA";
constexpr std::string_view definition_popup = "IDM_DEF_POPUP";
constexpr std::string_view data_popup = "IDM_POPUP";
constexpr std::string_view list_popup = "IDM_LIST_POPUP";
constexpr std::string_view inspector_popup = "IDM_INSPECTOR_POPUP";
} // namespace menu_name

// One accelerator of "IDA_ACCEL": the key and the command it dispatches.
struct Accelerator {
    std::string_view key;
    int id;
};
// The accelerators: every command with a key, in table order.
[[nodiscard]] std::vector<Accelerator> accelerator_table();

// The toolbar's images: standard ones the toolkit supplies and the two of the
// program's own bitmap (resource 2500).
enum class Tool_image { std_new, std_open, std_save, own_export, std_undo, std_redo, std_properties, own_help };
constexpr int toolbar_bitmap_id = 2500;
constexpr int toolbar_bitmap_images = 2;

// A toolbar button (or, with id 0, a separator) with its tooltip text.
struct Tool_button {
    Tool_image image;
    int id;
    bool enabled;
    std::string_view text;
};
[[nodiscard]] std::span<const Tool_button> toolbar_buttons();
