// The two modes of the main window against the real document, with the user's
// answers scripted: save prompts, file choices, failures and what the views are told.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/document_fixture.h"
#include "support/recording_reporter.h"
#include "support/scripted_user.h"
#include "ui/core/settings_change.h"
#include "ui/core/state.h"
#include "ui/core/text_export.h"

namespace {

const std::string png_definition = std::string(KESTRIX_SOURCE_DIR) + "/examples/png/definition.kxd";
const std::string png_sample = std::string(KESTRIX_SOURCE_DIR) + "/examples/png/sample.png";

using Answer = Save_prompt::Answer;
using Calls = std::vector<std::string>;

const Calls definition_refresh{"refresh_definition_list", "rebuild_data_tree", "update_title", "update_command_states"};
const Calls data_refresh{"refresh_dump", "rebuild_data_tree", "update_title", "update_command_states"};
const Calls title_and_states{"update_title", "update_command_states"};

class Modes_test : public Document_test {
protected:
    Scripted_user user;
    User_io io = user.io();
    Recording_view view;
    State_def definition{doc(), view, io};
    State_data data{doc(), view, io};

    void TearDown() override
    {
        EXPECT_TRUE(user.unexpected.empty()) << user.unexpected.front();
        Document_test::TearDown();
    }
};

TEST_F(Modes_test, OpeningRefreshesTheViewsOfItsSide)
{
    definition.open_file(File_path(png_definition));
    EXPECT_EQ(view.calls, definition_refresh);
    EXPECT_EQ(doc().definition_path().bytes(), png_definition);
    EXPECT_GT(doc().definition_items().size(), 0u);

    view.calls.clear();
    data.open_file(File_path(png_sample));
    EXPECT_EQ(view.calls, data_refresh);
    EXPECT_EQ(doc().data_path().bytes(), png_sample);
    EXPECT_TRUE(user.messages.empty());
}

TEST_F(Modes_test, AFailedOpenShowsThePathAndResetsTheStatusBar)
{
    Recording_reporter progress;
    const std::string missing = temp_path("missing.bin");
    data.open_file(File_path(missing));
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0], missing + "は開けません。");
    EXPECT_EQ(progress.texts.back(), "");
    EXPECT_TRUE(doc().data_path().empty());
    EXPECT_EQ(view.calls, data_refresh);

    // Not a definition file: its own message, and the definition stays as it was.
    user.messages.clear();
    definition.open_file(File_path(png_sample));
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0], png_sample + "はケストリクスの定義ファイルではありません。");
    EXPECT_TRUE(doc().definition_path().empty());
}

TEST_F(Modes_test, OpenAsksForAFileWithTheSidesFilters)
{
    user.files = {std::nullopt, File_path(png_sample)};
    definition.file_open();
    data.file_open();
    EXPECT_EQ(user.dialogs, (std::vector<std::string>{"open *.kxd", "open *"}));
    EXPECT_EQ(doc().data_path().bytes(), png_sample);
    EXPECT_TRUE(doc().definition_path().empty());
}

TEST_F(Modes_test, NoPromptWhileNothingIsModified)
{
    EXPECT_TRUE(definition.query_save());
    EXPECT_TRUE(data.query_save());
    EXPECT_TRUE(user.prompts.empty());
}

struct Prompt_case {
    Answer answer;
    bool choose_file;  // in the save dialog after Yes
    bool expected;
    bool saved;
};

class Save_prompt_test : public Modes_test, public testing::WithParamInterface<Prompt_case> {};

TEST_P(Save_prompt_test, AnswersByTheUsersChoice)
{
    const Prompt_case& c = GetParam();
    change_settings(doc(), Bcl_str("t"), Byte_order::big_endian);
    user.answers = {c.answer};
    const std::string target = temp_path("saved.kxd");
    if (c.answer == Answer::yes)
        user.files = {c.choose_file ? std::optional(File_path(target)) : std::nullopt};
    EXPECT_EQ(definition.query_save(), c.expected);
    EXPECT_EQ(user.prompts, (std::vector<std::string>{"定義 無題 は変更されています。保存しますか？"}));
    EXPECT_EQ(std::filesystem::exists(target), c.saved);
    EXPECT_EQ(doc().is_definition_modified(), !c.saved);
}

INSTANTIATE_TEST_SUITE_P(Answers, Save_prompt_test,
                         testing::Values(Prompt_case{Answer::yes, true, true, true},
                                         Prompt_case{Answer::yes, false, false, false},
                                         Prompt_case{Answer::no, false, true, false},
                                         Prompt_case{Answer::cancel, false, false, false}));

