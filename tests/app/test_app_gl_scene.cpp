#include <GL/gl.h>

#include <cmath>

#include "app/app_gl_interface.h"
#include "app/app_gl_scene.h"
#include "app/app_gl_sky.h"
#include "gl/gl_test_support.h"
#include "platform/platform_image.h"
#include "program_test_support.h"
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

// The scene built on the program's own data tree.
class GardenScene : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        program_test::CopyDataTree(Dir.Path);
        Scene = new ZAGLScene(GL);
        Scene->Initialize();
        const std::vector<std::string> lines = ConsoleLines();
        for (const std::string& line : lines)
            ASSERT_EQ(line.find("ERROR"), std::string::npos) << line;
    }
    void TearDown() override
    {
        DeleteAndClear(Scene);
        GLTest::TearDown();
    }

    std::string EffectName() const { return Scene->CurrentPPShader ? Scene->CurrentPPShader->GetName() : "none"; }

    ZAGLScene* Scene = nullptr;
};

}  // namespace

TEST(GardenSky, ColoursSunAndStarsFollowTheDayValue)
{
    const Color3 night{0.1f, 0.1f, 0.2f}, nightSky{0.0f, 0.0f, 0.1f}, black{};
    const TSkyState noon = ZAGLSSky::StateAt(0.0f);
    EXPECT_EQ(noon.DayValue, 0.0f);
    ExpectColour(noon.Sky, {0.5f, 0.8f, 1.0f}, kNear, "noon sky");
    ExpectColour(noon.Ambient, {0.5f, 0.5f, 0.5f}, kNear, "noon ambient");
    ExpectColour(noon.Diffuse, {0.5f, 0.5f, 0.5f}, kNear, "noon diffuse");
    EXPECT_NEAR(noon.SunDirection.x, 0.0f, kNear);
    EXPECT_NEAR(noon.SunDirection.y, 1.0f, kNear);
    EXPECT_NEAR(noon.SunDirection.z, 1.0f, kNear);
    EXPECT_LE(ZAGLSSky::StarStrength(0.0f), 0.0f);

    const TSkyState morning = ZAGLSSky::StateAt(-0.7f);
    EXPECT_NEAR(morning.DayValue, -0.49f, kNear);
    ExpectColour(morning.Ambient, {0.41f, 0.32f, 0.22f}, kNear, "ambient a tenth of the way from dawn");
    EXPECT_LE(ZAGLSSky::StarStrength(-0.7f), 0.0f);

    const TSkyState late = ZAGLSSky::StateAt(0.9f);
    EXPECT_NEAR(late.DayValue, 0.81f, kNear);
    ExpectColour(late.Sky, nightSky, kNear, "late sky");
    ExpectColour(late.Ambient, night, kNear, "late ambient");
    ExpectColour(late.Diffuse, black, kNear, "late diffuse");
    EXPECT_NEAR(ZAGLSSky::StarStrength(0.9f), 0.6f, kNear);

    // Where the gradients meet the night keys, both sides already show them.
    for (const float s : {-0.751f, -0.749f, 0.749f, 0.751f}) {
        const TSkyState state = ZAGLSSky::StateAt(std::copysign(std::sqrt(std::fabs(s)), s));
        const std::string at = "s = " + std::to_string(s);
        ExpectColour(state.Sky, nightSky, 0.01f, at);
        ExpectColour(state.Ambient, night, 0.01f, at);
        ExpectColour(state.Diffuse, black, 0.01f, at);
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
    TSceneStart start;
    start.TimeOfDay = 1.001f;
    Scene->Start(start);
    EXPECT_NEAR(Scene->TimeOfDay, -0.999f, kNear);
    EXPECT_FALSE(Scene->ApplyPPShader);
    EXPECT_EQ(Scene->CameraDistance, 2.0f) << "no camera asked for";

    const struct {
        float Yaw, Pitch, Distance, WantYaw, WantPitch, WantDistance;
    } cases[] = {{-30.0f, 10.0f, 0.1f, 330.0f, -2.0f, 0.7f},
                 {725.0f, -200.0f, 20.0f, 5.0f, -90.0f, 8.0f},
                 {360.0f, -45.0f, 3.0f, 0.0f, -45.0f, 3.0f}};
    for (const auto& c : cases) {
        start = {};
        start.HasCamera = true;
        start.Yaw = c.Yaw, start.Pitch = c.Pitch, start.Distance = c.Distance;
        Scene->Start(start);
        EXPECT_NEAR(Scene->CameraRotation.y, c.WantYaw, kNear) << "yaw " << c.Yaw;
        EXPECT_EQ(Scene->CameraRotation.x, c.WantPitch) << "pitch " << c.Pitch;
        EXPECT_EQ(Scene->CameraDistance, c.WantDistance) << "distance " << c.Distance;
    }

    start = {};
    start.Effect = 3;
    Scene->Start(start);
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
