#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "analysis_helpers.h"
#include "support/document_fixture.h"
#include "model/limits.h"
#include "toolkit/exception.h"

using namespace analysis_test;

namespace {

using Bytes = std::vector<std::uint8_t>;

// Grouping of large loops: the same names whether the loop is a For or a While.
struct Grouping {
    int iterations;
    std::vector<std::string> first_level;  // the loop table's children
    std::size_t last_group_children;       // children of its last child
    std::string last_group_last;           // the last of them
};

class Loop_grouping_test : public Document_test, public ::testing::WithParamInterface<std::tuple<Grouping, bool>> {};

TEST_P(Loop_grouping_test, GroupsBy1024)
{
    const auto& [g, use_while] = GetParam();
    const std::string n = std::to_string(g.iterations);
    if (use_while)
        define(set_var("i", "0"), while_loop("L", ("i < " + n).c_str(), set_var("i", "i+1"), int_item("b", 1)));
    else
        define(for_loop("L", n.c_str(), int_item("b", 1)));
    load_bytes(std::string(static_cast<std::size_t>(g.iterations) + 1, '\x07'));
    ASSERT_EQ(root()->child_count(), 2);
    EXPECT_EQ(line(root()->child(1)), "未定義[0 - 0]\t...");
    Component* loop = root()->child(0);
    EXPECT_EQ(line(loop), "L\t...");
    EXPECT_EQ(loop->end()->position(), static_cast<std::uint32_t>(g.iterations));
    const std::vector<std::string> names = child_names(loop);
    if (g.iterations != 1024) {
        EXPECT_EQ(names, g.first_level);
    } else {
        ASSERT_EQ(names.size(), 1024u);
        EXPECT_EQ(names.front(), g.first_level.front());
        EXPECT_EQ(names.back(), g.first_level.back());
    }
    Component* last = loop->child(loop->child_count() - 1);
    const std::vector<std::string> inner = child_names(last);
    ASSERT_EQ(inner.size(), g.last_group_children);
    EXPECT_EQ(inner.back(), g.last_group_last);
    // Every child ends where the next begins; the last where the loop ends.
    for (int i = 0; i + 1 < loop->child_count(); ++i)
        EXPECT_EQ(loop->child(i)->end(), loop->child(i + 1)->start());
    EXPECT_EQ(last->end(), loop->end());
}

INSTANTIATE_TEST_SUITE_P(
    Counts, Loop_grouping_test,
    ::testing::Combine(
        ::testing::Values(Grouping{3, {"[0]", "[1]", "[2]"}, 1, "b"},
                          Grouping{1024, {"[0]", "[1023]"}, 1, "b"},
                          Grouping{1025, {"[0 - 1023]", "[1024 - 1024]"}, 1, "[1024]"},
                          Grouping{2500, {"[0 - 1023]", "[1024 - 2047]", "[2048 - 2499]"}, 452, "[2499]"},
                          Grouping{1048577, {"[0 - 1048575]", "[1048576 - 1048576]"}, 1, "[1048576 - 1048576]"}),
        ::testing::Bool()));

TEST_F(Document_test, MillionGroupOpensInto1024Tables)
{
    define(for_loop("L", "1048577", int_item("b", 1)));
    load_bytes(std::string(1048577, '\x01'));
    Component* big = root()->child(0);
    big->expand();
    const std::vector<std::string> names = child_names(big->child(0));
    ASSERT_EQ(names.size(), 1024u);
    EXPECT_EQ(names[1], "[1024 - 2047]");
    EXPECT_EQ(names.back(), "[1047552 - 1048575]");
    Component* group = big->child(0)->child(1023);
    const std::vector<std::string> records = child_names(group);
    ASSERT_EQ(records.size(), 1024u);
    EXPECT_EQ(records.back(), "[1048575]");
    EXPECT_EQ(group->child(1023)->start()->position(), 1048575u);
}

TEST_F(Document_test, ForCountsOfZeroOrLessMakeNoTable)
{
    for (const char* count : {"0", "-1", "", "nothing"}) {
        doc().new_definition();
        define(for_loop("L", count, int_item("b", 1)));
        load_bytes(Bytes{1});
        EXPECT_EQ(tree(1), "未定義\t\n  未定義[0 - 0]\t...\n") << count;
    }
}

TEST_F(Document_test, LoopBodyConsumingNothingRunsOnce)
{
    define(for_loop("L", "5", set_var("v", "v+1")), while_loop("W", "1", set_var("w", "w+1")));
    load_bytes(Bytes{1});
    EXPECT_EQ(doc().get_variable("v"), 1);
    EXPECT_EQ(doc().get_variable("w"), 1);
    EXPECT_EQ(tree(2), "未定義\t\n  L\t...\n    [0]\t...\n  W\t...\n    [0]\t...\n  未定義[0 - 0]\t...\n"
                       "    [0]\t0x01\n");
}

TEST_F(Document_test, WhileStopsOnTheValueThatMakesItsConditionFalse)
{
    auto* loop = while_loop("W", "v != 0", int_item("v", 1, false, Def_int::decimal, "v"));
    define(set_var("v", "1"), loop);
    load_bytes(Bytes{0x01, 0x02, 0x00, 0x09});
    EXPECT_EQ(loop->last_count(), 3);
    EXPECT_EQ(tree(3), "未定義\t\n  W\t...\n    [0]\t...\n      v\t1\n    [1]\t...\n      v\t2\n    [2]\t...\n"
                       "      v\t0\n  未定義[0 - 0]\t...\n    [0]\t0x09\n");
    // A false condition at the start makes no table.
    load_bytes(Bytes{0x00});
    loop->set_condition(sj("0"));
    doc().analyze();
    EXPECT_EQ(tree(1), "未定義\t\n  未定義[0 - 0]\t...\n");
}

TEST_F(Document_test, ShortageInTheMiddleOfALoop)
{
    auto* w = while_loop("W", "1", int_item("n", 2));
    for (Define* loop : std::vector<Define*>{for_loop("F", "4", int_item("n", 2)), w}) {
        doc().new_definition();
        define(loop);
        load_bytes(Bytes{0, 1, 0, 2, 0});
        // The loop's table stays, without an end, before the marker.
        EXPECT_EQ(tree(1), "未定義\t\n  " + loop->name().to_utf8() + "\t...\n  データ不足\t\n");
        Component* table = root()->child(0);
        EXPECT_EQ(table->end(), nullptr);
        // Expanding: the records made before the data ran out stay.
        EXPECT_THROW(table->expand(), Data_shortage);
        EXPECT_EQ(child_names(table), (std::vector<std::string>{"[0]", "[1]", "[2]"}));
        EXPECT_EQ(tree(3, table), loop->name().to_utf8() + "\t...\n  [0]\t...\n    n\t1\n  [1]\t...\n    n\t2\n"
                                  "  [2]\t...\n    n\t0\n");
    }
    // The interrupted iteration is counted.
    EXPECT_EQ(w->last_count(), 3);
}

TEST_F(Document_test, WhileLoopNestedInItselfKeepsItsOwnCount)
{
    // The outer loop runs once; inside it, through the set, the same loop runs
    // twice. Each keeps its own count: the outer table has one record, also when
    // the data runs out inside the nested loop.
    auto* loop = while_loop("W", "n != 0", int_item("n", 1, false, Def_int::decimal, "n"),
                            int_item("k", 1, false, Def_int::decimal, "k"), for_loop("F", "k", ref("again", "S")));
    define(set_var("n", "1"), def_set("S", loop), ref("top", "S"));
    load_bytes(Bytes{1, 1, 1, 0, 0, 0, 5});
    EXPECT_EQ(tree(9), "未定義\t\n  top\t...\n    W\t...\n      [0]\t...\n        n\t1\n        k\t1\n"
                       "        F\t...\n          [0]\t...\n            again\t...\n              W\t...\n"
                       "                [0]\t...\n                  n\t1\n                  k\t0\n"
                       "                [1]\t...\n                  n\t0\n                  k\t0\n"
                       "  未定義[0 - 0]\t...\n    [0]\t0x05\n");
    EXPECT_EQ(loop->last_count(), 1);

    load_bytes(Bytes{1, 1, 1, 0, 1, 0});
    Component* top = root()->child(0);
    EXPECT_THROW(top->expand(), Data_shortage);
    Component* outer = top->child(0);
    EXPECT_THROW(outer->expand(), Data_shortage);
    EXPECT_EQ(child_names(outer), std::vector<std::string>{"[0]"});
}

TEST_F(Document_test, TableAtTheEndOfTheDataExpandsWithTheVariablesOfItsPlace)
{
    // F is made at the end of the data with n = 3; the read after it fails there
    // and sets n to 0. Expanding F replays to the end of the data and stops at that
    // read, as at any other byte, so F still counts 3.
    define(int_item("n", 1, false, Def_int::decimal, "n"),
           for_loop("L", "1", for_loop("F", "n"), int_item("n", 1, false, Def_int::decimal, "n")));
    load_bytes(Bytes{3});
    Component* outer = root()->child(1);
    EXPECT_THROW(outer->expand(), Data_shortage);
    Component* record = outer->child(0);
    EXPECT_THROW(record->expand(), Data_shortage);
    Component* inner = record->child(0);
    EXPECT_EQ(inner->start(), nullptr);
    EXPECT_EQ(child_names(inner), std::vector<std::string>{"[0]"});
}

TEST_F(Document_test, UndefinedBlocksAreGroupedBy1024)
{
    load_bytes(std::string(3000, '\0'));
    EXPECT_EQ(child_names(root()),
              (std::vector<std::string>{"未定義[0 - 1023]", "未定義[1024 - 2047]", "未定義[2048 - 2999]"}));
    const std::vector<std::string> bytes = child_names(root()->child(1));
    ASSERT_EQ(bytes.size(), 1024u);
    EXPECT_EQ(bytes.front(), "[1024]");
    EXPECT_EQ(root()->child(2)->size(), 952u);

    load_bytes(std::string(2000000, '\0'));
    EXPECT_EQ(child_names(root()), (std::vector<std::string>{"未定義[0 - 1048575]", "未定義[1048576 - 1999999]"}));
    const std::vector<std::string> blocks = child_names(root()->child(1));
    ASSERT_EQ(blocks.size(), 930u);
    EXPECT_EQ(blocks.front(), "未定義[1048576 - 1049599]");
    EXPECT_EQ(blocks.back(), "未定義[1999872 - 1999999]");
    const std::vector<std::string> last = child_names(root()->child(1)->child(929));
    ASSERT_EQ(last.size(), 128u);
    EXPECT_EQ(last.back(), "[1999999]");
    EXPECT_EQ(child_names(root()->child(0)).size(), 1024u);
}

TEST_F(Document_test, ReferencesFindOnlySetsWalkedBeforeThem)
{
    define(ref("early", "S"), def_set("S", int_item("a", 1)), ref("late", "S"));
    load_bytes(Bytes{5, 6});
    EXPECT_EQ(tree(2), "未定義\t\n  late\t...\n    a\t5\n  未定義[0 - 0]\t...\n    [0]\t0x06\n");

    // Inside a loop the iterations after the set's item find it; expansion replays
    // the walk and so registers it again.
    doc().new_definition();
    define(for_loop("L", "3", int_item("n", 1), ref("r", "S"), def_set("S", int_item("a", 1))));
    load_bytes(Bytes{1, 2, 3, 4, 5, 6});
    EXPECT_EQ(tree(4), "未定義\t\n  L\t...\n    [0]\t...\n      n\t1\n    [1]\t...\n      n\t2\n      r\t...\n"
                       "        a\t3\n    [2]\t...\n      n\t4\n      r\t...\n        a\t5\n  未定義[0 - 0]\t...\n"
                       "    [0]\t0x06\n");
}

TEST_F(Document_test, ReferenceWhoseSetVanishedExpandsToNothing)
{
    auto* set = def_set("S", int_item("a", 1));
    define(set, ref("r", "S"));
    load_bytes(Bytes{5});
    Component* table = root()->child(0);
    set->set_name(sj("T"));  // the definition changed; the old tree is still shown
    EXPECT_NO_THROW(table->expand());
    EXPECT_EQ(table->child_count(), 0);
}

TEST_F(Document_test, SelfReferenceIsCutAtTheNestingLimit)
{
    // Directly: each level reads one byte; the reference beyond the limit is treated
    // as unknown, so exactly max_reference_depth bytes are consumed.
    define(def_set("S", int_item("a", 1), ref("again", "S")), ref("top", "S"));
    load_bytes(std::string(300, '\x01'));
    ASSERT_EQ(root()->child_count(), 2);
    EXPECT_EQ(root()->child(0)->end()->position(), static_cast<std::uint32_t>(limits::max_reference_depth));
    EXPECT_EQ(line(root()->child(1)), "未定義[0 - 43]\t...");
    EXPECT_EQ(child_names(root()->child(0)), (std::vector<std::string>{"a", "again"}));

    // Through another set, consuming nothing.
    doc().new_definition();
    define(def_set("A", ref("to b", "B")), def_set("B", ref("to a", "A")), ref("top", "A"));
    doc().new_data();
    EXPECT_EQ(tree(2), "未定義\t\n  top\t...\n    to b\t...\n");

    // Loops inside the set, as deep as a definition file may nest them: the open
    // walks, not only the references, are bounded, so the stack is too.
    doc().new_definition();
    Define* body = ref("again", "S");
    for (int i = 0; i < limits::max_definition_depth - 2; ++i)
        body = for_loop("L", "1", body);
    define(def_set("S", int_item("a", 1), body), ref("top", "S"));
    load_bytes(std::string(300, '\x01'));
    ASSERT_EQ(root()->child_count(), 2);
    EXPECT_LT(root()->child(0)->end()->position(), 20u);
}

// References that read nothing: two references to the set itself, or a chain of
// sets each referring twice to the next, must not be followed 2^n times.
Def_def_set* doubling_chain(int length)
{
    Def_def_set* first = nullptr;
    for (int i = 0; i < length; ++i) {
        // Appended rather than "S" + ...: GCC 12 warns wrongly about that form here.
        const std::string name = std::string("S").append(std::to_string(i));
        const std::string next = std::string("S").append(std::to_string(i + 1));
        auto* set = def_set(name.c_str(), ref("x", next.c_str()), ref("y", next.c_str()));
        Data_mgr::instance().insert_item(std::unique_ptr<Define>(set), nullptr);
        first = first ? first : set;
    }
    return first;
}

TEST_F(Document_test, ReferencesThatReadNothingAreBoundedAtOnePosition)
{
    define(def_set("A", ref("a1", "A"), ref("a2", "A")), ref("top", "A"), int_item("after", 1));
    load_bytes(std::string("xyz"));
    EXPECT_EQ(tree(1), "未定義\t\n  top\t...\n  after\t120\n  未定義[0 - 1]\t...\n");
    // Expanding follows the first reference again; the references it follows at
    // this position use up the count, so the second one is not followed.
    EXPECT_EQ(tree(3, root()->child(0)), "top\t...\n  a1\t...\n    a1\t...\n      a1\t...\n");

    doc().new_definition();
    doubling_chain(200);
    define(ref("top", "S0"), int_item("after", 1));
    doc().analyze();
    EXPECT_EQ(line(root()->child(1)), "after\t120");
}

TEST_F(Document_test, ReferenceBoundsLeaveRealRecursionAlone)
{
    // A set that counts down through itself reads nothing, 100 levels deep.
    auto* branch = new Def_if(sj("n > 0"));
    branch->insert_then_child(std::unique_ptr<Define>(ref("again", "C")), nullptr);
    define(set_var("n", "100"), def_set("C", set_var("n", "n-1"), branch), ref("top", "C"));
    load_bytes(std::string("a"));
    EXPECT_EQ(doc().get_variable("n"), 0);

    // The count of references at one position starts again once a byte is read:
    // 3000 iterations each follow one reference that reads nothing.
    doc().new_definition();
    define(set_var("count", "0"), def_set("E", set_var("count", "count+1")),
           for_loop("L", "3000", int_item("b", 1), ref("e", "E")));
    load_bytes(std::string(3000, 'b'));
    EXPECT_EQ(doc().get_variable("count"), 3000);
}

TEST_F(Document_test, ExpandingAContainerSeesTheVariablesTheAnalysisSaw)
{
    // The replay before an expansion stops short of the step that makes the
    // container's children, so the assignments standing at its start run once: the
    // records, the loop's count and a reference's set see what the analysis saw.
    auto* branch = new Def_if(sj("v == 2"));
    branch->insert_then_child(std::unique_ptr<Define>(int_item("two", 1)), nullptr);
    branch->insert_else_child(std::unique_ptr<Define>(int_item("other", 1)), nullptr);
    define(set_var("n", "1"), for_loop("L", "n + 1", set_var("v", "v+1"), branch),
           def_set("S", set_var("n", "n+1"), for_loop("M", "n", int_item("m", 1))), ref("R", "S"));
    load_bytes(Bytes{1, 2, 3, 4});
    EXPECT_EQ(doc().get_variable("v"), 2);
    EXPECT_EQ(tree(4), "未定義\t\n  L\t...\n    [0]\t...\n      other\t1\n    [1]\t...\n      two\t2\n"
                       "  R\t...\n    M\t...\n      [0]\t...\n        m\t3\n      [1]\t...\n        m\t4\n");
}

// A loop or reference met at the end of the data is walked as anywhere else: its
// table, group or record is made at the current byte, then the iteration meets the
// data shortage (the analysis then ends with it, as the report does) or reads
// nothing (which ends the loop).
TEST_F(Document_test, LoopsAndReferencesAtTheEndOfTheData)
{
    struct Row {
        const char* label;
        std::function<void()> define_items;
        std::string data;
        int depth;
        std::string tree;
    };
    const std::vector<Row> rows = {
        {"For over empty data", [] { define(for_loop("L", "1030", int_item("v", 1))); }, "", 4,
         "未定義\t\n  L\t...\n    [0 - 1023]\t...\n      [0]\t...\n        v\t0\n  データ不足\t\n"},
        {"While after the last byte",
         [] { define(int_item("a", 1), while_loop("W", "1", int_item("v", 1))); }, "a", 3,
         "未定義\t\n  a\t97\n  W\t...\n    [0]\t...\n      v\t0\n  データ不足\t\n"},
        {"reference after the last byte",
         [] { define(def_set("S", int_item("v", 1)), int_item("a", 1), ref("R", "S")); }, "a", 2,
         "未定義\t\n  a\t97\n  R\t...\n    v\t0\n  データ不足\t\n"},
        {"loops of empty iterations in every record, the last one too",
         [] {
             define(for_loop("R", "2", int_item("b", 1), for_loop("F", "1", set_var("x", "1")),
                             while_loop("W", "1", set_var("y", "1"))));
         },
         "ab", 4,
         "未定義\t\n  R\t...\n    [0]\t...\n      b\t97\n      F\t...\n        [0]\t...\n      W\t...\n"
         "        [0]\t...\n    [1]\t...\n      b\t98\n      F\t...\n        [0]\t...\n      W\t...\n"
         "        [0]\t...\n"},
        // The replay for the table stops in the loop's own first iteration, where the
        // data ends, and not after the assignment that follows it.
        {"count changed after the loop",
         [] {
             define(set_var("y", "2"), int_item("a", 1), for_loop("L", "y", int_item("v", 1)), set_var("y", "0"));
         },
         "a", 3, "未定義\t\n  a\t97\n  L\t...\n    [0]\t...\n      v\t0\n  データ不足\t\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        doc().new_definition();
        row.define_items();
        load_bytes(row.data);
        EXPECT_EQ(tree(row.depth), row.tree);
    }
}

TEST_F(Document_test, ExpansionRebuildsAfterClearChildren)
{
    define(for_loop("L", "2", with_flag(int_item("n", 1), "f", 4, "f")));
    load_bytes(Bytes{0x21, 0x43});
    Component* table = root()->child(0);
    const std::string once = tree(4, table);
    EXPECT_EQ(once, "L\t...\n  [0]\t...\n    n\t33\n      f\t1\n  [1]\t...\n    n\t67\n      f\t3\n");
    table->clear_children();
    EXPECT_EQ(table->child_count(), 0);
    EXPECT_EQ(tree(4, table), once);
}

} // namespace
