#include <cmath>
#include <vector>

#include "gl/gl_camera.h"
#include "gl/gl_frustum.h"
#include "gl_test_support.h"
#include "math/zot_math.h"

namespace {

// The projection gluPerspective builds, column-major.
void ExpectProjection(double fovY, double aspect, double zNear, double zFar)
{
    const double f = 1.0 / std::tan(fovY * M_PI / 360.0);
    const double depth = zNear - zFar;
    const std::vector<GLfloat> expected = {float(f / aspect), 0, 0, 0, 0, float(f), 0, 0, 0, 0,
                                           float((zFar + zNear) / depth), -1, 0, 0, float(2 * zFar * zNear / depth), 0};
    const std::vector<GLfloat> actual = Floats(GL_PROJECTION_MATRIX, 16);
    for (size_t i = 0; i < 16; ++i)
        EXPECT_NEAR(actual[i], expected[i], 1e-5f) << "element " << i;
}

// Where the current model-view matrix takes a point.
void ExpectEyePoint(const Vector3& world, const Vector3& eye)
{
    const std::vector<GLfloat> m = Floats(GL_MODELVIEW_MATRIX, 16);
    EXPECT_NEAR(m[0] * world.x + m[4] * world.y + m[8] * world.z + m[12], eye.x, 1e-4f);
    EXPECT_NEAR(m[1] * world.x + m[5] * world.y + m[9] * world.z + m[13], eye.y, 1e-4f);
    EXPECT_NEAR(m[2] * world.x + m[6] * world.y + m[10] * world.z + m[14], eye.z, 1e-4f);
}

constexpr double kAspect = 800.0 / 600.0;

class CameraTest : public GLTest {
protected:
    GLCamera& Camera() { return *GL->Camera; }
};

class CameraWithoutContext : public EngineTest {};

}  // namespace

TEST_F(CameraTest, ProjectionFollowsTheSettersAtTheNextUpdate)
{
    Camera().UpdateProjection();
    ExpectProjection(45.0, kAspect, 0.4, 200.0);

    Camera().SetZoom(2.0f);
    ExpectProjection(45.0, kAspect, 0.4, 200.0);
    Camera().UpdateProjection();
    ExpectProjection(22.5, kAspect, 0.4, 200.0);

    Camera().SetFieldOfView(120.0f);
    Camera().SetAspectFactor(2.0f);
    Camera().SetClipping(1.0f, 50.0f);
    GL->Settings.Height = 0;
    Camera().UpdateProjection();
    ExpectProjection(30.0, 2.0, 1.0, 50.0);
}

TEST_F(CameraTest, ApplyLooksFromThePositionAlongTheRotationAndRefreshesTheFrustum)
{
    const Vector3 position{1.0f, 2.0f, 3.0f};
    const Vector3 rotation{10.0f, 30.0f, 5.0f};
    const auto inCameraFrame = [&](const Vector3& offset) {
        return Engine->Math->Add(position, Engine->Math->RotateVector(offset, rotation));
    };
    Camera().SetPositionRotation(position, rotation);
    Camera().Apply();
    for (const Vector3& offset : {Vector3{0.0f, 0.0f, -5.0f}, Vector3{1.0f, 0.0f, 0.0f}, Vector3{0.0f, 1.0f, 0.0f}})
        ExpectEyePoint(inCameraFrame(offset), offset);
    EXPECT_TRUE(Camera().Frustum->SphereVisible(inCameraFrame({0.0f, 0.0f, -10.0f}), 1.0f));
    EXPECT_FALSE(Camera().Frustum->SphereVisible(inCameraFrame({0.0f, 0.0f, 10.0f}), 1.0f));

    // The world is scaled first and then moved by the eye offset.
    Camera().SetPositionRotation(position, {});
    Camera().SetScale({2.0f, 2.0f, 2.0f});
    Camera().Apply();
    ExpectEyePoint({1.0f, 1.0f, 1.0f}, {1.0f, 0.0f, -1.0f});
}

// Construction rebuilds the projection, which must wait for a context.
TEST_F(CameraWithoutContext, CanBeMadeAndMeasuresDistancesFromItsPosition)
{
    ASSERT_EQ(CurrentGL, nullptr);
    GLCamera camera(nullptr);
    EXPECT_FLOAT_EQ(camera.DistanceTo({3.0f, 6.0f, 0.0f}), 5.0f);
}
