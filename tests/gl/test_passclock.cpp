#include <gtest/gtest.h>

#include <vector>

#include "gl/gl_passclock.h"

TEST(PassClock, PercentilesTakeTheNearestRank)
{
    EXPECT_EQ(Percentile({}, 0.5f), 0.0f);
    EXPECT_EQ(Percentile({7.0f}, 0.95f), 7.0f);
    EXPECT_EQ(Percentile({5.0f, 1.0f, 3.0f}, 0.5f), 3.0f);
    EXPECT_EQ(Percentile({4.0f, 1.0f, 3.0f, 2.0f}, 0.5f), 2.0f);
    std::vector<float> hundred;
    for (int i = 100; i >= 1; --i)
        hundred.push_back(static_cast<float>(i));
    EXPECT_EQ(Percentile(hundred, 0.95f), 95.0f);
    EXPECT_EQ(Percentile(hundred, 1.0f), 100.0f);
    EXPECT_EQ(Percentile(hundred, 0.0f), 1.0f);
}
