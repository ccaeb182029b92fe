// The command table, the menus and accelerators made from it, and how the command
// table runs the file and undo commands on a mode.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "ui/core/command_line.h"
#include "ui/core/commands.h"
#include "ui/core/focus_order.h"
#include "ui/core/help_topics.h"
#include "ui/core/mode_commands.h"
#include "ui/core/state.h"

namespace {

// The items of a menu as text: command texts, "-" for separators, submenus as
// "title{...}".
std::string layout(const std::vector<Menu_entry>& entries)
{
    std::string text;
    for (const Menu_entry& entry : entries) {
        if (!text.empty())
            text += " ";
        switch (entry.kind) {
        case Menu_entry::Kind::command:
            text += std::string(find_command(entry.id)->text);
            break;
        case Menu_entry::Kind::separator:
            text += "-";
            break;
        case Menu_entry::Kind::submenu:
            text += entry.text + "{" + layout(entry.children) + "}";
            break;
        }
    }
    return text;
}

void collect_ids(const std::vector<Menu_entry>& entries, std::vector<int>& ids)
{
    for (const Menu_entry& entry : entries) {
        if (entry.kind == Menu_entry::Kind::command)
            ids.push_back(entry.id);
        collect_ids(entry.children, ids);
    }
}

TEST(Command_table, HoldsEveryIdOnceAndEveryMenuItemIsInIt)
{
    std::set<int> ids;
    for (const Command& command : command_table())
        EXPECT_TRUE(ids.insert(command.id).second) << command.id;
    std::set<int> expected;
    for (int id = 2200; id <= 2210; ++id)
        expected.insert(id);
    for (int id = 2300; id <= 2302; ++id)
        expected.insert(id);
    for (int id = 2310; id <= 2312; ++id)
        expected.insert(id);
    for (int id = 2320; id <= 2323; ++id)
        expected.insert(id);
    expected.insert(2330);
    expected.insert(2331);
    for (int id = 2401; id <= 2414; ++id)
        expected.insert(id);
    EXPECT_EQ(ids, expected);

    for (const char* name : {"IDM_MAIN", "IDM_MAIN_FOR_DATA", "IDM_DEF_POPUP", "IDM_POPUP", "IDM_LIST_POPUP", "IDM_INSPECTOR_POPUP"}) {
        std::vector<int> menu_ids;
        collect_ids(menu_resource(name), menu_ids);
        EXPECT_FALSE(menu_ids.empty()) << name;
        for (int id : menu_ids)
            EXPECT_NE(find_command(id), nullptr) << name << " " << id;
    }
    EXPECT_TRUE(menu_resource("IDM_NONE").empty());
}

TEST(Command_table, MenusOfBothModesAndThePopups)
{
    EXPECT_EQ(layout(menu_resource(menu_name::definition_bar)),
              "ファイル(&F){新規作成(&N) 開く(&O) 保存(&S) 名前をつけて保存(&A) - 解析して出力 - 終了(&X)} "
              "編集(&E){元に戻す やり直し 環境設定} ヘルプ(&H){ヘルプ(&H) バージョン情報(&V)}");
    // The data mode's menu lacks the text export and the settings, and has the
    // inspector's menu.
    EXPECT_EQ(layout(menu_resource(menu_name::data_bar)),
              "ファイル(&F){新規作成(&N) 開く(&O) 保存(&S) 名前をつけて保存(&A) - 終了(&X)} "
              "編集(&E){元に戻す やり直し - 移動 検索 次を検索 前を検索} 表示(&V){インスペクタ(&I)} ヘルプ(&H){ヘルプ(&H) バージョン情報(&V)}");
    EXPECT_EQ(layout(menu_resource(menu_name::definition_popup)),
              "追加{整数 浮動小数点数 固定長文字列 可変長文字列 NULL終端文字列 バイト列 If分岐 Forループ Whileループ 変数設定 定義設定 "
              "定義参照} 編集 削除");
    EXPECT_EQ(layout(menu_resource(menu_name::data_popup)), "追加 編集 削除");
    EXPECT_EQ(layout(menu_resource(menu_name::list_popup)), "追加 編集 削除");
}

TEST(Command_table, AcceleratorsAreTheCommandsKeys)
{
    std::vector<std::string> keys;
    for (const Accelerator& accelerator : accelerator_table())
        keys.push_back(std::string(accelerator.key) + "=" + std::to_string(accelerator.id));
    EXPECT_EQ(keys, (std::vector<std::string>{"Ctrl+N=2200", "Ctrl+O=2201", "Ctrl+S=2203", "Ctrl+Z=2206",
                                              "Ctrl+Y=2207", "Ctrl+E=2208", "Ctrl+G=2320", "Ctrl+F=2321", "F3=2322",
                                              "Shift+F3=2323", "Ctrl+I=2330"}));
}

TEST(Command_table, ToolbarButtonsInOrder)
{
    std::string text;
    for (const Tool_button& button : toolbar_buttons())
        text += button.id == 0 ? std::string("|") : std::to_string(button.id) + (button.enabled ? "+" : "-") + std::string(button.text) + " ";
    EXPECT_EQ(text, "2200+新規作成 2201+開く 2203+保存 2202+解析して出力 |2206-元に戻す 2207-やり直し 2208+環境設定 |2209+ヘルプ ");
}

// A mode that records which of its operations ran and answers from fixed values.
class Recording_state : public State {
public:
    void file_new() override { calls += "new "; }
    void file_open() override { calls += "open "; }
    void open_file(const File_path& path) override { calls += "open_file(" + path.bytes() + ") "; }
    bool file_save() override { calls += "save "; return true; }
    bool file_save_as() override { calls += "save_as "; return true; }
    bool query_save() override { calls += "query "; return agrees; }
    void undo() override { calls += "undo "; }
    void redo() override { calls += "redo "; }
    bool can_edit_settings() const override { return false; }
    bool can_undo() const override { return has_steps; }
    bool can_redo() const override { return has_steps; }

