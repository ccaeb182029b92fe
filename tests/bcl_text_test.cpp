// How a dialog's text field that fills a Bcl_str shows it and reads it back.
#include <gtest/gtest.h>

#include <string>

#include "ui/core/bcl_text.h"

namespace {

TEST(Bcl_text, BytesWithNoUnicodeFormAreEditedAroundAndComeBackAsThemselves)
{
    // 0x80 alone is no Shift-JIS character; CR LF is two control bytes on one line.
    const Bcl_str original(std::string("ab\x80\r\n", 5));
    const std::string shown = field_text_of(original);
    EXPECT_EQ(shown, "ab\u2880\u280D\u280A");
    EXPECT_EQ(bcl_text_of_field(shown, original), original);
    EXPECT_EQ(bcl_text_of_field("x" + shown + "あ", original),
              Bcl_str(std::string("xab\x80\r\n", 6)) + Bcl_str::from_utf8("あ"));
    EXPECT_EQ(field_text_of(Bcl_str(std::string("a\0b", 3))), "a∅b");
    EXPECT_EQ(bcl_text_of_field("abc", original), Bcl_str("abc"));
    EXPECT_EQ(bcl_text_of_field("表示", Bcl_str()), Bcl_str::from_utf8("表示"));
    EXPECT_EQ(bcl_text_of_field("〜", Bcl_str()).bytes(), "\x81\x60");
}

} // namespace
