#include <cmath>
#include <utility>

#include "math_test_support.h"

TEST_F(MathModuleTest, FracMeasuresFromTheEvenNeighbourOfXMinusHalf)
{
    const float cases[][2] = {{2.75f, 0.75f}, {3, 1}, {2, 0}, {-2.75f, -0.75f}, {-3, -1}};
    for (const auto& c : cases)
        EXPECT_FLOAT_EQ(Math.Frac(c[0]), c[1]) << c[0];
}

TEST_F(MathModuleTest, WrapAngleLandsInOneTurnEvenForHugeAngles)
{
    const float cases[][2] = {{725, 5}, {-30, 330}, {360, 0}, {-725, 355}, {3600000.5f, 0.5f}};
    for (const auto& c : cases) {
        float angle = c[0];
        Math.WrapAngle(angle);
        EXPECT_FLOAT_EQ(angle, c[1]) << c[0];
    }
    float huge = 1e30f;
    Math.WrapAngle(huge);
    EXPECT_TRUE(huge >= 0.0f && huge < 360.0f);
}

TEST_F(MathModuleTest, VectorArithmeticAndLengths)
{
    ExpectVectorNear(Math.Subtract({1, 2, 3}, {4, 6, 8}), {3, 4, 5});
    ExpectVectorNear(Math.Normalize({3, 0, 4}), {0.6f, 0, 0.8f});
    ExpectVectorNear(Math.Normalize({0, 0, 0}), {0, 0, 0});
    EXPECT_FLOAT_EQ(Math.Distance({1, 2, 3}, {4, 6, 3}), 5.0f);
}

TEST_F(MathModuleTest, RotationsTurnRollThenPitchThenYaw)
{
    ExpectVectorNear(Math.RotateVector({1, 0, 0}, {90, 90, 0}), {0, 0, -1});
    ExpectVectorNear(Math.RotateVector({0, 1, 0}, {90, 0, 90}), {-1, 0, 0});
    ExpectVectorNear(Math.DirectionFromAngles({90, 0, 0}), {0, 1, 0});
}

TEST_F(MathModuleTest, AnglesToTargetsIgnoreHeightForTheYawAndSurviveTheSamePoint)
{
    const std::pair<Vector3, float> cases[] = {
        {{1, 1, -4}, 0}, {{-2, 9, 1}, 90}, {{1, 1, 5}, 180}, {{0, 1, 2}, 135}, {{4, 1, 1}, -90}};
    for (const auto& [target, yaw] : cases)
        EXPECT_NEAR(Math.AngleTo({1, 1, 1}, target, ZOTMath::kYaw), yaw, 1e-4f) << target.x << "," << target.z;
    EXPECT_EQ(Math.AngleTo({0, 0, 0}, {1, 2, 3}, 2), 0.0f);
    ExpectVectorNear(Math.AnglesTo({0, 0, 0}, {0, 1, -1}), {45, 0, 0}, 1e-4f);
    ExpectVectorNear(Math.AnglesTo({2, 3, 4}, {2, 1, 4}), {-90, 0, 0}, 1e-4f);
    const Vector3 samePoint = Math.AnglesTo({1, 2, 3}, {1, 2, 3});
    EXPECT_TRUE(std::isfinite(samePoint.x) && std::isfinite(samePoint.y));
}

TEST_F(MathModuleTest, InsideChecksIncludeTheSideButNotTopOrBottom)
{
    // Radius 2 and margin 0.5 put the side at 2.5; height runs over (1, 3.5).
    auto inCylinder = [this](Vector3 p) { return Math.InCylinder(p, {1, 2, 3}, 0.5f, 2, 1, 0.5f); };
    EXPECT_TRUE(inCylinder({2.5f, 2, 5}));
    EXPECT_FALSE(inCylinder({3.51f, 2, 3}));
    EXPECT_FALSE(inCylinder({1, 3.5f, 3}));
    EXPECT_FALSE(inCylinder({1, 1, 3}));
    // The box has square corners; its margin widens it on every side.
    auto inBox = [this](Vector3 p, float margin) { return Math.InBox(p, {0, 1, 0}, margin, 2, 2, 0.5f, 1); };
    EXPECT_TRUE(inBox({2, 1, -2}, 0));
    EXPECT_FALSE(inBox({0, 1, -2.01f}, 0));
    EXPECT_TRUE(inBox({2.5f, 1.99f, 0}, 0.5f));
    EXPECT_FALSE(inBox({0, 2, 0}, 0.5f));
}
