// The float item: its value texts, the typed numbers it takes and its walk.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis_helpers.h"
#include "model/float_value.h"
#include "support/document_fixture.h"

using namespace analysis_test;

namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(Float_text, IsTheShortestThatReadsBackInEitherByteOrder)
{
    struct Row {
        Bytes big_endian;
        const char* text;
    };
    const Row rows[] = {
        {{0x3D, 0xCC, 0xCC, 0xCD}, "0.1"},
        {{0x00, 0x00, 0x00, 0x01}, "1e-45"},  // the smallest denormal
        {{0x7F, 0x7F, 0xFF, 0xFF}, "3.4028235e+38"},
        {{0x80, 0x00, 0x00, 0x00}, "-0"},
        {{0x7F, 0x80, 0x00, 0x00}, "inf"},
        {{0xFF, 0x80, 0x00, 0x00}, "-inf"},
        {{0x7F, 0xC0, 0x00, 0x00}, "nan"},
        {{0xFF, 0xC0, 0x00, 0x01}, "nan"},  // negative, with a payload
        {{0x3F, 0xB9, 0x99, 0x99, 0x99, 0x99, 0x99, 0x9A}, "0.1"},
        {{0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01}, "5e-324"},
        {{0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, "-2"},
    };
    for (const Row& row : rows) {
        const auto width = static_cast<int>(row.big_endian.size());
        const Bytes little_endian(row.big_endian.rbegin(), row.big_endian.rend());
        const std::uint64_t bits = load_float_bits(row.big_endian.data(), width, big);
        EXPECT_EQ(load_float_bits(little_endian.data(), width, little), bits) << row.text;
        EXPECT_EQ(float_text(bits, width), row.text);
        // The text typed back gives the same bytes (NaNs aside: any NaN is "nan").
        const std::optional<double> back = parse_float(row.text, width);
        ASSERT_TRUE(back) << row.text;
        if (std::string(row.text) != "nan") {
            EXPECT_EQ(float_bytes(*back, width, big), std::string(row.big_endian.begin(), row.big_endian.end())) << row.text;
            EXPECT_EQ(float_bytes(*back, width, little), std::string(little_endian.begin(), little_endian.end()));
        }
    }
}

TEST(Float_text, TypedTextMustBeADecimalNumberTheSizeHolds)
{
    EXPECT_EQ(parse_float(" +2.5e1 ", 4), 25.0);
    EXPECT_EQ(parse_float("-.5", 8), -0.5);
    EXPECT_EQ(parse_float("1e39", 8), 1e39);
    EXPECT_EQ(stored_float_text(*parse_float("0.1", 4), 4), "0.1");
    for (const char* bad : {"", " ", "abc", "1.5x", "0x10", "1,5", "+-1", "--1", "infinity", "1e39", "1e400"})
        EXPECT_EQ(parse_float(bad, 4), std::nullopt) << bad;
}

TEST_F(Document_test, FloatsReadTheirBytesInTheDocumentsOrder)
{
    define(float_item("f", 4), float_item("d", 8));
    load_bytes(Bytes{0x3D, 0xCC, 0xCC, 0xCD, 0x3F, 0xF8, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(tree(1), "未定義\t\n  f\t0.1\n  d\t1.5\n");
    EXPECT_EQ(root()->child(1)->size(), 8u);

    doc().set_byte_order(little);
    load_bytes(Bytes{0xCD, 0xCC, 0xCC, 0x3D, 0, 0, 0, 0, 0, 0, 0xF8, 0x3F});
    EXPECT_EQ(tree(1), "未定義\t\n  f\t0.1\n  d\t1.5\n");
}

TEST_F(Document_test, FloatCutShortHasNoValueAndEndsInTheShortage)
{
    define(float_item("f", 4), float_item("never", 4));
    load_bytes(Bytes{0x3F, 0x80, 0x00});
    EXPECT_EQ(tree(1), "未定義\t\n  f\t\n  データ不足\t\n");
    EXPECT_EQ(root()->child(0)->end(), nullptr);
}

} // namespace
