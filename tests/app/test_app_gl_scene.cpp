#include <GL/gl.h>

#include <cmath>

#include "app/app_gl_interface.h"
#include "app/app_gl_scene.h"
#include "app/app_gl_sky.h"
#include "gl/gl_test_support.h"
#include "platform/platform_image.h"
#include "scene_test_support.h"
#include "resource/resource_shader.h"
#include "resource/image_test_support.h"

namespace {

constexpr float kNear = 1e-4f;

void ExpectColour(const Color3& actual, const Color3& expected, float tolerance, const std::string& what)
{
    EXPECT_NEAR(actual.r, expected.r, tolerance) << what;
    EXPECT_NEAR(actual.g, expected.g, tolerance) << what;
    EXPECT_NEAR(actual.b, expected.b, tolerance) << what;
}

}  // namespace

TEST(GardenSky, ColoursSunAndStarsFollowTheDayValue)
{
    using Field = Color3 TSkyState::*;
    const Field sky = &TSkyState::Sky, ambient = &TSkyState::Ambient, diffuse = &TSkyState::Diffuse;
    const Color3 grey{0.5f, 0.5f, 0.5f}, night{0.1f, 0.1f, 0.2f};
    const struct {
        float T;
        Field Part;
        Color3 Want;
    } table[] = {{0.0f, sky, {0.5f, 0.8f, 1.0f}},  {0.0f, ambient, grey},  {0.0f, diffuse, grey},
                 {-0.7f, ambient, {0.41f, 0.32f, 0.22f}},
                 {0.9f, sky, {0.0f, 0.0f, 0.1f}},  {0.9f, ambient, night}, {0.9f, diffuse, {0.0f, 0.0f, 0.0f}}};
    for (const auto& row : table) {
        const TSkyState state = ZAGLSSky::StateAt(row.T);
        EXPECT_NEAR(state.DayValue, row.T * std::fabs(row.T), kNear);
        ExpectColour(state.*row.Part, row.Want, kNear, "T = " + std::to_string(row.T));
    }
    const Vector3 sun = ZAGLSSky::StateAt(0.0f).SunDirection;
    EXPECT_TRUE(std::fabs(sun.x) < kNear && std::fabs(sun.y - 1.0f) < kNear && std::fabs(sun.z - 1.0f) < kNear);
    EXPECT_LE(ZAGLSSky::StarStrength(0.0f), 0.0f);
    EXPECT_LE(ZAGLSSky::StarStrength(-0.7f), 0.0f);
    EXPECT_NEAR(ZAGLSSky::StarStrength(0.9f), 0.6f, kNear);

    // Either side of s = -0.75 and 0.75 the gradients already stand at the night keys.
    const TSkyState late = ZAGLSSky::StateAt(0.9f);
    for (const float s : {-0.751f, -0.749f, 0.749f, 0.751f}) {
        const TSkyState state = ZAGLSSky::StateAt(std::copysign(std::sqrt(std::fabs(s)), s));
        for (const Field part : {sky, ambient, diffuse})
            ExpectColour(state.*part, late.*part, 0.01f, "s = " + std::to_string(s));
    }
}

TEST(GardenClock, TimeWrapsAcrossMidnightAndReadsAsHoursAndMinutes)
{
    EXPECT_NEAR(ZAGLScene::WrapTime(0.999f + 0.002f), -0.999f, kNear);
    EXPECT_NEAR(ZAGLScene::WrapTime(-0.999f - 0.002f), 0.999f, kNear);
    EXPECT_EQ(ZAGLScene::WrapTime(1.0f), 1.0f);
    EXPECT_EQ(ZAGLScene::WrapTime(-1.0f), -1.0f);
    EXPECT_EQ(ZAGLScene::ClockText(0.0f), "12:00");
    EXPECT_EQ(ZAGLScene::ClockText(-1.0f), "00:00");
    EXPECT_EQ(ZAGLScene::ClockText(-0.5f), "06:00");
    EXPECT_EQ(ZAGLScene::ClockText(0.125f), "13:30");
}

TEST(GardenLogo, ShowsForTwoSecondsAndFadesOutDuringTheThird)
{
    EXPECT_EQ(ZAGLSInterface::LogoAlpha(0.0f), 1.0f);
    EXPECT_EQ(ZAGLSInterface::LogoAlpha(2.0f), 1.0f);
    EXPECT_NEAR(ZAGLSInterface::LogoAlpha(2.5f), 0.5f, kNear);
    EXPECT_LE(ZAGLSInterface::LogoAlpha(3.0f), 0.0f);
    EXPECT_LE(ZAGLSInterface::LogoAlpha(60.0f), 0.0f);
}

