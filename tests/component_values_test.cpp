#include <gtest/gtest.h>

#include <vector>

#include "analysis_helpers.h"
#include "model/cmp_int.h"
#include "model/cmp_nodef.h"
#include "model/cmp_str.h"
#include "model/int_decoder.h"
#include "model/limits.h"
#include "support/document_fixture.h"

using namespace analysis_test;

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Int_case {
    Bytes bytes;
    int size;
    bool is_signed;
    int display;
    Byte_order byte_order;
    const char* shown;
    std::int32_t variable;
};

class Integer_value_test : public Document_test, public ::testing::WithParamInterface<Int_case> {};

// Byte order and sign: what the component shows, and what the bound variable holds
// (the display decides the text, the sign the variable).
TEST_P(Integer_value_test, ShowsAndBinds)
{
    const Int_case& c = GetParam();
    doc().set_byte_order(c.byte_order);
    define(int_item("n", c.size, c.is_signed, c.display, "v"));
    load_bytes(c.bytes);
    ASSERT_EQ(root()->child_count(), 1);
    EXPECT_EQ(root()->child(0)->value_text().to_utf8(), c.shown);
    EXPECT_EQ(doc().get_variable("v"), c.variable);
}

constexpr int dec = Def_int::decimal;
constexpr int hex = Def_int::hexadecimal;

INSTANTIATE_TEST_SUITE_P(
    Rows, Integer_value_test,
    ::testing::Values(Int_case{{0xFF, 0xFF, 0xFF, 0xFF}, 4, false, dec, big, "4294967295", -1},
                      Int_case{{0xFF, 0xFF, 0xFF, 0xFF}, 4, true, dec, big, "-1", -1},
                      Int_case{{0xFF, 0xFF, 0xFF, 0xFF}, 4, true, hex, big, "0xFFFFFFFF", -1},
                      Int_case{{0x0A}, 1, false, hex, big, "0x0A", 10},
                      Int_case{{0x00, 0x0A}, 2, false, hex, big, "0x000A", 10},
                      Int_case{{0x12, 0x34}, 2, false, dec, big, "4660", 4660},
                      Int_case{{0x12, 0x34}, 2, false, dec, little, "13330", 13330},
                      Int_case{{0xFF, 0xFE}, 2, true, dec, big, "-2", -2},
                      Int_case{{0xFF, 0xFE}, 2, false, dec, big, "65534", 65534},
                      Int_case{{0xFF, 0xFE}, 2, true, hex, big, "0xFFFE", -2},
                      Int_case{{0xFE, 0xFF}, 2, true, dec, little, "-2", -2},
                      Int_case{{0x80}, 1, true, dec, big, "-128", -128},
                      Int_case{{0x01, 0x02, 0x03, 0x04}, 4, false, hex, little, "0x04030201", 0x04030201}));

// A buffered reader loads an integer's bytes at once, the analysis one byte at a time:
// both must give the same bits for every width and byte order.
TEST(Int_decoder, LoadingTheBytesAtOnceReadsWhatReadingThemOneByOneReads)
{
    const std::uint8_t bytes[8] = {0x81, 0x02, 0xC3, 0x7F, 0x10, 0xFE, 0x33, 0x94};
    for (const Byte_order order : {big, little}) {
        for (int width = 1; width <= 8; ++width) {
            const std::uint8_t* next = bytes;
            int got = 0;
            const std::uint64_t one_by_one = read_int_bits(
                width, order, [&next](std::uint8_t& byte) { byte = *next++; return true; }, got);
            ASSERT_EQ(got, width);
            EXPECT_EQ(load_int_bits(bytes, width, order), one_by_one)
                << "width " << width << (order == big ? " big-endian" : " little-endian");
        }
    }
}

TEST_F(Document_test, NamedValueShowsOnlyItsMeaning)
{
    Def_int* item = int_item("n", 1);
    item->set_named_values({{1, sj("一")}, {255, sj("最大")}});
    Def_int* flagged = with_flag(int_item("m", 1), "f", 4);
    flagged->bit_flags()[0]->set_named_values({{5, sj("五")}});
    define(item, int_item("o", 1), flagged);
    load_bytes(Bytes{0x01, 0x02, 0x35});
    EXPECT_EQ(tree(2), "未定義\t\n  n\t一\n  o\t2\n  m\t53\n    f\t五\n");
}

