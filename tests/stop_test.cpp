// Stopping a long operation: the request lasts through one operation, and a load,
// an analysis and a text export stopped half-way leave the document and the files
// clean.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "analysis_helpers.h"
#include "support/document_fixture.h"
#include "support/recording_reporter.h"
#include "toolkit/exception.h"
#include "ui/core/find_run.h"

using namespace analysis_test;

namespace {

// Asks for a stop once the progress shown reaches `percent`, as the window does
// when Escape comes in during a repaint.
class Stopping_reporter : public Recording_reporter {
public:
    explicit Stopping_reporter(int percent) : percent_(percent) {}
    int notes = 0;

protected:
    void on_percent(int percent) override
    {
        Recording_reporter::on_percent(percent);
        if (percent >= percent_)
            request_stop();
    }
    void on_stopped() override { ++notes; }

private:
    int percent_;
};

constexpr int records = 10000;

class Stop_test : public Document_test {
protected:
    void SetUp() override
    {
        Document_test::SetUp();
        define(for_loop("rec", "10000", int_item("v", 4)));
    }
    void TearDown() override
    {
        doc().checkpoints().set_interval(Walk_checkpoints::default_interval);
        Document_test::TearDown();
    }
    static std::string records_bytes() { return std::string(records * 4, '\x01'); }
};

} // namespace

TEST(Stop_request, LastsThroughOneOperationWhateverItArms)
{
    Stopping_reporter r(101);
    r.begin_operation();
    r.begin_progress(10);
    r.request_stop();
    r.end_progress();
    // A later step of the same operation (a find arms the bar again after every
    // expansion) still sees it.
    r.begin_progress(10);
    EXPECT_TRUE(r.stop_requested());
    EXPECT_THROW(r.stop_point(), Operation_stopped);
    EXPECT_TRUE(r.stopped());
    r.end_progress();
    r.end_operation();
    EXPECT_EQ(r.notes, 1);
    EXPECT_FALSE(r.stop_requested());

    // The next operation starts without it, and says nothing when it ends.
    r.begin_operation();
    EXPECT_NO_THROW(r.stop_point());
    r.end_operation();
    EXPECT_EQ(r.notes, 1);
}

TEST_F(Stop_test, AStoppedLoadLeavesTheDocumentAsItWas)
{
    load_bytes(std::string("\x01\x02\x03\x04", 4));
    doc().change_value(doc().first_node(), 1, 9, std::nullopt);
    doc().analyze_changed_data();
    const std::string tree_before = tree(2);
    const std::vector<std::uint8_t> bytes_before = data_bytes();
    const File_path path_before = doc().data_path();

    // Several reads' worth, so that the stop comes while the file is read.
    const std::string big = temp_path("big.bin");
    write_file(big, std::string(3u << 20, '\x02'));
    Stopping_reporter r(10);
    EXPECT_THROW(doc().load_data(File_path(big)), Operation_stopped);

    EXPECT_EQ(tree(2), tree_before);
    EXPECT_EQ(data_bytes(), bytes_before);
    EXPECT_EQ(doc().data_path(), path_before);
    EXPECT_TRUE(doc().is_data_modified());
    EXPECT_EQ(doc().data_undo_depth(), 1u);
    expect_consistent();
}

TEST_F(Stop_test, AStoppedAnalysisShowsWhatItMadeUntilTheNextAnalysis)
{
    doc().checkpoints().set_interval(1024);
    load_bytes(records_bytes());
    const std::string fresh = tree(2);
    doc().change_value(doc().node_at(records * 4 - 1), 1, 7, std::nullopt);
    doc().analyze_changed_data();
    const std::string changed = tree(2);

    doc().undo_data();
    {
        Stopping_reporter r(50);
        doc().redo_data();
    }
    // The loop's table as far as it got, then the marker; the data is changed.
    ASSERT_EQ(root()->child_count(), 2);
    EXPECT_EQ(line(root()->child(1)), "中断\t");
    EXPECT_EQ(data_bytes().back(), 7);

    // Undo analyses again and replaces the stopped tree...
    ASSERT_TRUE(doc().can_undo_data());
    doc().undo_data();
    EXPECT_EQ(tree(2), fresh);
    // ...and so does the next change, which goes on from a checkpoint before the stop.
    {
        Stopping_reporter r(50);
        doc().redo_data();
    }
    ASSERT_FALSE(doc().checkpoints().points().empty());
    doc().change_value(doc().node_at(records * 4 - 2), 1, 1, std::nullopt);
    doc().analyze_changed_data();
    EXPECT_EQ(tree(2), changed);
}

// A While loop makes its table after counting: a stop counts as far as it got.
TEST_F(Stop_test, AStoppedWhileLoopKeepsItsTable)
{
    doc().new_definition();
    define(set_var("n", "0"), while_loop("rec", "n < 10000", int_item("v", 4), set_var("n", "n + 1")));
    load_bytes(records_bytes());
    {
        Stopping_reporter r(50);
        doc().analyze();
    }
    ASSERT_EQ(root()->child_count(), 2);
    EXPECT_EQ(root()->child(0)->name().to_utf8(), "rec");
    EXPECT_EQ(line(root()->child(1)), "中断\t");
    doc().analyze();
    EXPECT_EQ(root()->child_count(), 1);
}

TEST_F(Stop_test, AStoppedExportKeepsTheTargetAndLeavesNoTemporaryFile)
{
    const std::string data = temp_path("data.bin");
    const std::string output = temp_path("report.txt");
    write_file(data, records_bytes());
    write_file(output, "old report");
    Stopping_reporter r(50);
    EXPECT_THROW(doc().analyze_to_text(File_path(data), File_path(output)), Operation_stopped);

    EXPECT_EQ(file_contents(output), "old report");
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(output).parent_path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"data.bin", "report.txt"}));
}

// The find bar's search asks the same stop request: it ends cancelled, no hit told.
TEST_F(Stop_test, AStoppedFindEndsCancelled)
{
    define(for_loop("t", "100000", int_item("v", 1)));
    load_bytes(std::vector<std::uint8_t>(100000, 7));
    Stopping_reporter progress(30);
    const Component_find found =
        run_component_find(doc(), {Component_query::Kind::value, "8"}, std::nullopt, Find_direction::next);
    EXPECT_EQ(found.result.end, Find_result::End::cancelled);
    EXPECT_TRUE(found.indices.empty());
}