TEST_F(GardenScene, EffectsCycleThroughAllSevenBothWays)
{
    ASSERT_EQ(Scene->PPShaderIndex, 0);
    EXPECT_EQ(EffectName(), "cel");
    EXPECT_FALSE(Scene->ApplyPPShader);
    Scene->LastPPShader();
    EXPECT_EQ(Scene->PPShaderIndex, 6);
    EXPECT_EQ(EffectName(), "blur");
    Scene->NextPPShader();
    for (int step = 1; step <= 7; ++step) {
        Scene->NextPPShader();
        const int expected = step % kPostProcessingCount;
        ASSERT_EQ(Scene->PPShaderIndex, expected) << "step " << step;
        EXPECT_EQ(EffectName(), kPostProcessingPrograms[expected]);
    }
    for (int step = 1; step <= 7; ++step) {
        Scene->LastPPShader();
        ASSERT_EQ(Scene->PPShaderIndex, (7 - step) % kPostProcessingCount) << "step back " << step;
    }
    Scene->SelectPPShader(-1);
    EXPECT_EQ(Scene->CurrentPPShader, nullptr);
}

TEST_F(GardenScene, StartWrapsTimeClampsTheOrbitAndAppliesTheEffect)
{
    Scene->Start({1.001f});
    EXPECT_NEAR(Scene->TimeOfDay, -0.999f, kNear);
    EXPECT_FALSE(Scene->ApplyPPShader);
    EXPECT_EQ(Scene->CameraDistance, 2.0f) << "no camera asked for";

    const struct {
        float Yaw, Pitch, Distance, WantYaw, WantPitch, WantDistance;
    } cases[] = {{-30.0f, 10.0f, 0.1f, 330.0f, -2.0f, 0.7f},
                 {725.0f, -200.0f, 20.0f, 5.0f, -90.0f, 8.0f},
                 {360.0f, -45.0f, 3.0f, 0.0f, -45.0f, 3.0f}};
    for (const auto& c : cases) {
        Scene->Start({0.0f, true, c.Yaw, c.Pitch, c.Distance, -1});
        EXPECT_NEAR(Scene->CameraRotation.y, c.WantYaw, kNear) << "yaw " << c.Yaw;
        EXPECT_EQ(Scene->CameraRotation.x, c.WantPitch) << "pitch " << c.Pitch;
        EXPECT_EQ(Scene->CameraDistance, c.WantDistance) << "distance " << c.Distance;
    }

    Scene->Start({0.0f, false, 0.0f, 0.0f, 0.0f, 3});
    EXPECT_TRUE(Scene->ApplyPPShader);
    EXPECT_EQ(EffectName(), "sepia");
    Scene->NextPPShader();
    EXPECT_EQ(EffectName(), "tiles") << "cycling goes on from the effect started with";
}

TEST_F(GardenScene, ScreenshotTakesTheNextFreeNumberAndTheBackBufferUpright)
{
    Dir.Write("screenshot0.bmp", "first");
    Dir.Write("screenshot1.bmp", "second");
    glDisable(GL_SCISSOR_TEST);
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    // The top left quarter green: window rows count from the bottom.
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 300, 400, 300);
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);

    Scene->TakeScreenshot();
    EXPECT_EQ(image_files::ReadFile(Dir.File("screenshot0.bmp")), "first");
    EXPECT_EQ(image_files::ReadFile(Dir.File("screenshot1.bmp")), "second");
    EXPECT_FALSE(std::filesystem::exists(Dir.File("screenshot3.bmp")));
    platform::Bitmap24 shot;
    std::string error;
    ASSERT_TRUE(platform::LoadBMP(Dir.File("screenshot2.bmp"), shot, error)) << error;
    ASSERT_EQ(shot.Width(), 800);
    ASSERT_EQ(shot.Height(), 600);
    EXPECT_EQ(image_files::PixelAt(shot, 10, 10), 0x00FF00u);
    EXPECT_EQ(image_files::PixelAt(shot, 790, 10), 0xFF0000u);
    EXPECT_EQ(image_files::PixelAt(shot, 10, 590), 0xFF0000u);
}
