#include <gtest/gtest.h>

#include <cmath>

#include "gl/gl_frustum.h"

namespace {

using Matrix16 = float[16];

constexpr Matrix16 kIdentity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
// glOrtho(-2, 2, -2, 2, 0, 10): the left plane is exactly x = -2, the bottom one y = -2.
constexpr Matrix16 kOrtho = {0.5f, 0, 0, 0, 0, 0.5f, 0, 0, 0, 0, -0.2f, 0, 0, 0, -1, 1};

class FrustumTest : public ::testing::Test {
protected:
    GLFrustum Frustum{nullptr};
};

}  // namespace

TEST_F(FrustumTest, ASphereTouchingAPlaneFromOutsideIsCulled)
{
    Frustum.ExtractPlanes(kOrtho, kIdentity);
    EXPECT_FALSE(Frustum.SphereVisible({-3.0f, 0.0f, -5.0f}, 1.0f));
    EXPECT_TRUE(Frustum.SphereVisible({-2.999f, 0.0f, -5.0f}, 1.0f));
}

TEST_F(FrustumTest, BoxesNeedACornerInsideEveryPlane)
{
    Frustum.ExtractPlanes(kOrtho, kIdentity);
    // The near plane is z = 0.
    EXPECT_TRUE(Frustum.BoxVisible({0.0f, 0.0f, 0.04f}, 0.1f, 0.1f, 0.1f, 0.1f));
    EXPECT_FALSE(Frustum.BoxVisible({0.0f, 0.0f, 0.2f}, 0.1f, 0.1f, 0.1f, 0.1f));
    // A lawn patch 1 unit left of the view: its bounding sphere still reaches in.
    const Vector3 patch{-7.0f, 0.0f, -5.0f};
    EXPECT_TRUE(Frustum.SphereVisible(patch, std::sqrt(32.04f)));
    EXPECT_FALSE(Frustum.BoxVisible(patch, 4.0f, 4.0f, 0.2f, 0.0f));
    // Half a unit below the bottom plane, only an upward extent reaches into view.
    EXPECT_TRUE(Frustum.BoxVisible({0.0f, -2.5f, -5.0f}, 1.0f, 1.0f, 1.0f, 0.0f));
    EXPECT_FALSE(Frustum.BoxVisible({0.0f, -2.5f, -5.0f}, 1.0f, 1.0f, 0.0f, 1.0f));
}

TEST_F(FrustumTest, APlaneWithAZeroNormalIsLeftUnscaled)
{
    // Without an x row the left plane is the w row alone, (0, 0, 0, 3).
    const Matrix16 projection = {0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 3};
    Frustum.ExtractPlanes(projection, kIdentity);
    const float* left = Frustum.Planes[GLFrustum::kLeft];
    EXPECT_EQ(left[0], 0.0f);
    EXPECT_EQ(left[3], 3.0f);
    EXPECT_EQ(Frustum.Planes[GLFrustum::kBottom][1], 1.0f);
    EXPECT_EQ(Frustum.Planes[GLFrustum::kBottom][3], 3.0f);
}
