// The two histories of the document: the order of the undo and redo steps, what
// empties them, their independence, and releasing very long histories.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "edit/definition_edits.h"
#include "edit/proc_def_edit.h"
#include "model/def_str.h"
#include "support/document_fixture.h"
#include "support/recording_reporter.h"
#include "toolkit/text/texts.h"

namespace {

const std::string analysing_text = "解析しています・・・";
const std::string releasing_text = "解放しています・・・";

// What a definition command sees of the document at each of its calls.
struct Probe_log {
    std::size_t undo_depth = 0;
    std::size_t redo_depth = 0;
    bool modified = false;
    std::size_t analyses = 0;  // analysis status texts reported so far
};

std::size_t analyses_in(const Recording_reporter& reporter)
{
    std::size_t n = 0;
    for (const std::string& text : reporter.texts)
        n += text == analysing_text;
    return n;
}

class Probe_command : public Process {
public:
    Probe_command(const Recording_reporter& reporter, Define* selection, std::vector<std::string>& calls)
        : reporter_(reporter), selection_(selection), calls_(calls) {}
    void undo() override { step("undo"); }
    void redo() override { step("redo"); }
    [[nodiscard]] Define* item_to_select() const override
    {
        calls_.push_back("select");
        selection_log = snapshot();
        return selection_;
    }

    Probe_log step_log;
    mutable Probe_log selection_log;

private:
    void step(const char* what)
    {
        calls_.push_back(what);
        step_log = snapshot();
    }
    [[nodiscard]] Probe_log snapshot() const
    {
        Data_mgr& d = Data_mgr::instance();
        return {d.definition_undo_depth(), d.definition_redo_depth(), d.is_definition_modified(), analyses_in(reporter_)};
    }

    const Recording_reporter& reporter_;
    Define* selection_;
    std::vector<std::string>& calls_;
};

std::unique_ptr<Process> settings_command(int n)
{
    return std::make_unique<Proc_conf_chg>(Data_mgr::instance(), Bcl_str("a"), Byte_order::big_endian, Bcl_str(std::to_string(n)), Byte_order::little_endian);
}

} // namespace

class History_test : public Document_test {};

TEST_F(History_test, UndoAndRedoStepInOrderAndAskForTheSelectionAfterTheAnalysis)
{
    Recording_reporter reporter;
    Def_null_str selection(Bcl_str("s"));
    std::vector<std::string> calls;
    auto owned = std::make_unique<Probe_command>(reporter, &selection, calls);
    Probe_command* probe = owned.get();
    doc().push_definition_command(std::move(owned));
    doc().save_definition(File_path(temp_path("d.kxd")));  // clears the modified flag
    ASSERT_FALSE(doc().is_definition_modified());

    const std::size_t analyses_before = analyses_in(reporter);
    EXPECT_EQ(doc().undo_definition(), &selection);
    // During undo the command is on neither stack, and nothing is marked yet.
    EXPECT_EQ(probe->step_log.undo_depth, 0u);
    EXPECT_EQ(probe->step_log.redo_depth, 0u);
    EXPECT_FALSE(probe->step_log.modified);
    EXPECT_EQ(probe->step_log.analyses, analyses_before);
    // The selection is asked last: moved, marked and analysed.
    EXPECT_EQ(probe->selection_log.redo_depth, 1u);
    EXPECT_TRUE(probe->selection_log.modified);
    EXPECT_EQ(probe->selection_log.analyses, analyses_before + 1);

    doc().save_definition(File_path(temp_path("d.kxd")));
    EXPECT_EQ(doc().redo_definition(), &selection);
    EXPECT_EQ(probe->step_log.undo_depth, 0u);
    EXPECT_EQ(probe->step_log.redo_depth, 0u);
    EXPECT_FALSE(probe->step_log.modified);
    EXPECT_EQ(probe->selection_log.undo_depth, 1u);
    EXPECT_TRUE(probe->selection_log.modified);
    EXPECT_EQ(probe->selection_log.analyses, analyses_before + 2);
    EXPECT_EQ(calls, (std::vector<std::string>{"undo", "select", "redo", "select"}));
}

