// The texts of the dump view's lines, read from a loaded document.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/document_fixture.h"
#include "ui/core/dump_lines.h"

namespace {

class Dump_lines_test : public Document_test {
protected:
    static std::vector<Dump_line> lines(std::uint32_t first, std::uint32_t count, Dump_highlight highlight = {})
    {
        return dump_lines(doc(), first, count, highlight);
    }

    // The character cells of a line joined by "|", wide ones marked with "+".
    static std::string characters(const Dump_line& line)
    {
        std::string out;
        for (const Dump_cell& cell : line.cells) {
            if (&cell != &line.cells.front())
                out += '|';
            out += cell.character;
            if (cell.wide)
                out += '+';
        }
        return out;
    }
};

TEST_F(Dump_lines_test, EmptyDataDrawsNothing) { EXPECT_TRUE(lines(0, 40).empty()); }

TEST_F(Dump_lines_test, SeventeenBytesMakeTwoLinesWithoutASeparatorOnTheSecond)
{
    load_bytes(std::string("0123456789abcdefg"));
    const std::vector<Dump_line> shown = lines(0, 40);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].offset_text, "00000000");
    EXPECT_TRUE(shown[0].separator);
    EXPECT_EQ(shown[0].cells.size(), 16u);
    EXPECT_EQ(shown[0].cells[10].hex, "61");
    EXPECT_EQ(characters(shown[0]), "0|1|2|3|4|5|6|7|8|9|a|b|c|d|e|f");
    EXPECT_EQ(shown[1].offset, 16u);
    EXPECT_EQ(shown[1].offset_text, "00000010");
    EXPECT_FALSE(shown[1].separator);
    EXPECT_EQ(characters(shown[1]), "g");

    // Nine bytes reach column 8, so the line has its "-".
    load_bytes(std::string("012345678"));
    EXPECT_TRUE(lines(0, 1).at(0).separator);
    load_bytes(std::string("01234567"));
    EXPECT_FALSE(lines(0, 1).at(0).separator);
}

TEST_F(Dump_lines_test, SingleBytesArePrintableCharactersOrAFullStop)
{
    load_bytes(std::vector<std::uint8_t>{0x41, 0x20, 0x7E, 0x7F, 0x00, 0x0A, 0x80, 0xA0, 0xA1, 0xB1, 0xDF, 0xFD, 0xFF});
    EXPECT_EQ(characters(lines(0, 1).at(0)), "A| |~|.|.|.|.|.|｡|ｱ|ﾟ|.|.");
    EXPECT_EQ(lines(0, 1).at(0).cells[12].hex, "FF");
}

TEST_F(Dump_lines_test, ALeadByteAsTheLastByteIsAFullStop)
{
    load_bytes(std::vector<std::uint8_t>{0x41, 0x82, 0xA0, 0x82});
    EXPECT_EQ(characters(lines(0, 1).at(0)), "A|あ+||.");
}

TEST_F(Dump_lines_test, ACharacterStartingInColumnFifteenLeavesTheNextLinesFirstCellEmpty)
{
    std::string bytes(15, 'a');
    bytes += "\x82\xA0" "b";
    load_bytes(bytes);
    const std::vector<Dump_line> shown = lines(0, 2);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].cells[15].character, "あ");
    EXPECT_TRUE(shown[0].cells[15].wide);
    EXPECT_EQ(shown[1].cells[0].hex, "A0");
    EXPECT_EQ(characters(shown[1]), "|b");
    // Drawn from the second line alone, the state before it is followed all the same.
    EXPECT_EQ(characters(lines(1, 1).at(0)), "|b");
}

TEST_F(Dump_lines_test, TheStateCrossesASkipBlockBoundary)
{
    // "A" then lead bytes only: they pair up from position 1, so the first byte of
    // the second skip block (an even position) is a second byte.
    constexpr std::uint32_t block = Data_mgr::skip_block;
    std::string bytes(1 + block + 15, '\x82');
    bytes[0] = 'A';
    load_bytes(bytes);
    const std::string pair = double_byte_text(0x82, 0x82);
    const std::vector<Dump_line> shown = lines(block / 16 - 1, 2);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].offset, block);
    EXPECT_EQ(shown[0].cells[15].character, pair);  // position block - 1, odd: a first byte
    EXPECT_TRUE(shown[0].cells[15].wide);
    EXPECT_EQ(characters(shown[1]), "|" + pair + "+||" + pair + "+||" + pair + "+||" + pair + "+||" + pair + "+||" +
                                        pair + "+||" + pair + "+||.");
    EXPECT_EQ(characters(lines(block / 16, 1).at(0)), characters(shown[1]));
}

TEST_F(Dump_lines_test, TheHighlightedBytesAreRed)
{
    load_bytes(std::string(20, 'x'));
    const std::vector<Dump_line> shown = lines(0, 2, {true, 3, 17});
    for (std::uint32_t offset = 0; offset < 20; ++offset)
        EXPECT_EQ(shown[offset / 16].cells[offset % 16].red, offset >= 3 && offset < 17) << offset;
    for (const Dump_line& line : lines(0, 2, {false, 0, 20}))
        for (const Dump_cell& cell : line.cells)
            EXPECT_FALSE(cell.red);
}

TEST_F(Dump_lines_test, LinesPastTheDataAreNotDrawn)
{
    load_bytes(std::string(40, 'x'));
    EXPECT_EQ(lines(1, 100).size(), 2u);
    EXPECT_TRUE(lines(3, 1).empty());
    EXPECT_EQ(lines(2, 0).size(), 0u);
}

TEST(Dump_characters, PairsWithoutACharacterShowAFullStop)
{
    EXPECT_EQ(double_byte_text(0x82, 0xA0), "あ");
    EXPECT_EQ(double_byte_text(0x88, 0x9F), "亜");
    EXPECT_EQ(double_byte_text(0x81, 0x20), ".");
    EXPECT_EQ(double_byte_text(0x81, 0x7F), ".");
    // User-defined characters: private use area, drawn by no font.
    EXPECT_EQ(double_byte_text(0xF0, 0x40), ".");
    EXPECT_EQ(double_byte_text(0xF9, 0xFC), ".");
    EXPECT_EQ(double_byte_text(0xFA, 0x40), "ⅰ");  // IBM extensions have characters
}

} // namespace