    std::string calls;
    bool agrees = true;
    bool has_steps = true;
};

struct Mode_command_case {
    int id;
    bool agrees;
    bool has_steps;
    const char* calls;
};

class Mode_command_test : public testing::TestWithParam<Mode_command_case> {};

TEST_P(Mode_command_test, RunsTheModeOperationOnlyWhenItsCheckAgrees)
{
    const Mode_command_case& c = GetParam();
    Recording_state mode;
    mode.agrees = c.agrees;
    mode.has_steps = c.has_steps;
    EXPECT_TRUE(run_mode_command(mode, c.id));
    EXPECT_EQ(mode.calls, c.calls);
}

INSTANTIATE_TEST_SUITE_P(Commands, Mode_command_test,
                         testing::Values(Mode_command_case{cmd::file_new, true, true, "query new "},
                                         Mode_command_case{cmd::file_new, false, true, "query "},
                                         Mode_command_case{cmd::file_open, true, true, "query open "},
                                         Mode_command_case{cmd::file_open, false, true, "query "},
                                         Mode_command_case{cmd::file_save, false, true, "save "},
                                         Mode_command_case{cmd::file_save_as, false, true, "save_as "},
                                         Mode_command_case{cmd::undo, true, true, "undo "},
                                         Mode_command_case{cmd::undo, true, false, ""},
                                         Mode_command_case{cmd::redo, true, true, "redo "},
                                         Mode_command_case{cmd::redo, true, false, ""}));

TEST(Mode_commands, OtherIdsAreNotTheModes)
{
    Recording_state mode;
    for (int id : {cmd::text_export, cmd::settings, cmd::exit, cmd::help, cmd::version, cmd::data_add, cmd::def_edit})
        EXPECT_FALSE(run_mode_command(mode, id)) << id;
    EXPECT_EQ(mode.calls, "");
}

TEST(Mode_commands, ClosingAsksTheDefinitionFirstAndStopsAtTheFirstRefusal)
{
    Recording_state definition;
    Recording_state data;
    EXPECT_TRUE(query_close(definition, data));
    EXPECT_EQ(definition.calls + "| " + data.calls, "query | query ");

    Recording_state refusing_definition;
    refusing_definition.agrees = false;
    Recording_state data2;
    EXPECT_FALSE(query_close(refusing_definition, data2));
    EXPECT_EQ(data2.calls, "");

    Recording_state definition3;
    Recording_state refusing_data;
    refusing_data.agrees = false;
    EXPECT_FALSE(query_close(definition3, refusing_data));
}

TEST(Mode_commands, ADropOpensTheFirstFileAfterThePrompt)
{
    Recording_state mode;
    const std::vector<File_path> files{File_path("/tmp/a.kxd"), File_path("/tmp/b.bin")};
    open_dropped(mode, files);
    EXPECT_EQ(mode.calls, "query open_file(/tmp/a.kxd) ");

    Recording_state refusing;
    refusing.agrees = false;
    open_dropped(refusing, files);
    EXPECT_EQ(refusing.calls, "query ");
}

struct Command_line_case {
    std::vector<std::string> args;
    const char* definition;  // null: none
    const char* data;
};

class Command_line_test : public testing::TestWithParam<Command_line_case> {};

TEST_P(Command_line_test, FindsTheDefinitionAndTheDataFile)
{
    const Command_line_case& c = GetParam();
    const Start_files files = parse_command_line(c.args);
    EXPECT_EQ(files.definition ? files.definition->bytes().c_str() : "-", std::string(c.definition ? c.definition : "-"));
    EXPECT_EQ(files.data ? files.data->bytes().c_str() : "-", std::string(c.data ? c.data : "-"));
}

INSTANTIATE_TEST_SUITE_P(
    Args, Command_line_test,
    testing::Values(Command_line_case{{}, nullptr, nullptr},
                    Command_line_case{{"/d", "p.kxd", "a.png"}, "p.kxd", "a.png"},
                    Command_line_case{{"/d", "p.kxd"}, "p.kxd", nullptr},
                    Command_line_case{{"a.png"}, nullptr, "a.png"},
                    // Quoted by the shell: one argument with its spaces.
                    Command_line_case{{"/d", "my defs/p.kxd", "my data.png"}, "my defs/p.kxd", "my data.png"},
                    // An absolute path starting with "/d" is a data file, not the switch.
                    Command_line_case{{"/data/x.bin"}, nullptr, "/data/x.bin"},
                    Command_line_case{{"/d"}, nullptr, nullptr},
                    Command_line_case{{"/d", "", "a.png"}, nullptr, "a.png"},
                    Command_line_case{{"a.png", "b.png"}, nullptr, "a.png"}));

struct Focus_case {
    Focus_place from;
    int page;
    Shown_panels panels;
    Focus_place forward;
    Focus_place backward;
};

class Focus_order_test : public testing::TestWithParam<Focus_case> {};

TEST_P(Focus_order_test, TabAndShiftTabGoRoundTheShownPage)
{
    const Focus_case& c = GetParam();
    EXPECT_EQ(next_focus(c.from, c.page, false, c.panels), c.forward);
    EXPECT_EQ(next_focus(c.from, c.page, true, c.panels), c.backward);
}

using F = Focus_place;
INSTANTIATE_TEST_SUITE_P(Controls, Focus_order_test,
                         testing::Values(Focus_case{F::data_tree, 1, {}, F::data_list, F::tab_control},
                                         Focus_case{F::data_list, 1, {}, F::dump_view, F::data_tree},
                                         Focus_case{F::dump_view, 1, {}, F::tab_control, F::data_list},
                                         Focus_case{F::definition_list, 0, {}, F::tab_control, F::tab_control},
                                         Focus_case{F::tab_control, 0, {}, F::definition_list, F::definition_list},
                                         // The definition page has no panels.
                                         Focus_case{F::tab_control, 0, {true, true}, F::definition_list,
                                                    F::definition_list},
                                         Focus_case{F::tab_control, 1, {}, F::data_tree, F::dump_view},
                                         // Shown panels come after the dump, the inspector first.
                                         Focus_case{F::dump_view, 1, {true, true}, F::inspector, F::data_list},
                                         Focus_case{F::inspector, 1, {true, true}, F::find_bar, F::dump_view},
                                         Focus_case{F::find_bar, 1, {true, true}, F::tab_control, F::inspector},
                                         Focus_case{F::tab_control, 1, {true, true}, F::data_tree, F::find_bar},
                                         Focus_case{F::dump_view, 1, {false, true}, F::find_bar, F::data_list},
                                         Focus_case{F::tab_control, 1, {true, false}, F::data_tree, F::inspector},
                                         // A panel closed while it had the focus goes on as the tab control.
                                         Focus_case{F::find_bar, 1, {true, false}, F::data_tree, F::inspector}));

TEST(Help_topics, EveryTopicHasItsPageAndTheContentsLinkIt)
{
    const std::filesystem::path folder = std::filesystem::path(KESTRIX_SOURCE_DIR) / "res" / "help";
    ASSERT_TRUE(std::filesystem::exists(folder / "index.html"));
    std::ifstream index_file(folder / "index.html");
    const std::string index((std::istreambuf_iterator<char>(index_file)), {});
    std::set<int> ids;
    for (int id : help_topic::all) {
        EXPECT_TRUE(ids.insert(id).second) << id;
        const std::string page = "topic_" + std::to_string(id) + ".html";
        EXPECT_TRUE(std::filesystem::exists(folder / page)) << page;
        EXPECT_NE(index.find("href=\"" + page + "\""), std::string::npos) << page;
    }
    // Every even id from 14 to 64.
    EXPECT_EQ(ids.size(), 26u);
    EXPECT_EQ(*ids.begin(), 14);
    EXPECT_EQ(*ids.rbegin(), 64);
}

TEST(Help_topics, EveryLinkOfThePagesLeadsToAPage)
{
    const std::filesystem::path folder = std::filesystem::path(KESTRIX_SOURCE_DIR) / "res" / "help";
    const std::string href = "href=\"";
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::ifstream file(entry.path());
        const std::string page((std::istreambuf_iterator<char>(file)), {});
        for (std::size_t at = page.find(href); at != std::string::npos; at = page.find(href, at)) {
            at += href.size();
            const std::string target = page.substr(at, page.find('"', at) - at);
            EXPECT_TRUE(std::filesystem::exists(folder / target)) << entry.path().filename() << " links " << target;
        }
    }
}

} // namespace
