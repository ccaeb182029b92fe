#include "ui/core/byte_readings.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// The row labelled `label`, as {little, big}.
std::pair<std::string, std::string> row(const Bytes& bytes, std::string_view label)
{
    for (const Byte_reading& r : byte_readings(bytes))
        if (r.label == label)
            return {r.little, r.big};
    ADD_FAILURE() << "no row " << label;
    return {};
}

using Pair = std::pair<std::string, std::string>;

TEST(Byte_readings, IntegersInBothOrdersSignedAndUnsigned)
{
    const Bytes bytes{0xFF, 0xFE, 0xFD, 0xFC, 0x01, 0x02, 0x03, 0x04};
    EXPECT_EQ(row(bytes, "8ビット符号付き"), Pair("-1", "-1"));
    EXPECT_EQ(row(bytes, "8ビット符号なし"), Pair("255", "255"));
    EXPECT_EQ(row(bytes, "16ビット符号付き"), Pair("-257", "-2"));
    EXPECT_EQ(row(bytes, "16ビット符号なし"), Pair("65279", "65534"));
    EXPECT_EQ(row(bytes, "32ビット符号付き"), Pair("-50462977", "-66052"));
    EXPECT_EQ(row(bytes, "32ビット符号なし"), Pair("4244504319", "4294901244"));
    EXPECT_EQ(row(bytes, "64ビット符号付き"), Pair("289077008644570879", "-283691162926332"));
    EXPECT_EQ(row(bytes, "64ビット符号なし"), Pair("289077008644570879", "18446460382546625284"));
}

TEST(Byte_readings, ValuesPastTheEndAreEmpty)
{
    const Bytes three{0x01, 0x02, 0x03};
    EXPECT_EQ(row(three, "16ビット符号なし"), Pair("513", "258"));
    EXPECT_EQ(row(three, "32ビット符号なし"), Pair("", ""));
    EXPECT_EQ(row(three, "64ビット浮動小数点"), Pair("", ""));
    EXPECT_EQ(row(three, "UNIX時刻"), Pair("", ""));
    EXPECT_EQ(row(three, "DOS日時"), Pair("", ""));
    EXPECT_EQ(row({}, "8ビット符号なし"), Pair("", ""));
    EXPECT_EQ(row({}, "Shift-JIS文字"), Pair("", ""));
}

TEST(Byte_readings, FloatsWithNanAndInfinities)
{
    EXPECT_EQ(row({0xC0, 0x48, 0xF5, 0xC3}, "32ビット浮動小数点"), Pair("-490.56836", "-3.14"));
    EXPECT_EQ(row({0x00, 0x00, 0x80, 0x7F}, "32ビット浮動小数点").first, "+∞");
    EXPECT_EQ(row({0xFF, 0x80, 0x00, 0x00}, "32ビット浮動小数点").second, "−∞");
    EXPECT_EQ(row({0x7F, 0xC0, 0x00, 0x01}, "32ビット浮動小数点").second, "NaN");
    EXPECT_EQ(row({0xC0, 0, 0, 0, 0, 0, 0, 0}, "64ビット浮動小数点").second, "-2");
    EXPECT_EQ(row({0, 0, 0, 0, 0, 0, 0xF0, 0x7F}, "64ビット浮動小数点").first, "+∞");
    EXPECT_EQ(row({0xFF, 0xF0, 0, 0, 0, 0, 0, 0}, "64ビット浮動小数点").second, "−∞");
    EXPECT_EQ(row({0xFF, 0xF8, 0, 0, 0, 0, 0, 0}, "64ビット浮動小数点").second, "NaN");
}

TEST(Byte_readings, Characters)
{
    EXPECT_EQ(row({0x82, 0xA0}, "Shift-JIS文字").first, "あ");
    EXPECT_EQ(row({0x82}, "Shift-JIS文字").first, "");  // a lead byte at the end
    EXPECT_EQ(row({0x41, 0x82}, "Shift-JIS文字").first, "A");
    EXPECT_EQ(row({0xB1}, "Shift-JIS文字").first, "ｱ");

    EXPECT_EQ(row({0xE3, 0x81, 0x82, 0x00}, "UTF-8文字").first, "あ (U+3042)");
    EXPECT_EQ(row({0xE3, 0x81}, "UTF-8文字").first, "");  // cut by the end of the data
    EXPECT_EQ(row({0x80, 0x41}, "UTF-8文字").first, "不正");
    EXPECT_EQ(row({0xC0, 0x80}, "UTF-8文字").first, "不正");  // overlong
    EXPECT_EQ(row({0xE3, 0x41}, "UTF-8文字").first, "不正");  // not cut: wrong
    EXPECT_EQ(row({0xED, 0xA0, 0x80}, "UTF-8文字").first, "不正");  // a surrogate
    EXPECT_EQ(row({0x0A}, "UTF-8文字").first, "U+000A");

    EXPECT_EQ(row({0x42, 0x30}, "UTF-16文字"), Pair("あ (U+3042)", "䈰 (U+4230)"));
    EXPECT_EQ(row({0x3D, 0xD8, 0x00, 0xDE}, "UTF-16文字").first, "😀 (U+1F600)");
    EXPECT_EQ(row({0x3D, 0xD8, 0x00}, "UTF-16文字").first, "");  // a pair needs 4 bytes
    EXPECT_EQ(row({0x3D, 0xD8, 0x41, 0x00}, "UTF-16文字").first, "不正");
    EXPECT_EQ(row({0x00, 0xDC}, "UTF-16文字").first, "不正");
}

TEST(Byte_readings, UnixAndDosTimes)
{
    EXPECT_EQ(row({0, 0, 0, 0}, "UNIX時刻"), Pair("1970-01-01 00:00:00", "1970-01-01 00:00:00"));
    // Signed: the little-endian reading is −129 seconds.
    EXPECT_EQ(row({0x7F, 0xFF, 0xFF, 0xFF}, "UNIX時刻"), Pair("1969-12-31 23:57:51", "2038-01-19 03:14:07"));
    // 13:45:30 (time 0x6DAF) on 2024-05-17 (date 0x58B1), both little-endian.
    EXPECT_EQ(row({0xAF, 0x6D, 0xB1, 0x58}, "DOS日時"), Pair("2024-05-17 13:45:30", ""));
    // A date of 0 has month and day 0: only the time is shown.
    EXPECT_EQ(row({0, 0, 0, 0}, "DOS日時").first, "00:00:00");
    // Hour 31 and 2023-02-29: nothing valid.
    EXPECT_EQ(row({0x00, 0xF8, 0x5D, 0x56}, "DOS日時").first, "");
}

} // namespace
