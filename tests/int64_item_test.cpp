// The 8-byte integer: value texts at the ends of its ranges, flags up to bit 63,
// named values, a loop counted by it, the report line and the file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis_helpers.h"
#include "model/int_decoder.h"
#include "support/document_fixture.h"

using namespace analysis_test;

namespace {

using Bytes = std::vector<std::uint8_t>;

std::string text_of(const Def_int& item, std::uint64_t bits)
{
    std::string text;
    append_int_text(text, item, int_format(item), bits);
    return text;
}

TEST(Int64_text, ShowsEveryDigitAtTheEndsOfTheRange)
{
    const Def_int sdec(Bcl_str("s"), true, 8, Def_int::decimal, Bcl_str());
    const Def_int udec(Bcl_str("u"), false, 8, Def_int::decimal, Bcl_str());
    const Def_int hex(Bcl_str("h"), true, 8, Def_int::hexadecimal, Bcl_str());
    EXPECT_EQ(text_of(sdec, 0x8000000000000000ull), "-9223372036854775808");
    EXPECT_EQ(text_of(sdec, 0x7FFFFFFFFFFFFFFFull), "9223372036854775807");
    EXPECT_EQ(text_of(sdec, ~0ull), "-1");
    EXPECT_EQ(text_of(udec, ~0ull), "18446744073709551615");
    EXPECT_EQ(text_of(udec, 0x100000000ull), "4294967296");
    EXPECT_EQ(text_of(hex, 0x0123456789ABCDEFull), "0x0123456789ABCDEF");
    EXPECT_EQ(text_of(hex, 0), "0x0000000000000000");

    // Named values are looked up by the 64-bit value.
    Def_int named(Bcl_str("n"), false, 8, Def_int::decimal, Bcl_str());
    named.set_named_values({{-1, Bcl_str("all")}, {0x100000000ll, Bcl_str("big")}, {0, Bcl_str("zero")}});
    EXPECT_EQ(text_of(named, ~0ull), "all");
    EXPECT_EQ(text_of(named, 0x100000000ull), "big");
    EXPECT_EQ(text_of(named, 1ull << 32 | 0), "big");
    EXPECT_EQ(text_of(named, 1), "1");

    // A flag's named values are keyed as its integer's: by 64-bit values in an
    // 8-byte integer, so 0xFFFFFFFF is 4294967295 there and -1 elsewhere.
    Def_bitflag flag(Bcl_str("f"), 32, Bcl_str());
    flag.set_named_values({{4294967295ll, Bcl_str("wide")}, {-1, Bcl_str("narrow")}});
    std::string wide_text;
    std::string narrow_text;
    append_flag_text(wide_text, flag, 0xFFFFFFFFu, true);
    append_flag_text(narrow_text, flag, 0xFFFFFFFFu, false);
    EXPECT_EQ(wide_text, "wide");
    EXPECT_EQ(narrow_text, "narrow");
}

TEST_F(Document_test, EightByteIntegerReadsItsFlagsUpToBit63InEitherOrder)
{
    auto* item = with_flag(with_flag(int_item("v", 8, false, Def_int::hexadecimal), "low", 60, "l"), "top", 4, "t");
    define(item, for_loop("L", "t", int_item("x", 1)));
    load_bytes(Bytes{0xF0, 0, 0, 0, 0, 0, 0, 0x05, 1, 2});
    ASSERT_EQ(tree(1), "未定義\t\n  v\t0xF000000000000005\n  L\t...\n  データ不足\t\n");
    root()->child(0)->expand();
    EXPECT_EQ(line(root()->child(0)->child(0)), "low\t5");
    EXPECT_EQ(line(root()->child(0)->child(1)), "top\t15");

    doc().set_byte_order(little);
    load_bytes(Bytes{0x05, 0, 0, 0, 0, 0, 0, 0x10, 7});
    EXPECT_EQ(tree(1), "未定義\t\n  v\t0x1000000000000005\n  L\t...\n");
    EXPECT_EQ(doc().get_variable("t"), 1);
}

// A count of 2^32 + 2 is not cut to its low 32 bits (2), neither read directly nor
// through an assignment: the loop runs until the data runs short.
TEST_F(Document_test, ForLoopCountedByAnEightByteFieldUsesItWhole)
{
    define(int_item("n", 8, false, Def_int::decimal, "n"), set_var("m", "n + 0"), for_loop("L", "m", int_item("x", 1)));
    load_bytes(Bytes{0, 0, 0, 1, 0, 0, 0, 2, 9, 9, 9});
    EXPECT_EQ(tree(1), "未定義\t\n  n\t4294967298\n  L\t...\n  データ不足\t\n");
}

// A negative 64-bit count whose low 32 bits are positive reads nothing.
TEST_F(Document_test, ForLoopOfANegativeEightByteCountReadsNothing)
{
    define(int_item("n", 8, true, Def_int::decimal, "n"), for_loop("L", "n", int_item("x", 1)));
    load_bytes(Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 2, 9});
    EXPECT_EQ(tree(1), "未定義\t\n  n\t-4294967294\n  未定義[0 - 0]\t...\n");
}

} // namespace
