// Shift-JIS strings, the system texts and the exception messages.
#include <gtest/gtest.h>

#include <charconv>
#include <cinttypes>
#include <cstdio>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/text/bcl_str.h"
#include "toolkit/text/cell_text.h"
#include "toolkit/exception.h"
#include "toolkit/text/number_text.h"
#include "toolkit/memory/small_copy.h"
#include "toolkit/text/texts.h"
#include "toolkit/text/utf32.h"

TEST(Bcl_str, ConvertsBetweenShiftJisAndUtf8)
{
    const Bcl_str title = Bcl_str::from_utf8("未定義");
    EXPECT_EQ(title.bytes(), "\x96\xA2\x92\xE8\x8B\x60");
    EXPECT_EQ(title.to_utf8(), "未定義");
    // A trail byte equal to a backslash survives both ways.
    const Bcl_str so = Bcl_str::from_utf8("ソ");
    EXPECT_EQ(so.bytes(), "\x83\x5C");
    EXPECT_EQ(so.to_utf8(), "ソ");
}

TEST(Bcl_str, UnconvertibleBytesStayVisible)
{
    // A lone lead byte at the end and an undefined byte each become U+FFFD.
    EXPECT_EQ(Bcl_str(std::string("a\x82")).to_utf8(), "a\xEF\xBF\xBD");
    EXPECT_EQ(Bcl_str(std::string("\xA0" "b")).to_utf8(), "\xEF\xBF\xBD" "b");
    EXPECT_FALSE(Bcl_str(std::string("a\x82")).converts_losslessly());
    EXPECT_TRUE(Bcl_str::from_utf8("表示").converts_losslessly());
    // Characters outside CP932 and broken UTF-8 become one '?' each.
    EXPECT_EQ(Bcl_str::from_utf8("x\xF0\x9F\x98\x80y").bytes(), "x?y");
    EXPECT_EQ(Bcl_str::from_utf8("x\xC3").bytes(), "x?");
}

// What Japanese input methods on Linux give is stored under CP932's code points, and
// reads back as the CP932 form.
TEST(Bcl_str, JisFormsAreStoredAsTheirCp932Forms)
{
    const std::u32string jis = U"\u301C\u2212\u2014\u2016\u00A2\u00A3\u00AC";
    const std::u32string cp932 = U"\uFF5E\uFF0D\u2015\u2225\uFFE0\uFFE1\uFFE2";
    for (std::size_t i = 0; i < jis.size(); ++i) {
        EXPECT_EQ(cp932_form(jis[i]), cp932[i]) << i;
        EXPECT_EQ(cp932_form(cp932[i]), cp932[i]) << i;
    }
    EXPECT_EQ(cp932_form(U'~'), U'~');
    const Bcl_str stored = Bcl_str::from_utf8(utf8_from_utf32(U"1" + jis + U"2"));
    EXPECT_EQ(stored.bytes(), "1\x81\x60\x81\x7C\x81\x5C\x81\x61\x81\x91\x81\x92\x81\xCA" "2");
    EXPECT_EQ(stored.to_utf8(), utf8_from_utf32(U"1" + cp932 + U"2"));
    // A sequence cut short after a lead byte that starts a JIS form stays one '?'.
    EXPECT_EQ(Bcl_str::from_utf8("\xE3\x80").bytes(), "?");
}

TEST(Bcl_str, ComparesAsUnsignedBytes)
{
    EXPECT_LT(Bcl_str("a"), Bcl_str("b"));
    EXPECT_LT(Bcl_str("z"), Bcl_str(std::string("\x81\x40")));
    EXPECT_LT(Bcl_str("ab"), Bcl_str("abc"));
    EXPECT_EQ(Bcl_str(std::string("a\0b", 3)).size(), 3u);
}

TEST(Exception, MessagesFollowThePath)
{
    const File_path path("/tmp/x.kxd");
    EXPECT_EQ(File_open_err_exception(path).display_text(), "/tmp/x.kxdは開けません。");
    EXPECT_EQ(Data_kind_exception(path).message().to_utf8(), "はケストリクスの定義ファイルではありません。");
    EXPECT_EQ(Data_err_exception(path).message().to_utf8(), "はデータ異常です。");
    EXPECT_EQ(Ver_exception(path, 205).message().to_utf8(),
              "はこのプログラムでは読めません。\nプログラムバージョン2.05以降を御使用ください。");
    EXPECT_EQ(Ver_exception(path, 1000).message().to_utf8(),
              "はこのプログラムでは読めません。\nプログラムバージョン10.00以降を御使用ください。");
    // A fault names no file: its plain text alone, converted by nothing.
    EXPECT_EQ(Fault_exception("the item does not stand in the given list").display_text(),
              "the item does not stand in the given list");
}

