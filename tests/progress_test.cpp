#include <gtest/gtest.h>

#include "support/recording_reporter.h"

TEST(Progress_reporter, ShowsOnlyChangesOfTheWholePercentage)
{
    Recording_reporter r;
    r.begin_progress(1000);
    for (std::uint64_t i = 0; i <= 1000; ++i)
        r.step(i);
    r.end_progress();
    ASSERT_EQ(r.begins, std::vector<std::uint64_t>{1000});
    // 1..100: percent 0 is where the bar starts, so it is never re-shown.
    ASSERT_EQ(r.percents.size(), 100u);
    for (int p = 1; p <= 100; ++p)
        EXPECT_EQ(r.percents[static_cast<std::size_t>(p - 1)], p);
    EXPECT_EQ(r.ends, 1);
}

TEST(Progress_reporter, SmallTotalsAndGoingBack)
{
    Recording_reporter r;
    r.begin_progress(3);
    r.step(1);  // 33
    r.step(1);
    r.step(2);  // 66
    r.step(0);  // back to 0
    r.step(7);  // past the total: 100
    EXPECT_EQ(r.percents, (std::vector<int>{33, 66, 0, 100}));
}

TEST(Progress_reporter, UnarmedBarIgnoresSteps)
{
    Recording_reporter r;
    r.step(5);
    r.begin_progress(0);
    r.step(5);
    r.end_progress();
    EXPECT_TRUE(r.begins.empty());
    EXPECT_TRUE(r.percents.empty());
    EXPECT_EQ(r.ends, 0);
}