TEST_F(History_test, AStepWithAnEmptyStackDoesNothing)
{
    EXPECT_EQ(doc().undo_definition(), nullptr);
    EXPECT_EQ(doc().redo_definition(), nullptr);
    const Data_place place = doc().undo_data();
    EXPECT_EQ(place.node, nullptr);
    EXPECT_EQ(place.bit, std::nullopt);
    EXPECT_FALSE(doc().is_definition_modified());
    EXPECT_FALSE(doc().is_data_modified());
}

TEST_F(History_test, AStepThatThrowsLeavesItsCommandWhereItWas)
{
    // A command destroyed mid-step would take with it whatever it owns while the
    // document may still hold it.
    struct Failing : Process {
        bool* destroyed;
        explicit Failing(bool* flag) : destroyed(flag) {}
        ~Failing() override { *destroyed = true; }
        void undo() override { throw std::runtime_error("undo failed"); }
        void redo() override {}
    };
    bool destroyed = false;
    doc().push_definition_command(std::make_unique<Failing>(&destroyed));
    EXPECT_THROW(doc().undo_definition(), std::runtime_error);
    EXPECT_FALSE(destroyed);
    EXPECT_EQ(doc().definition_undo_depth(), 1u);
    EXPECT_FALSE(doc().can_redo_definition());
    doc().new_definition();
    EXPECT_TRUE(destroyed);
}

TEST_F(History_test, ANewChangeAfterUndoEmptiesTheRedoSide)
{
    for (int i = 0; i < 3; ++i)
        definition_edits::change_settings(doc(), Bcl_str(std::to_string(i)), i % 2 ? Byte_order::little_endian : Byte_order::big_endian);
    doc().undo_definition();
    doc().undo_definition();
    EXPECT_EQ(doc().title(), "0");
    EXPECT_EQ(doc().definition_redo_depth(), 2u);
    definition_edits::change_settings(doc(), Bcl_str("new"), Byte_order::big_endian);
    EXPECT_FALSE(doc().can_redo_definition());
    EXPECT_EQ(doc().definition_undo_depth(), 2u);
    doc().undo_definition();
    EXPECT_EQ(doc().title(), "0");
}

TEST_F(History_test, EachSideKeepsItsOwnHistory)
{
    load_bytes(std::string("abcdef"));
    definition_edits::change_settings(doc(), Bcl_str("t"), Byte_order::little_endian);
    doc().delete_bytes(1, 2);
    doc().insert_bytes(0, 1);
    doc().undo_data();
    EXPECT_TRUE(doc().can_undo_definition());
    EXPECT_FALSE(doc().can_redo_definition());
    EXPECT_EQ(doc().data_undo_depth(), 1u);
    EXPECT_EQ(doc().data_redo_depth(), 1u);

    // A definition step leaves the data history alone, and the other way round.
    doc().undo_definition();
    EXPECT_EQ(doc().data_undo_depth(), 1u);
    EXPECT_EQ(doc().data_redo_depth(), 1u);
    doc().redo_data();
    EXPECT_EQ(doc().definition_undo_depth(), 0u);
    EXPECT_EQ(doc().definition_redo_depth(), 1u);
    EXPECT_EQ(doc().title(), texts::undefined());  // the data step did not touch the settings

    // Opening data empties both data stacks and leaves the definition ones.
    doc().undo_data();
    ASSERT_TRUE(doc().can_redo_data());
    load_bytes(std::string("xyz"));
    EXPECT_FALSE(doc().can_undo_data());
    EXPECT_FALSE(doc().can_redo_data());
    EXPECT_EQ(doc().definition_redo_depth(), 1u);

    // A new definition empties both definition stacks and leaves the data ones.
    doc().insert_bytes(0, 2);
    doc().new_definition();
    EXPECT_FALSE(doc().can_redo_definition());
    EXPECT_EQ(doc().data_undo_depth(), 1u);

    // So does opening a definition file.
    const std::string path = temp_path("d.kxd");
    doc().save_definition(File_path(path));
    definition_edits::change_settings(doc(), Bcl_str("a"), Byte_order::big_endian);
    definition_edits::change_settings(doc(), Bcl_str("b"), Byte_order::little_endian);
    doc().undo_definition();
    doc().load_definition(File_path(path));
    EXPECT_FALSE(doc().can_undo_definition());
    EXPECT_FALSE(doc().can_redo_definition());
    EXPECT_EQ(doc().data_undo_depth(), 1u);
}