TEST_F(Document_test, StringValueTexts)
{
    define(fix_str("fix", 8), null_str("nul"), flex_str("flex", 1), fix_str("empty", 0));
    load_bytes(Bytes{0x41, 0x42, 0x00, 0x43, 0x44, 0x45, 0x46, 0x47, 0x41, 0x42, 0x00, 0x03, 0x78, 0x00, 0x79});
    EXPECT_EQ(tree(1), "未定義\t\n  fix\tAB\n  nul\tAB\n  flex\tx\n  empty\t\n");
    // The NUL-terminated string covers its terminator.
    EXPECT_EQ(root()->child(1)->size(), 3u);
    EXPECT_EQ(root()->child(2)->size(), 4u);
    EXPECT_EQ(static_cast<Cmp_flex_str*>(root()->child(2))->length(), 3u);
}

TEST_F(Document_test, UndefinedByteNameAndValue)
{
    define(int_item("n", 4));
    load_bytes(Bytes{0, 0, 0, 0, 1, 2, 3, 4, 5, 0xFF});
    EXPECT_EQ(tree(2), "未定義\t\n  n\t0\n  未定義[0 - 5]\t...\n    [0]\t0x01\n    [1]\t0x02\n    [2]\t0x03\n"
                       "    [3]\t0x04\n    [4]\t0x05\n    [5]\t0xFF\n");
    auto* byte = dynamic_cast<Cmp_nodef*>(root()->child(1)->child(5));
    ASSERT_NE(byte, nullptr);
    EXPECT_EQ(byte->index(), 5u);
    EXPECT_EQ(byte->start()->position(), 9u);
}

// ---- data changes ----

struct Set_case {
    Byte_order byte_order;
    Bytes expected;
};

class Integer_change_test : public Document_test, public ::testing::WithParamInterface<Set_case> {};

TEST_P(Integer_change_test, WritesInByteOrder)
{
    doc().set_byte_order(GetParam().byte_order);
    define(int_item("n", 2, true));
    load_bytes(Bytes{0xAA, 0xBB, 0xCC});
    auto* n = dynamic_cast<Cmp_int*>(root()->child(0));
    ASSERT_NE(n, nullptr);
    (void)n->value_text();
    n->set_value(0x1234);
    Bytes expected = GetParam().expected;
    expected.push_back(0xCC);
    EXPECT_EQ(data_bytes(), expected);
    EXPECT_EQ(n->start(), doc().first_node());
    EXPECT_EQ(n->value_text().to_utf8(), "4660");
    // A value wider than the item keeps what reading the bytes back gives.
    n->set_value(0x1FFFF);
    EXPECT_EQ(n->value(), -1);
    expect_consistent();
}

INSTANTIATE_TEST_SUITE_P(ByteOrders, Integer_change_test,
                         ::testing::Values(Set_case{little, {0x34, 0x12}}, Set_case{big, {0x12, 0x34}}));

TEST_F(Document_test, StringChangesWriteTheirLayout)
{
    struct Row {
        Define* item;
        Bytes data;
        const char* text;
        Bytes expected;
    };
    const Row rows[] = {
        {fix_str("s", 4), {1, 2, 3, 4, 9}, "ABCD", {0x41, 0x42, 0x43, 0x44, 9}},
        {fix_str("s", 4), {1, 2, 3, 4, 9}, "A", {0x41, 0, 0, 0, 9}},
        {flex_str("s", 2), {0, 1, 0x61, 9}, "xyz", {0, 3, 0x78, 0x79, 0x7A, 9}},
        {null_str("s"), {0x61, 0x62, 0, 9}, "", {0, 9}},
        {null_str("s"), {0, 9}, "ab", {0x61, 0x62, 0, 9}},
    };
    for (const Row& row : rows) {
        doc().new_definition();
        define(row.item);
        load_bytes(row.data);
        Component* s = root()->child(0);
        const Bcl_str text(row.text);
        if (auto* fix = dynamic_cast<Cmp_fix_str*>(s))
            fix->set_text(text);
        else if (auto* flex = dynamic_cast<Cmp_flex_str*>(s))
            flex->set_text(text);
        else
            dynamic_cast<Cmp_null_str&>(*s).set_text(text);
        EXPECT_EQ(data_bytes(), row.expected) << row.text;
        EXPECT_EQ(s->value_text().to_utf8(), row.text);
        EXPECT_EQ(s->start(), doc().first_node());
        expect_consistent();
    }
}

