// The byte block: its value text, its length from an expression and its tables.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis_helpers.h"
#include "model/cmp_bytes.h"
#include "support/document_fixture.h"
#include "toolkit/exception.h"

using namespace analysis_test;

namespace {

using Bytes = std::vector<std::uint8_t>;

std::string text_of(std::uint64_t length, const Bytes& first) { return bytes_text(length, first).to_utf8(); }

TEST(Bytes_text, ShowsTheLengthAndTheFirstBytesMarkedOnlyWhenMoreFollow)
{
    EXPECT_EQ(text_of(128, {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A}), "128 バイト: 89 50 4E 47 0D 0A 1A 0A …");
    EXPECT_EQ(text_of(8, {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A}), "8 バイト: 89 50 4E 47 0D 0A 1A 0A");
    EXPECT_EQ(text_of(3, {0x00, 0xFF, 0x10}), "3 バイト: 00 FF 10");
    EXPECT_EQ(text_of(0, {}), "0 バイト");
    // Cut short by the end of the data: what is there.
    EXPECT_EQ(text_of(5, {0x01}), "5 バイト: 01 …");
}

TEST_F(Document_test, BlockLengthComesFromItsExpressionAndNothingIsReadBelowOne)
{
    define(int_item("n", 1, false, Def_int::decimal, "n"), bytes_item("b", "n"), bytes_item("none", "n - 4"),
           bytes_item("zero", "0"), int_item("after", 1));
    load_bytes(Bytes{3, 0xA1, 0xB2, 0xC3, 9});
    EXPECT_EQ(tree(1), "未定義\t\n  n\t3\n  b\t3 バイト: A1 B2 C3\n  none\t0 バイト\n  zero\t0 バイト\n  after\t9\n");
    Component* block = root()->child(1);
    EXPECT_EQ(block->size(), 3u);
    EXPECT_FALSE(root()->child(2)->has_children());
    EXPECT_EQ(tree(1, block), "b\t3 バイト: A1 B2 C3\n  [0]\t0xA1\n  [1]\t0xB2\n  [2]\t0xC3\n");
}

TEST_F(Document_test, BlockPastTheEndShowsWhatIsThereAndEndsInTheShortage)
{
    define(bytes_item("b", "_rest + 1"), int_item("never", 1));
    load_bytes(Bytes{1, 2});
    EXPECT_EQ(tree(1), "未定義\t\n  b\t3 バイト: 01 02 …\n  データ不足\t\n");
    EXPECT_EQ(root()->child(0)->end(), nullptr);
    EXPECT_EQ(child_names(root()->child(0)), (std::vector<std::string>{"[0]", "[1]"}));
}

TEST_F(Document_test, LongBlockIsOneComponentOpenedInGroupsOf1024)
{
    define(bytes_item("b", "_rest"));
    load_bytes(std::string(2000000, '\x07'));
    ASSERT_EQ(root()->child_count(), 1);
    Component* block = root()->child(0);
    EXPECT_EQ(block->child_count(), 0);
    EXPECT_EQ(line(block), "b\t2000000 バイト: 07 07 07 07 07 07 07 07 …");
    EXPECT_EQ(child_names(block), (std::vector<std::string>{"b[0 - 1048575]", "b[1048576 - 1999999]"}));
    const std::vector<std::string> groups = child_names(block->child(1));
    ASSERT_EQ(groups.size(), 930u);
    EXPECT_EQ(groups.back(), "b[1999872 - 1999999]");
    // The last group is reached by a replay that stops inside the block.
    const std::vector<std::string> last = child_names(block->child(1)->child(929));
    ASSERT_EQ(last.size(), 128u);
    EXPECT_EQ(last.back(), "[1999999]");
    EXPECT_EQ(line(block->child(1)->child(929)->child(127)), "[1999999]\t0x07");
}

} // namespace