TEST_F(Modes_test, ThePromptNamesTheFileAndSavesToItWithoutADialog)
{
    const std::string copy = temp_path("copy.png");
    std::filesystem::copy_file(png_sample, copy);
    data.open_file(File_path(copy));
    doc().insert_bytes(0, 2);
    user.answers = {Answer::yes};
    view.calls.clear();
    EXPECT_TRUE(data.query_save());
    EXPECT_EQ(user.prompts.back(), "データ " + copy + " は変更されています。保存しますか？");
    EXPECT_TRUE(user.dialogs.empty());
    EXPECT_EQ(std::filesystem::file_size(copy), std::filesystem::file_size(png_sample) + 2);
    // Saving changes the title's marks and nothing else the views show.
    EXPECT_EQ(view.calls, title_and_states);
}

TEST_F(Modes_test, ASaveIntoAMissingFolderFailsAndThePromptAnswersFalse)
{
    change_settings(doc(), Bcl_str("t"), Byte_order::big_endian);
    const std::string target = temp_path("no-such-folder/out.kxd");
    user.answers = {Answer::yes};
    user.files = {File_path(target)};
    EXPECT_FALSE(definition.query_save());
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0].rfind(target, 0), 0u) << user.messages[0];
    EXPECT_TRUE(doc().is_definition_modified());
    EXPECT_TRUE(doc().definition_path().empty());
}

TEST_F(Modes_test, UndoAndRedoFollowTheirSidesHistory)
{
    load_bytes(std::string("abcd"));
    EXPECT_FALSE(data.can_undo());
    doc().insert_bytes(2, 1);
    EXPECT_TRUE(data.can_undo());
    EXPECT_FALSE(definition.can_undo());
    view.calls.clear();
    data.undo();
    EXPECT_EQ(view.calls, data_refresh);
    EXPECT_EQ(doc().size(), 4u);
    EXPECT_TRUE(data.can_redo());
    data.redo();
    EXPECT_EQ(doc().size(), 5u);
    EXPECT_NE(view.shown.node, nullptr);
    EXPECT_EQ(view.shown.node->position(), 2u);

    change_settings(doc(), Bcl_str("new title"), Byte_order::little_endian);
    EXPECT_TRUE(definition.can_undo());
    view.calls.clear();
    definition.undo();
    EXPECT_EQ(view.calls, definition_refresh);
    EXPECT_EQ(doc().title().to_utf8(), "未定義");
    EXPECT_EQ(doc().byte_order(), Byte_order::big_endian);
    definition.redo();
    EXPECT_EQ(doc().title(), "new title");
    EXPECT_EQ(doc().byte_order(), Byte_order::little_endian);
}

TEST_F(Modes_test, NewEmptiesItsSideOnly)
{
    definition.open_file(File_path(png_definition));
    data.open_file(File_path(png_sample));
    view.calls.clear();
    data.file_new();
    EXPECT_EQ(view.calls, data_refresh);
    EXPECT_TRUE(doc().data_path().empty());
    EXPECT_EQ(doc().size(), 0u);
    EXPECT_FALSE(doc().definition_path().empty());
    definition.file_new();
    EXPECT_TRUE(doc().definition_path().empty());
    EXPECT_TRUE(doc().definition_items().empty());
}

TEST_F(Modes_test, OnlyTheDefinitionModeEditsSettings)
{
    EXPECT_TRUE(definition.can_edit_settings());
    EXPECT_FALSE(data.can_edit_settings());
}

TEST_F(Modes_test, TextExportReportsTheOutputOrTheFailure)
{
    definition.open_file(File_path(png_definition));
    const std::string output = temp_path("report.txt");
    EXPECT_TRUE(run_text_export(doc(), user, File_path(png_sample), File_path(output)));
    EXPECT_EQ(user.messages, (std::vector<std::string>{output + "に出力しました。"}));
    EXPECT_GT(std::filesystem::file_size(output), 0u);

    user.messages.clear();
    const std::string missing = temp_path("missing.bin");
    const std::string second = temp_path("second.txt");
    EXPECT_FALSE(run_text_export(doc(), user, File_path(missing), File_path(second)));
    EXPECT_EQ(user.messages, (std::vector<std::string>{missing + "は開けません。"}));
    EXPECT_FALSE(std::filesystem::exists(second));
}

TEST_F(Modes_test, SettingsChangeIsOneUndoableStep)
{
    change_settings(doc(), Bcl_str("PNG"), Byte_order::little_endian);
    EXPECT_EQ(doc().title(), "PNG");
    EXPECT_TRUE(doc().little_endian());
    EXPECT_TRUE(doc().is_definition_modified());
    EXPECT_EQ(doc().definition_undo_depth(), 1u);
    doc().undo_definition();
    EXPECT_EQ(doc().title().to_utf8(), "未定義");
    EXPECT_FALSE(doc().little_endian());
}

} // namespace
