#include <gtest/gtest.h>

#include <vector>

#include "analysis_helpers.h"
#include "model/cmp_int.h"
#include "support/document_fixture.h"
#include "support/recording_reporter.h"
#include "toolkit/exception.h"
#include "toolkit/text/texts.h"

using namespace analysis_test;

namespace {

using Bytes = std::vector<std::uint8_t>;

TEST_F(Document_test, EmptyDataAndEmptyDefinitionGiveABareRoot)
{
    doc().analyze();
    EXPECT_EQ(root()->child_count(), 0);
    EXPECT_EQ(root()->name(), texts::undefined());
}

TEST_F(Document_test, IntegerWithoutBytesStaysBeforeTheShortageMarker)
{
    define(int_item("n", 2, false, Def_int::hexadecimal), int_item("never", 1));
    doc().analyze();
    EXPECT_EQ(tree(1), "未定義\t\n  n\t0x0000\n  データ不足\t\n");
    EXPECT_EQ(root()->child(0)->start(), nullptr);
}

TEST_F(Document_test, IntegerCutShortKeepsTheBytesItRead)
{
    define(int_item("n", 4, false, Def_int::decimal, "v"));
    load_bytes(Bytes{0x01, 0x02});
    // Big-endian: the two bytes that exist make 0x0102; the variable is bound.
    EXPECT_EQ(tree(1), "未定義\t\n  n\t258\n  データ不足\t\n");
    EXPECT_EQ(doc().get_variable("v"), 258);
    EXPECT_EQ(root()->child(0)->end(), nullptr);
}

TEST_F(Document_test, BitFlagsTakeBitsFromTheLeastSignificantUpward)
{
    struct Row {
        Byte_order byte_order;
        int size;
        Bytes bytes;
        std::int32_t first;
        std::int32_t second;
    };
    const Row rows[] = {
        {big, 1, {0xB5}, 5, 22},         // 1011 0101: bits 0-2 = 101, bits 3-7 = 10110
        {big, 2, {0x12, 0x34}, 4, 6},    // 0x1234: bits 3-7 of 0011 0100 are 00110
        {little, 2, {0x34, 0x12}, 4, 6},    // the same value little-endian
    };
    for (const Row& row : rows) {
        doc().new_definition();
        doc().set_byte_order(row.byte_order);
        define(with_flag(with_flag(int_item("n", row.size), "a", 3, "fa"), "b", 5, "fb"));
        load_bytes(row.bytes);
        EXPECT_EQ(doc().get_variable("fa"), row.first);
        EXPECT_EQ(doc().get_variable("fb"), row.second);
        Component* n = root()->child(0);
        ASSERT_TRUE(n->has_children());
        EXPECT_EQ(n->child_count(), 0) << "flags are made on expansion only";
        n->expand();
        ASSERT_EQ(n->child_count(), 2);
        EXPECT_EQ(line(n->child(0)), "a\t" + std::to_string(row.first));
        EXPECT_EQ(line(n->child(1)), "b\t" + std::to_string(row.second));
        EXPECT_EQ(n->child(1)->size(), static_cast<std::uint32_t>(row.size));
    }
}

TEST_F(Document_test, FlagsBeyondBit31ReadZero)
{
    define(with_flag(with_flag(int_item("n", 4), "all", 31), "beyond", 8, "b"));
    load_bytes(Bytes{0xFF, 0xFF, 0xFF, 0xFF});
    EXPECT_EQ(doc().get_variable("b"), 1);  // only bit 31 exists of the 8
    Component* n = root()->child(0);
    n->expand();
    EXPECT_EQ(line(n->child(0)), "all\t2147483647");
}

// The three strings at the end of the data: the fixed-length one keeps its
// component, the other two make none; each ends the analysis with the marker.
TEST_F(Document_test, StringsRunningOutOfData)
{
    struct Row {
        Define* item;
        Bytes bytes;
        const char* expected;
    };
    const Row rows[] = {
        {fix_str("s", 4), {0x41, 0x42}, "未定義\t\n  s\tAB\n  データ不足\t\n"},
        {flex_str("s", 2), {0x00}, "未定義\t\n  データ不足\t\n"},
        {flex_str("s", 1), {0x05, 0x41}, "未定義\t\n  データ不足\t\n"},
        {flex_str("s", 4), {0x80, 0x00, 0x00, 0x00, 0x41}, "未定義\t\n  データ不足\t\n"},
        {flex_str("s", 4), {0xFF, 0xFF, 0xFF, 0xFF}, "未定義\t\n  データ不足\t\n"},
        {null_str("s"), {0x41, 0x42}, "未定義\t\n  データ不足\t\n"},
    };
    for (const Row& row : rows) {
        doc().new_definition();
        define(row.item, int_item("after", 1));
        load_bytes(row.bytes);
        EXPECT_EQ(tree(1), row.expected);
    }
}

TEST_F(Document_test, StringsThatFitEndWhereTheyShould)
{
    doc().set_byte_order(little);
    define(flex_str("a", 2), null_str("b"), fix_str("c", 2));
    load_bytes(Bytes{0x02, 0x00, 0x41, 0x42, 0x43, 0x00, 0x44, 0x45, 0x46});
    EXPECT_EQ(tree(1), "未定義\t\n  a\tAB\n  b\tC\n  c\tDE\n  未定義[0 - 0]\t...\n");
    EXPECT_EQ(root()->child(2)->end()->position(), 8u);
}

TEST_F(Document_test, IfTakesOneBranchWithoutAComponentOfItsOwn)
{
    auto* branch = new Def_if(sj("k == 1"));
    branch->insert_then_child(std::unique_ptr<Define>(int_item("one", 1)), nullptr);
    branch->insert_else_child(std::unique_ptr<Define>(fix_str("other", 2)), nullptr);
    define(int_item("k", 1, false, Def_int::decimal, "k"), branch, new Def_if(sj("")));
    load_bytes(Bytes{0x01, 0x07});
    EXPECT_EQ(tree(1), "未定義\t\n  k\t1\n  one\t7\n");
    load_bytes(Bytes{0x02, 0x41, 0x42});
    EXPECT_EQ(tree(1), "未定義\t\n  k\t2\n  other\tAB\n");
}

TEST_F(Document_test, AnalysisReportsProgressAndClearsTheStatus)
{
    define(for_loop("L", "1000", int_item("n", 1)));
    load_bytes(std::string(1000, '\x01'));
    Recording_reporter recording;
    doc().analyze();
    ASSERT_EQ(recording.begins, std::vector<std::uint64_t>{1000});
    EXPECT_EQ(recording.texts.front(), "解析しています・・・");
    EXPECT_EQ(recording.texts.back(), "");
    EXPECT_EQ(recording.ends, 1);
    ASSERT_FALSE(recording.percents.empty());
    for (std::size_t i = 1; i < recording.percents.size(); ++i)
        EXPECT_LT(recording.percents[i - 1], recording.percents[i]);
    EXPECT_LE(recording.percents.back(), 100);
    EXPECT_GE(recording.percents.back(), 99);
}

TEST_F(Document_test, ExpansionResetsTheProgressEvenWhenTheDataRunsOut)
{
    define(for_loop("L", "3", int_item("n", 2)));
    load_bytes(Bytes{0, 1, 0, 2, 0});
    Recording_reporter recording;
    Component* table = root()->child(0);
    EXPECT_THROW(table->expand(), Data_shortage);
    EXPECT_EQ(table->child_count(), 3);
    EXPECT_EQ(recording.ends, 1);
    EXPECT_EQ(recording.texts.back(), "");
}

} // namespace
