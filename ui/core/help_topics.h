#pragma once

#include <array>

// The context ids by which the help pages are asked for.
namespace help_topic {
constexpr int definition_page = 14;
constexpr int settings = 16;
constexpr int integer = 18;  // also the meaning of a value
constexpr int bit_flag = 20;
constexpr int fix_str = 22;
constexpr int flex_str = 24;
constexpr int null_str = 26;
constexpr int if_branch = 28;
constexpr int for_loop = 30;
constexpr int while_loop = 32;
constexpr int set_variable = 34;
constexpr int def_set = 36;
constexpr int def_ref = 38;
constexpr int text_export = 40;
constexpr int data_page = 42;
constexpr int data_add = 44;
constexpr int data_change_int = 46;
constexpr int data_change_hex = 48;
constexpr int data_change_str = 50;
constexpr int data_delete = 52;
constexpr int go_to = 54;
constexpr int find_bar = 56;
constexpr int inspector = 58;
constexpr int floating = 60;
constexpr int data_change_float = 62;
constexpr int byte_block = 64;

// Every topic, each with its page among the help pages.
inline constexpr std::array all{definition_page, settings, integer, bit_flag, fix_str, flex_str, null_str,
                         if_branch, for_loop, while_loop, set_variable, def_set, def_ref, text_export,
                         data_page, data_add, data_change_int, data_change_hex, data_change_str, data_delete, go_to,
                         find_bar, inspector, floating, data_change_float,
                         byte_block};
} // namespace help_topic