// A fixed-length string always gets exactly its length of bytes, appended at the
// end of the data when the data ended inside it, and its value text is what the
// data then holds.
TEST_F(Document_test, FixedStringChangeWritesItsWholeLength)
{
    struct Row {
        const char* label;
        Define* item;
        Bytes data;
        std::string text;
        Bytes expected;
        const char* value_text;
    };
    const Bytes held_length = [] {
        Bytes bytes(limits::max_fixed_string_length, 0);
        bytes[0] = 0x41;
        return bytes;
    }();
    const Row rows[] = {
        {"longer text is cut", fix_str("s", 4), {1, 2, 3, 4, 9}, "ABCDEF", {0x41, 0x42, 0x43, 0x44, 9}, "ABCD"},
        {"text with a NUL", fix_str("s", 4), {1, 2, 3, 4}, std::string("A\0B", 3), {0x41, 0, 0x42, 0}, "A"},
        {"data ends inside", fix_str("s", 4), {1, 2}, "xy", {0x78, 0x79, 0, 0}, "xy"},
        {"no byte left", fix_str("s", 3), {}, "xyz", {0x78, 0x79, 0x7A}, "xyz"},
        // A length no file or dialog gives is held to what a definition file holds.
        {"broken length", fix_str("s", 0x7FFFFFFF), {1, 2, 3}, "A", held_length, "A"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        doc().new_definition();
        define(row.item);
        load_bytes(row.data);
        auto* s = dynamic_cast<Cmp_fix_str*>(root()->child(0));
        ASSERT_NE(s, nullptr);
        s->set_text(Bcl_str(row.text));
        EXPECT_EQ(data_bytes(), row.expected);
        EXPECT_EQ(s->value_text().to_utf8(), row.value_text);
        EXPECT_EQ(s->start(), doc().first_node());
        expect_consistent();
        doc().undo_data();
        EXPECT_EQ(data_bytes(), row.data);
    }
}

TEST_F(Document_test, FixedStringAfterTheEndOfTheDataIsAppended)
{
    define(int_item("n", 1), fix_str("s", 2));
    load_bytes(Bytes{7});
    auto* s = dynamic_cast<Cmp_fix_str*>(root()->child(1));
    ASSERT_NE(s, nullptr);
    ASSERT_EQ(s->start(), nullptr);
    s->set_text(Bcl_str("ab"));
    EXPECT_EQ(data_bytes(), (Bytes{7, 0x61, 0x62}));
    EXPECT_EQ(s->value_text().to_utf8(), "ab");
    EXPECT_EQ(s->start(), doc().node_at(1));
}

TEST_F(Document_test, BitFlagChangeKeepsTheOtherBitsAndTagsItsShift)
{
    define(with_flag(with_flag(int_item("n", 1), "low", 3), "high", 5));
    load_bytes(Bytes{0xB5});
    Component* n = root()->child(0);
    n->expand();
    ASSERT_EQ(n->child_count(), 2);
    auto* high = dynamic_cast<Cmp_bitflag*>(n->child(1));
    ASSERT_NE(high, nullptr);
    EXPECT_EQ(high->flag_value(), 22u);
    EXPECT_EQ(high->flag_bits(), 8);
    high->set_value(1);
    EXPECT_EQ(data_bytes(), Bytes{0x0D});
    EXPECT_EQ(high->value_text().to_utf8(), "1");
    EXPECT_EQ(high->start(), doc().first_node());
    // The undo record keeps the flag's shift for the view to show.
    EXPECT_EQ(doc().undo_data().bit, 3);
    EXPECT_EQ(data_bytes(), Bytes{0xB5});
}

TEST_F(Document_test, UndefinedByteChangeKeepsTheLowByte)
{
    load_bytes(Bytes{7, 8});
    Component* block = root()->child(0);
    block->expand();
    auto* second = dynamic_cast<Cmp_nodef*>(block->child(1));
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->value_text().to_utf8(), "0x08");
    second->set_value(0x1AB);
    EXPECT_EQ(data_bytes(), (Bytes{7, 0xAB}));
    EXPECT_EQ(second->value_text().to_utf8(), "0xAB");
}

} // namespace
