#include <gtest/gtest.h>

#include "ui/core/title.h"

namespace {

struct Title_case {
    const char* data_path;
    bool data_modified;
    const char* definition_path;
    bool definition_modified;
    const char* expected;
};

class Window_title_test : public testing::TestWithParam<Title_case> {};

TEST_P(Window_title_test, ShowsPathsAndMarks)
{
    const Title_case& c = GetParam();
    EXPECT_EQ(window_title(File_path(c.data_path), c.data_modified, File_path(c.definition_path),
                           c.definition_modified),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Title, Window_title_test,
    testing::Values(Title_case{"", false, "", false, "ケストリクス - 無題 [無題]"},
                    Title_case{"/d/a.png", true, "", false, "ケストリクス - /d/a.png * [無題]"},
                    Title_case{"", false, "/d/p.kxd", true, "ケストリクス - 無題 [/d/p.kxd *]"},
                    Title_case{"", true, "", true, "ケストリクス - 無題 * [無題 *]"},
                    // A name that is not UTF-8 stays visibly different from any valid one.
                    Title_case{"caf\xE9.png", false, "", false, "ケストリクス - caf\xEF\xBF\xBD.png [無題]"}));

}  // namespace