TEST(Number_text, AllModes)
{
    EXPECT_EQ(number_text(0xFFFFFFFFu, Radix::signed_decimal), "-1");
    EXPECT_EQ(number_text(0x80000000u, Radix::signed_decimal), "-2147483648");
    EXPECT_EQ(number_text(0xFFFFFFFFu, Radix::unsigned_decimal), "4294967295");
    EXPECT_EQ(number_text(0xABu, Radix::hexadecimal), "ab");
    EXPECT_EQ(number_text(8, Radix::octal), "10");
    EXPECT_EQ(number_text(5, Radix::binary), "101");
    EXPECT_EQ(number_text(0, Radix::unsigned_decimal), "0");
    EXPECT_EQ(hex_text(255, 2), "0x00FF");
    EXPECT_EQ(hex_text(0xFFFFFFFFu, 4), "0xFFFFFFFF");
    EXPECT_EQ(hex_text(0x0A, 1), "0x0A");
}

// Fixed-width digits keep only the lowest ones; labels take 64-bit indexes whole.
TEST(Number_text, FixedWidthDigitsAndLabels)
{
    std::string text = "x";
    append_hex_digits(text, 0x1ABCDEF01ull, 8);
    append_hex_digits(text, 0xAB, 2, Hex_case::lower);
    append_hex_digits(text, 0xAB, 0);
    EXPECT_EQ(text, "xABCDEF01ab");

    // Labels are written one way up to 2^32 - 1 and another from 2^32.
    for (const std::uint64_t index : {0ull, 9ull, 10ull, 99ull, 100ull, 4294967295ull, 4294967296ull,
                                      18446744073709551615ull}) {
        char line[max_index_label_chars];
        EXPECT_EQ(std::string(+line, put_index_label(line, index)), index_label(index));
    }
    char line[max_index_label_chars];
    EXPECT_EQ(std::string(+line, put_index_label(line, 18446744073709551615ull)), "[18446744073709551615]");
    EXPECT_EQ(index_label(0), "[0]");
    EXPECT_EQ(range_label(1024, 2047), "[1024 - 2047]");
}

// The digits are written two at a time from tables: every digit count and the
// values around each change of it agree with printf.
TEST(Number_text, AgreesWithPrintfAroundEveryDigitCount)
{
    std::vector<std::uint64_t> values = {0, 1, 0xFFFFFFFFull, 0xFFFFFFFFFFFFFFFFull};
    for (std::uint64_t power = 1; power <= 1000000000000000000ull; power *= 10)
        for (const std::uint64_t value : {power - 1, power, power + 1, 7 * power + 3})
            values.push_back(value);
    for (const std::uint64_t value : values) {
        char expected[48];
        std::snprintf(expected, sizeof expected, "[%" PRIu64 "]", value);
        EXPECT_EQ(index_label(value), expected);
        if (value > 0xFFFFFFFFull)
            continue;
        const auto value32 = static_cast<std::uint32_t>(value);
        std::snprintf(expected, sizeof expected, "%" PRIu32, value32);
        EXPECT_EQ(number_text(value32, Radix::unsigned_decimal), expected);
        std::snprintf(expected, sizeof expected, "%" PRId32, static_cast<std::int32_t>(value32));
        EXPECT_EQ(number_text(value32, Radix::signed_decimal), expected);
        std::snprintf(expected, sizeof expected, "%" PRIo32, value32);
        EXPECT_EQ(number_text(value32, Radix::octal), expected);
        std::snprintf(expected, sizeof expected, "%" PRIx32, value32);
        EXPECT_EQ(number_text(value32, Radix::hexadecimal), expected);
    }
    // Odd and over-long fixed widths: the lowest digits, zero-padded.
    for (const int digits : {1, 3, 7, 8, 17}) {
        std::string text;
        append_hex_digits(text, 0xFEDCBA9876543210ull, digits);
        const std::string all = "0FEDCBA9876543210";
        EXPECT_EQ(text, all.substr(all.size() - static_cast<std::size_t>(digits))) << digits;
    }
}

// Decimal digits of 32-bit numbers come from multiplications by rounded-up
// reciprocals, whose rounding matters most just below and at numbers ending in many
// zeros: those, and a sample spread over the whole range, agree with std::to_chars.
// (Every 32-bit value was checked once, outside the suite.)
TEST(Number_text, DecimalDigitsAgreeWithToCharsAroundRoundNumbers)
{
    std::vector<std::uint32_t> values;
    for (std::uint32_t head = 1; head < 4295; ++head)
        for (const std::uint32_t tail : {0u, 1u, 99u, 100u, 9999u, 99999u, 999999u})
            values.push_back(head * 1000000u - 1000000u + tail);
    std::mt19937 random(11);
    for (int i = 0; i < 100000; ++i)
        values.push_back(static_cast<std::uint32_t>(random()));
    for (std::uint32_t value = 0; value < 100; ++value) {
        char small[2];
        EXPECT_EQ(std::string_view(small, put_small_decimal(small, value)), std::to_string(value));
    }
    for (const std::uint32_t value : values) {
        char expected[16];
        char actual[max_number_chars];
        const char* const expected_end = std::to_chars(expected, expected + sizeof expected, value).ptr;
        const char* const actual_end = put_number(actual, value, Radix::unsigned_decimal);
        ASSERT_EQ(std::string_view(actual, actual_end), std::string_view(expected, expected_end)) << value;
    }
}

