// Strings in other encodings than Shift-JIS and fixed strings of an expression
// length: decoding with stand-ins, the NUL of UTF-16, the walk and the file records.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis_helpers.h"
#include "document/definition_file.h"
#include "model/cmp_str.h"
#include "support/document_fixture.h"
#include "toolkit/text/text_encoding.h"

using namespace analysis_test;

namespace {

using Bytes = std::vector<std::uint8_t>;

template <typename Item>
Item* encoded(Item* item, Text_encoding encoding)
{
    item->set_encoding(encoding);
    return item;
}

Def_fix_str* fix_str_of(const char* name, const char* length, Text_encoding encoding = Text_encoding::shift_jis)
{
    auto* item = encoded(fix_str(name, 0), encoding);
    item->set_length_text(sj(length));
    return item;
}

// Every byte that does not decode is its stand-in, and encoding the text gives the
// bytes back.
TEST(Text_encoding_test, BytesThatDoNotDecodeAreStandInsThatEncodeBack)
{
    struct Case {
        Text_encoding encoding;
        std::string bytes;
        std::string text;
    };
    const std::vector<Case> cases{
        {Text_encoding::ascii, "A\x80", "A\u2880"},
        {Text_encoding::utf8, "\xC3\xA9\xFFx\xE3\x81", "\u00E9\u28FFx\u28E3\u2881"},
        {Text_encoding::utf16le, std::string("A\0\x42\x30\x00\xD8z", 7), "A\u3042\u2800\u28D8\u287A"},
        {Text_encoding::utf16be, std::string("\x00\x41\xDC\x00", 4), "A\u28DC\u2800"},
        {Text_encoding::latin1, "caf\xE9", "caf\u00E9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(encoding_name(c.encoding));
        EXPECT_EQ(decode_text(c.bytes, c.encoding), c.text);
        EXPECT_EQ(encode_text(c.text, c.encoding), c.bytes);
    }
    // A decoder fed a piece at a time waits for a character cut between pieces.
    Text_decoder decoder(Text_encoding::utf8);
    std::string text;
    decoder.decode("\xE3\x81", text);
    decoder.decode("\x82", text);
    decoder.finish(text);
    EXPECT_EQ(text, "\u3042");

    EXPECT_EQ(encode_text("\u00E9", Text_encoding::ascii), std::nullopt);
    EXPECT_EQ(encode_text("\u3042", Text_encoding::latin1), std::nullopt);
    EXPECT_EQ(shift_jis_with_replacement("a\u00E9\u3042\u2880").view(), "a\x81\xAC\x82\xA0\x81\xAC");
}

TEST_F(Document_test, Utf16EndsAtTwoZeroBytesAtAnEvenOffset)
{
    define(encoded(null_str("s"), Text_encoding::utf16le), int_item("after", 1));
    load_bytes(std::string("A\0\0\x30\0\0\x07", 7));
    EXPECT_EQ(tree(1), "未定義\t\n  s\tA\u3000\n  after\t7\n");
    EXPECT_EQ(root()->child(0)->size(), 6u);

    // A zero pair at an odd offset is no NUL: the string runs into the shortage.
    load_bytes(std::string("A\0\0", 3));
    EXPECT_EQ(tree(1), "未定義\t\n  データ不足\t\n");
}

TEST_F(Document_test, FixedUtf16StringOfAnOddLengthShowsItsLastByte)
{
    define(fix_str_of("s", "3", Text_encoding::utf16be), int_item("after", 1));
    load_bytes(std::string("\0AB\x05", 4));
    EXPECT_EQ(root()->child(0)->value_utf8(), "A\u2842");
    EXPECT_EQ(tree(1), "未定義\t\n  s\tA〓\n  after\t5\n");
}

TEST_F(Document_test, ExpressionLengthReadsThatManyBytesOrNoneOrMeetsTheShortage)
{
    define(int_item("n", 1, true, Def_int::decimal, "n"), fix_str_of("s", "n * 2"), fix_str_of("rest", "_rest"));
    load_bytes(std::string("\x02" "abcdxy", 7));
    EXPECT_EQ(tree(1), "未定義\t\n  n\t2\n  s\tabcd\n  rest\txy\n");

    load_bytes(std::string("\xFF" "xy", 3));
    EXPECT_EQ(tree(1), "未定義\t\n  n\t-1\n  s\t\n  rest\txy\n");
    EXPECT_EQ(root()->child(1)->size(), 0u);

    load_bytes(std::string("\x05" "abc", 4));
    EXPECT_EQ(tree(1), "未定義\t\n  n\t5\n  s\tabc\n  データ不足\t\n");
}

TEST(Fixed_length_text, APlainNumberUpTo255IsTheConstantAnyOtherTextAnExpression)
{
    Def_fix_str item(Bcl_str("s"), 4);
    item.set_length_text(Bcl_str("255"));
    EXPECT_EQ(item.length(), 255);
    EXPECT_TRUE(item.length_expression().empty());
    EXPECT_EQ(item.format_needed(), 100);
    item.set_length_text(Bcl_str("256"));
    EXPECT_EQ(item.length_expression(), "256");
    EXPECT_EQ(item.length_text(), "256");
    EXPECT_EQ(item.format_needed(), 101);
    EXPECT_FALSE(fixed_length_takes(Bcl_str("0")));
    EXPECT_FALSE(fixed_length_takes(Bcl_str("")));
    EXPECT_TRUE(fixed_length_takes(Bcl_str("n - 1")));
}

} // namespace
