#include <set>

#include "math_test_support.h"

TEST_F(MathModuleTest, RandomIntegersReachBothEndsAndFloatsStayInAHalfOpenRange)
{
    std::set<int32_t> die;
    for (int i = 0; i < 2000; ++i) {
        die.insert(Math.Random->RandomInt(-3, 3));
        const float value = Math.Random->RandomFloat(-1, 1);
        ASSERT_TRUE(value >= -1.0f && value < 1.0f) << value;
    }
    EXPECT_EQ(die, (std::set<int32_t>{-3, -2, -1, 0, 1, 2, 3}));
    EXPECT_EQ(Math.Random->RandomInt(5, 2), 5);
}

TEST_F(MathModuleTest, RoundAwayFromZero)
{
    const float cases[][2] = {{1.2f, 2}, {-1.2f, -2}, {0, 0}, {3, 3}, {0.01f, 1}, {-0.01f, -1}};
    for (const auto& c : cases)
        EXPECT_EQ(Math.Rounding->RoundAway(c[0]), c[1]) << c[0];
}

TEST_F(MathModuleTest, ColourOperationsWorkPerComponentWithoutClamping)
{
    EXPECT_FLOAT_EQ(Math.Color->Brightness({0.3f, 0.6f, 0.9f}), 0.6f);
    const Color3 product = Math.Color->Modulate({0.5f, 1, 0.2f}, {0.4f, 0.3f, 0});
    ExpectVectorNear({product.r, product.g, product.b}, {0.2f, 0.3f, 0});
    const Color3 sum = Math.Color->AddColor({0.8f, 0.5f, 0}, {0.5f, 0.7f, 0.2f});
    ExpectVectorNear({sum.r, sum.g, sum.b}, {1.3f, 1.2f, 0.2f});
}