// Hexadecimal digits are made eight at a time: every digit value at every position,
// in both letter cases and at widths of one and two groups of eight, agrees with
// printf.
TEST(Number_text, HexDigitsAgreeWithPrintfForEveryDigitAtEveryPosition)
{
    for (std::uint64_t digit = 0; digit < 16; ++digit)
        for (int position = 0; position < 16; ++position) {
            const std::uint64_t value = (digit << (4 * position)) | (0xA5ull << (4 * ((position + 3) % 15)));
            for (const bool upper : {true, false}) {
                char expected[40];
                std::snprintf(expected, sizeof expected, upper ? "%016" PRIX64 : "%016" PRIx64, value);
                char digits[16];
                const Hex_case letters = upper ? Hex_case::upper : Hex_case::lower;
                put_hex_digits(digits, value, 16, letters);
                EXPECT_EQ(std::string_view(digits, 16), std::string_view(expected, 16)) << value;
                put_hex_digits(digits, value, 8, letters);
                EXPECT_EQ(std::string_view(digits, 8), std::string_view(expected + 8, 8)) << value;
            }
        }
}

// Every length up to past the largest fixed-size copy: exactly the bytes asked
// for arrive, and the bytes around them stay untouched.
TEST(Copy_small, CopiesExactlyTheGivenBytes)
{
    std::string source(130, '\0');
    for (std::size_t i = 0; i < source.size(); ++i)
        source[i] = static_cast<char>('A' + i % 26);
    for (std::size_t count = 0; count <= 129; ++count) {
        std::string target(count + 2, '.');
        copy_small(target.data() + 1, source.data(), count);
        std::string expected(1, '.');  // (built by appending: "." + std::string trips a false GCC 12 warning)
        expected.append(source, 0, count);
        expected += '.';
        EXPECT_EQ(target, expected) << count;
    }
}

// Every length up to past the longest inline comparison: equal bytes compare equal,
// and a difference at any one position, in either direction, is seen.
TEST(Same_small, SeesADifferenceAtEveryPosition)
{
    std::string a(40, '\0');
    for (std::size_t i = 0; i < a.size(); ++i)
        a[i] = static_cast<char>(0x41 + i);
    for (std::size_t count = 0; count <= a.size(); ++count) {
        const std::string b = a;
        EXPECT_TRUE(same_small(a.data(), b.data(), count)) << count;
        for (std::size_t at = 0; at < count; ++at) {
            std::string differing = a;
            differing[at] = static_cast<char>(0x80 | differing[at]);
            EXPECT_FALSE(same_small(a.data(), differing.data(), count)) << count << " at " << at;
            EXPECT_FALSE(same_small(differing.data(), a.data(), count)) << count << " at " << at;
        }
    }
}

TEST(Utf32, ConvertsBothWaysAndMarksWhatIsNoCharacter)
{
    const std::u32string text = U"aé名😀";
    EXPECT_EQ(utf8_from_utf32(text), "a\xC3\xA9\xE5\x90\x8D\xF0\x9F\x98\x80");
    EXPECT_EQ(utf32_from_utf8(utf8_from_utf32(text)), text);
    EXPECT_EQ(utf8_from_utf32(std::u32string{char32_t{0xD800}, char32_t{0x110000}}), "\xEF\xBF\xBD\xEF\xBF\xBD");
    // A stray continuation byte, an overlong form, an encoded surrogate and a cut
    // sequence each become one U+FFFD.
    EXPECT_EQ(utf32_from_utf8("x\x80y"), U"x\uFFFDy");
    EXPECT_EQ(utf32_from_utf8("\xC0\xAF"), U"\uFFFD\uFFFD");
    EXPECT_EQ(utf32_from_utf8("\xED\xA0\x80z"), U"\uFFFDz");
    EXPECT_EQ(utf32_from_utf8("\xE5\x90"), U"\uFFFD");
}

TEST(Cell_text, EachLineBreakIsOneMark)
{
    EXPECT_EQ(one_line_cell_text("a\r\nb\nc\rd"), "a⏎b⏎c⏎d");
    // CR CR LF is two breaks, LF CR two, and a break at either end is marked too.
    EXPECT_EQ(one_line_cell_text("\r\r\n"), "⏎⏎");
    EXPECT_EQ(one_line_cell_text("\n\rx\r"), "⏎⏎x⏎");
    EXPECT_EQ(one_line_cell_text("名前"), "名前");
}
