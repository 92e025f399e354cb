// Helpers shared by the math tests: a stand-alone math module and
// tolerance comparisons of the value records.
#pragma once

#include <gtest/gtest.h>

#include "math/zot_math.h"

constexpr float kTolerance = 1e-5f;

inline void ExpectVectorNear(const Vector3& actual, const Vector3& expected, float tolerance = kTolerance)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

// The module on its own: its operations need no engine around them.
class MathModuleTest : public ::testing::Test {
protected:
    ZOTMath Math{nullptr};
};
