// The dump's byte caret and selection under the movement keys, its status text, and
// the go-to field's offsets.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

#include "ui/core/dump_caret.h"
#include "ui/core/value_choice.h"

namespace {

constexpr std::optional<std::uint32_t> none = std::nullopt;

struct Caret_case {
    Dump_caret from;
    Caret_key key;
    bool ctrl;
    bool shift;
    std::uint32_t size;
    Dump_caret to;
};

class Caret_move_test : public testing::TestWithParam<Caret_case> {};

// 16 bytes a line, 4 lines a page.
TEST_P(Caret_move_test, KeysMoveTheCaretWithinTheData)
{
    const Caret_case& c = GetParam();
    const Dump_caret moved = move_caret(c.from, c.key, c.ctrl, c.shift, c.size, 16, 4);
    EXPECT_EQ(moved.caret, c.to.caret);
    EXPECT_EQ(moved.anchor, c.to.anchor);
}

using K = Caret_key;
INSTANTIATE_TEST_SUITE_P(
    Keys, Caret_move_test,
    testing::Values(
        Caret_case{{5, none}, K::right, false, false, 100, {6, none}},
        Caret_case{{0, none}, K::left, false, false, 100, {0, none}},       // stops at the first byte
        Caret_case{{99, none}, K::right, false, false, 100, {99, none}},    // and at the last
        Caret_case{{20, none}, K::up, false, false, 100, {4, none}},
        Caret_case{{4, none}, K::up, false, false, 100, {4, none}},         // first line: stays
        Caret_case{{85, none}, K::down, false, false, 100, {99, none}},     // short last line: its last byte
        Caret_case{{97, none}, K::down, false, false, 100, {97, none}},     // last line: stays
        Caret_case{{3, none}, K::page_down, false, false, 100, {67, none}}, // four lines, same column
        Caret_case{{67, none}, K::page_down, false, false, 100, {99, none}},// the last line, same column
        Caret_case{{83, none}, K::page_up, false, false, 100, {19, none}},
        Caret_case{{19, none}, K::page_up, false, false, 100, {3, none}},   // the first line, same column
        Caret_case{{37, none}, K::home, false, false, 100, {32, none}},
        Caret_case{{37, none}, K::end, false, false, 100, {47, none}},
        Caret_case{{97, none}, K::end, false, false, 100, {99, none}},      // a short line ends at the data's end
        Caret_case{{37, none}, K::home, true, false, 100, {0, none}},
        Caret_case{{37, none}, K::end, true, false, 100, {99, none}},
        // Shift sets the anchor where the caret was and keeps it; a plain move drops it.
        Caret_case{{5, none}, K::right, false, true, 100, {6, 5u}},
        Caret_case{{6, 5u}, K::down, false, true, 100, {22, 5u}},
        Caret_case{{6, 5u}, K::left, false, true, 100, {5, 5u}},
        Caret_case{{22, 5u}, K::left, false, false, 100, {21, none}},
        Caret_case{{37, none}, K::end, true, true, 100, {99, 37u}},
        // A caret left beyond the data by a shorter file moves from the last byte.
        Caret_case{{500, none}, K::left, false, false, 100, {98, none}},
        // No data: nothing moves.
        Caret_case{{0, none}, K::right, false, true, 0, {0, none}}));

TEST(Dump_caret, AClickMovesTheCaretAndShiftExtendsTheSelectionToIt)
{
    EXPECT_EQ(click_caret({5, 9u}, 20, false), (Dump_caret{20, none}));
    // Without a selection the anchor is where the caret was; with one it stays.
    EXPECT_EQ(click_caret({5, none}, 20, true), (Dump_caret{20, 5u}));
    EXPECT_EQ(click_caret({5, 9u}, 2, true), (Dump_caret{2, 9u}));
    EXPECT_EQ(click_caret({5, none}, 5, true).selection_length(), 1u);
}

TEST(Dump_caret, SelectionRunsFromTheAnchorToTheCaretBothIncluded)
{
    const Dump_caret backwards{3, 7u};
    EXPECT_EQ(backwards.selection_start(), 3u);
    EXPECT_EQ(backwards.selection_length(), 5u);
    EXPECT_FALSE(backwards.selected(2));
    EXPECT_TRUE(backwards.selected(3));
    EXPECT_TRUE(backwards.selected(7));
    EXPECT_FALSE(backwards.selected(8));
    EXPECT_EQ((Dump_caret{7, 7u}).selection_length(), 1u);
    EXPECT_EQ((Dump_caret{7, none}).selection_length(), 0u);
    EXPECT_FALSE((Dump_caret{7, none}).selected(7));
    // After the data shrank, caret and anchor stay on its bytes.
    EXPECT_EQ(clamp_caret({90, 95u}, 50), (Dump_caret{49, 49u}));
    EXPECT_EQ(clamp_caret({90, 95u}, 0), (Dump_caret{0, none}));
}

TEST(Dump_caret, StatusTextGivesThePlaceAndTheSelection)
{
    EXPECT_EQ(caret_status_text(26, 0, 100), "位置 0000001A (26)");
    EXPECT_EQ(caret_status_text(0xFFFFFFFEu, 4, 0xFFFFFFFFu), "位置 FFFFFFFE (4294967294)  選択 4 バイト");
    EXPECT_EQ(caret_status_text(0, 0, 0), "");
}

TEST(Go_to_field, TheFieldsStateForTheData)
{
    EXPECT_EQ(offset_field_state("", 10), Offset_field::empty);
    EXPECT_EQ(offset_field_state("  ", 10), Offset_field::empty);
    EXPECT_EQ(offset_field_state("x", 10), Offset_field::unreadable);
    EXPECT_EQ(offset_field_state("9", 10), Offset_field::inside);
    EXPECT_EQ(offset_field_state("0xA", 10), Offset_field::past_end);
    EXPECT_EQ(offset_field_state("0", 0), Offset_field::past_end);
    EXPECT_EQ(offset_field_state("0x100000000", 0xFFFFFFFFu), Offset_field::past_end);
}

} // namespace
