#include <gtest/gtest.h>

#include "model/def_disp_visitor.h"
#include "ui/core/named_value_text.h"

namespace {

TEST(Named_value_text, NegativeValuesShowTheirUnsignedBitsInParentheses)
{
    EXPECT_EQ(named_value_text(0), "0");
    EXPECT_EQ(named_value_text(2147483647), "2147483647");
    EXPECT_EQ(named_value_text(-1), "-1(4294967295)");
    EXPECT_EQ(named_value_text(-2147483647 - 1), "-2147483648(2147483648)");
}

// The values of an 8-byte integer read their 64 bits, in the dialogs' list and in
// the definition list's remarks.
TEST(Named_value_text, SixtyFourBitValuesShowAllTheirDigits)
{
    EXPECT_EQ(named_value_text(-1, true), "-1(18446744073709551615)");
    EXPECT_EQ(named_value_text(0x100000000ll, true), "4294967296");
    const Named_values values{{-1, Bcl_str("a")}, {0x100000000ll, Bcl_str("b")}};
    EXPECT_EQ(value_table_text(values, false, true).bytes(), "4294967296:b  18446744073709551615:a  ");
    EXPECT_EQ(value_table_text(values, true, true).bytes(), "-1:a  4294967296:b  ");

    // A table entered for 8 bytes, for an integer of up to 4: the upper half of the
    // unsigned 32-bit range keys by its 32-bit pattern; beyond it nothing fits.
    const Named_values fits{{4294967295ll, Bcl_str("x")}, {-2147483648ll, Bcl_str("y")}};
    EXPECT_EQ(values_for_size(fits, false), (Named_values{{-1, Bcl_str("x")}, {-2147483648ll, Bcl_str("y")}}));
    EXPECT_EQ(values_for_size(fits, true), fits);
    EXPECT_EQ(values_for_size(values, false), std::nullopt);
    EXPECT_EQ(values_for_size({{-2147483649ll, Bcl_str("z")}}, false), std::nullopt);
}

TEST(Named_value_text, TheProposedValueIsTheSmallestFreeOneFromZero)
{
    const struct {
        Named_values values;
        std::int32_t proposed;
    } cases[] = {
        {{}, 0},
        {{{0, Bcl_str("a")}, {1, Bcl_str("b")}, {3, Bcl_str("c")}}, 2},
        {{{-1, Bcl_str("m")}, {-5, Bcl_str("n")}}, 0},
        {{{0, Bcl_str("a")}, {-1, Bcl_str("m")}, {1, Bcl_str("b")}}, 2},
        {{{1, Bcl_str("b")}}, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(proposed_value(c.values), c.proposed);
}

} // namespace