TEST_F(History_test, ReleasingCountsOneStepPerItemNodeAndCommand)
{
    load_bytes(std::string(10, 'x'));
    for (int i = 0; i < 3; ++i)
        definition_edits::add_item(doc(), {}, std::make_unique<Def_fix_str>(Bcl_str("s"), 1));
    doc().undo_definition();
    doc().delete_bytes(0, 1);
    doc().delete_bytes(0, 1);
    doc().undo_data();
    {
        Recording_reporter reporter;
        doc().new_definition();
        // 2 items in the tree, 2 commands to undo, 1 to redo.
        ASSERT_FALSE(reporter.begins.empty());
        EXPECT_EQ(reporter.begins.front(), 5u);
        EXPECT_EQ(reporter.texts.front(), releasing_text);
        EXPECT_EQ(reporter.percents.back(), 100);
    }
    {
        Recording_reporter reporter;
        doc().new_data();
        // 1 command each side; the bytes go at once.
        ASSERT_FALSE(reporter.begins.empty());
        EXPECT_EQ(reporter.begins.front(), 2u);
        EXPECT_EQ(reporter.texts.front(), releasing_text);
    }
}

// Long histories are released one command at a time: nothing recurses with the
// depth, whichever way the history goes (release, dropped redo side).
TEST_F(History_test, MillionsOfCommandsAreReleasedWithoutRecursion)
{
    constexpr int definition_commands = 2'000'000;
    for (int i = 0; i < definition_commands; ++i)
        doc().push_definition_command(settings_command(i));
    EXPECT_EQ(doc().definition_undo_depth(), std::size_t(definition_commands));
    doc().new_definition();
    EXPECT_FALSE(doc().can_undo_definition());

    // Data commands each owning one node.
    load_bytes(std::string("ab"));
    constexpr int data_commands = 1'000'000;
    for (int i = 0; i < data_commands; ++i)
        doc().change_value(doc().first_node(), 1, std::uint32_t(i), std::nullopt);
    EXPECT_EQ(Byte_store::live_count(), 1 + 2 + std::size_t(data_commands));
    doc().new_data();
    EXPECT_EQ(Byte_store::live_count(), 1u);
}

TEST_F(History_test, ADroppedRedoSideReleasesExactlyTheNodesItsCommandsHeld)
{
    load_bytes(std::string(100, 'x'));
    constexpr int steps = 2000;
    for (int i = 0; i < steps; ++i)
        doc().change_value(doc().node_at(std::uint32_t(i % 100)), 1, std::uint32_t(i), std::nullopt);
    for (int i = 0; i < steps; ++i)
        doc().undo_data();
    // Each undone command holds its one new node; the document has its 100 bytes.
    EXPECT_EQ(Byte_store::live_count(), 1 + 100 + std::size_t(steps));
    doc().insert_bytes(0, 1);
    EXPECT_FALSE(doc().can_redo_data());
    EXPECT_EQ(Byte_store::live_count(), 1 + 101u);
    std::vector<std::uint8_t> expected(101, 'x');
    expected[0] = 0;
    EXPECT_EQ(data_bytes(), expected);
}
