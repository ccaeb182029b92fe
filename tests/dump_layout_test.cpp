// The dump view's geometry: scroll ranges, lines on screen, hit test and the
// scrolling that shows a byte. Pure arithmetic, up to files of 4 GiB.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

#include "ui/core/dump_layout.h"

namespace {

constexpr std::optional<std::uint32_t> none = std::nullopt;

TEST(Dump_layout, EmptyDataHasOneBlankLineAndNothingToHit)
{
    const Dump_layout layout(0);
    EXPECT_EQ(layout.data_lines(), 0u);
    EXPECT_EQ(layout.vertical_content(), 16);
    EXPECT_EQ(layout.vertical_maximum(400), 0);
    EXPECT_EQ(layout.visible_lines(0, 400), 0u);
    EXPECT_EQ(layout.offset_at(72, 0, 0, 0), none);
    EXPECT_EQ(layout.offset_at(464, 0, 0, 0), none);
}

TEST(Dump_layout, SeventeenBytesMakeTwoLinesAndOneMoreOfRange)
{
    const Dump_layout layout(17);
    EXPECT_EQ(layout.data_lines(), 2u);
    EXPECT_EQ(layout.vertical_content(), 48);  // ((17 - 1) rounded down to 16) + 32
    EXPECT_EQ(layout.visible_lines(0, 400), 2u);
    EXPECT_EQ(layout.offset_at(72, 16, 0, 0), 16u);
    EXPECT_EQ(layout.offset_at(96, 16, 0, 0), none);  // past the data
}

struct Hit_case {
    int x, y, h, v;
    std::optional<std::uint32_t> offset;
};

class Dump_hit_test : public testing::TestWithParam<Hit_case> {};

TEST_P(Dump_hit_test, FindsTheByteUnderTheClick)
{
    const Hit_case& c = GetParam();
    EXPECT_EQ(Dump_layout(256).offset_at(c.x, c.y, c.h, c.v), c.offset);
}

INSTANTIATE_TEST_SUITE_P(
    Clicks, Dump_hit_test,
    testing::Values(Hit_case{0, 0, 0, 0, none},          // the offset column
                    Hit_case{71, 0, 0, 0, none},         // before the first byte
                    Hit_case{72, 0, 0, 0, 0u}, Hit_case{87, 0, 0, 0, 0u},
                    Hit_case{88, 0, 0, 0, none},         // the gap between two bytes
                    Hit_case{95, 0, 0, 0, none}, Hit_case{96, 5, 0, 0, 1u},
                    Hit_case{256, 0, 0, 0, none},        // on the "-", which is a gap
                    Hit_case{264, 0, 0, 0, 8u}, Hit_case{447, 15, 0, 0, 15u},
                    Hit_case{448, 0, 0, 0, none},        // between the columns
                    Hit_case{463, 0, 0, 0, none}, Hit_case{464, 0, 0, 0, 0u}, Hit_case{471, 0, 0, 0, 0u},
                    Hit_case{472, 0, 0, 0, 1u}, Hit_case{591, 0, 0, 0, 15u},
                    Hit_case{592, 0, 0, 0, none},        // right of x = 591
                    Hit_case{72, 16, 0, 0, 16u}, Hit_case{72, -1, 0, 0, none},
                    Hit_case{0, 0, 72, 0, 0u},           // scrolled right
                    Hit_case{72, 0, 0, 40, 32u},         // scrolled down into the third line
                    Hit_case{72, 7, 0, 248, 240u}, Hit_case{72, 8, 0, 248, none}));

TEST(Dump_layout, LinesOnScreenIncludeTheCutBottomLine)
{
    const Dump_layout layout(1600);  // 100 lines
    EXPECT_EQ(layout.first_line(8), 0u);
    EXPECT_EQ(layout.line_y(0, 8), -8);
    EXPECT_EQ(layout.line_y(1, 8), 8);
    EXPECT_EQ(layout.visible_lines(8, 40), 4u);  // tops at -8, 8, 24, 40
    EXPECT_EQ(layout.visible_lines(1584, 400), 1u);
}

TEST(Dump_layout, ShowingAByteScrollsOnlyWhenItsLineIsOffScreen)
{
    const Dump_layout layout(1600);  // content 1616 pixels
    EXPECT_EQ(layout.vertical_maximum(160), 1456);
    EXPECT_EQ(layout.position_to_show(0, 0, 160), 0);
    EXPECT_EQ(layout.position_to_show(9 * 16 + 5, 0, 160), 0);  // top 144: on screen
    EXPECT_EQ(layout.position_to_show(10 * 16, 0, 160), 160);   // top 160: just below
    EXPECT_EQ(layout.position_to_show(12 * 16, 200, 160), 192); // above the view: becomes the top line
    EXPECT_EQ(layout.position_to_show(1599, 0, 160), 1456);     // clamped to the range
    EXPECT_EQ(Dump_layout(32).position_to_show(31, 0, 160), 0); // everything fits
}

TEST(Dump_layout, ScrollPositionsAreClampedToTheRange)
{
    const Dump_layout layout(1600);
    EXPECT_EQ(layout.vertical_line_step(), 16);
    EXPECT_EQ(layout.vertical_page(160), 160);
    EXPECT_EQ(layout.clamp_vertical(-16, 160), 0);
    EXPECT_EQ(layout.clamp_vertical(1456 + 16, 160), 1456);
    EXPECT_EQ(Dump_layout(16).clamp_vertical(16, 160), 0);
    EXPECT_EQ(Dump_layout::horizontal_maximum(500), 100);
    EXPECT_EQ(Dump_layout::clamp_horizontal(150, 500), 100);
    EXPECT_EQ(Dump_layout::clamp_horizontal(150, 700), 0);
}

TEST(Dump_layout, PixelsUpToTheLargestRangeA32BitScrollBarHolds)
{
    // 134,217,726 lines: (lines + 1) × 16 = 2,147,483,632 still fits.
    const Dump_layout below(2147483616u);
    EXPECT_EQ(below.vertical_unit(), 1);
    EXPECT_EQ(below.vertical_content(), 2147483632);
    EXPECT_EQ(below.position_to_show(2147483615u, 0, 400), 2147483632 - 400);

    const Dump_layout above(2147483617u);
    EXPECT_EQ(above.vertical_unit(), 16);
    EXPECT_EQ(above.vertical_content(), 134217728);
}

TEST(Dump_layout, BeyondTwoGibibytesEveryLineStaysReachable)
{
    const Dump_layout layout(0xFFFFFFFFu);  // 268,435,456 lines
    EXPECT_EQ(layout.vertical_unit(), 16);
    EXPECT_EQ(layout.vertical_line_step(), 1);
    EXPECT_EQ(layout.vertical_page(400), 25);
    EXPECT_EQ(layout.vertical_page(10), 1);
    const std::int32_t last = layout.vertical_maximum(400);
    EXPECT_EQ(last, 268435457 - 25);

    // Scrolled to the end, the last line of data is on screen and can be clicked.
    EXPECT_EQ(layout.first_line(last), 268435432u);
    EXPECT_EQ(layout.visible_lines(last, 400), 24u);
    EXPECT_EQ(layout.line_y(268435455u, last), 23 * 16);
    EXPECT_EQ(layout.offset_at(72, 23 * 16, 0, last), 0xFFFFFFF0u);
    EXPECT_EQ(layout.offset_at(72 + 24 * 14, 23 * 16 + 15, 0, last), 0xFFFFFFFEu);
    EXPECT_EQ(layout.offset_at(72 + 24 * 15, 23 * 16, 0, last), none);  // past the data

    EXPECT_EQ(layout.position_to_show(0xFFFFFFFEu, 0, 400), last);
    EXPECT_EQ(layout.position_to_show(0x80000000u, 0, 400), 0x08000000);  // line 2^27 at the top
    EXPECT_EQ(layout.position_to_show(0x80000010u, 0x08000000, 400), 0x08000000);  // already on screen
}

TEST(Dump_layout, FollowingTheCaretScrollsByAsLittleAsShowsItsLine)
{
    const Dump_layout layout(4096);  // 256 lines; a page of 100 pixels: 6 lines and a part
    struct Step {
        std::uint32_t offset;
        std::int32_t from;
        std::int32_t expected;
    };
    for (const Step step : {Step{80, 0, 0},         // line 5, whole on screen
                            Step{96, 0, 12},        // line 6: its bottom at 112, brought up to 100
                            Step{16, 40, 16},       // above: its top
                            Step{4095, 0, 3996}}) { // the last line at the bottom
        EXPECT_EQ(layout.position_to_follow(step.offset, step.from, 100), step.expected) << step.offset;
    }
    EXPECT_EQ(Dump_layout::lines_per_page(100), 6u);
    EXPECT_EQ(Dump_layout::lines_per_page(5), 1u);
    // Counting lines, the line's bottom is brought on screen with the position rounded up.
    const Dump_layout huge(0xFFFFFFFFu);
    EXPECT_EQ(huge.vertical_unit(), 16);
    EXPECT_EQ(huge.position_to_follow(16 * 10, 0, 40), 9);  // lines 9 and 10 shown, 11 cut
}

} // namespace
