// What a dialog's text field that fills a Bcl_str accepts.
#include <gtest/gtest.h>

#include <string>

#include "ui/core/bcl_text.h"

namespace {

std::string repeat(const std::string& piece, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

struct Fit_case {
    std::string text;
    bool fits;
};

class Bcl_text_fit_test : public testing::TestWithParam<Fit_case> {};

TEST_P(Bcl_text_fit_test, CountsShiftJisBytesAndRefusesWhatItCannotHold)
{
    EXPECT_EQ(fits_bcl_text(GetParam().text), GetParam().fits) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Bcl_text_fit_test,
    testing::Values(Fit_case{"", true}, Fit_case{"PNG画像", true}, Fit_case{"a?b", true},
                    Fit_case{repeat("a", 255), true}, Fit_case{repeat("a", 256), false},
                    // Two bytes each in Shift-JIS: 127 fit (254 bytes), 128 do not.
                    Fit_case{repeat("あ", 127), true}, Fit_case{repeat("あ", 128), false},
                    Fit_case{repeat("あ", 127) + "a", true}, Fit_case{repeat("あ", 127) + "aa", false},
                    // Half-width katakana is one byte.
                    Fit_case{repeat("ｱ", 255), true},
                    // CP932's own additions are kept.
                    Fit_case{"①Ⅹ㈱", true},
                    // Characters Shift-JIS cannot hold would be saved as "?".
                    Fit_case{"😀", false}, Fit_case{"a\xEF\xBF\xBD" "b", false}, Fit_case{"한글", false},
                    // Control characters have no place in a one-line field.
                    Fit_case{"a\tb", false}));

TEST(Bcl_text, AFieldLeftAsItWasKeepsItsOriginalBytes)
{
    // 0x80 alone is no Shift-JIS character: the field shows U+FFFD for it.
    const Bcl_str original(std::string("ab\x80", 3));
    EXPECT_EQ(bcl_text_of_field(original.to_utf8(), original), original);
    EXPECT_EQ(bcl_text_of_field("abc", original), Bcl_str("abc"));
    EXPECT_EQ(bcl_text_of_field("表示", Bcl_str()), Bcl_str::from_utf8("表示"));
}

} // namespace
