#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/app_main.h"
#include "platform/platform_window.h"
#include "resource/image_test_support.h"
#include "test_support.h"

class AppSettings : public EngineTest {
protected:
    TAppSettings Read()
    {
        ZOTApp app(nullptr, nullptr, nullptr);
        app.ReadSettings();
        return app.Settings;
    }
};

TEST_F(AppSettings, ValuesAreIntegersAndBooleansAreNonZero)
{
    Dir.Write("tamsel.ini", "[display]\nwidth = 1024\nHeight=abc\nFullscreen=0\n[PARAMS]\nRenderLawn=0\n"
                            "RenderShadow=7\nButterflyCount=-3\n");
    const TAppSettings settings = Read();
    EXPECT_EQ(settings.Width, 1024);
    EXPECT_EQ(settings.Height, 480);
    EXPECT_FALSE(settings.Fullscreen);
    EXPECT_FALSE(settings.RenderLawn);
    EXPECT_TRUE(settings.RenderShadow && settings.BlurredShadow);
    EXPECT_EQ(settings.ButterflyCount, -3);
    EXPECT_EQ(settings.FurShells, 16);
}

TEST_F(AppSettings, MissingFileIsReportedAndDefaultsStay)
{
    const TAppSettings settings = Read();
    EXPECT_EQ(settings.Width, 640);
    EXPECT_TRUE(settings.Fullscreen);
    const std::vector<std::string> lines = ConsoleLines();
    const std::string report = "  ERROR: ZT_FILE: File \"" + EngineFile("tamsel.ini") + "\" not found!";
    EXPECT_NE(std::find(lines.begin(), lines.end(), report), lines.end());
}

// A whole application started on a hidden window, with a loading picture.
class AppStartUp : public EngineTest {
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY"))
            GTEST_SKIP() << "needs an X display";
        EngineTest::SetUp();
        Dir.Write("tamsel.ini", "[DISPLAY]\nWidth=320\nHeight=240\nFullscreen=0\n");
        std::filesystem::create_directories(Dir.File("textures/interface"));
        Dir.Write("textures/interface/loading.bmp",
                  image_files::Bmp(8, 8, 24, [](int, int) { return image_files::Rgb{255, 0, 0}; }));
        ASSERT_TRUE(Window.Create("Tamsel test", 320, 240, false));
        App = std::make_unique<ZOTApp>(nullptr, &Window, nullptr);
    }
    void TearDown() override
    {
        App.reset();
        EngineTest::TearDown();
    }

    platform::Window Window;
    std::unique_ptr<ZOTApp> App;
};

TEST_F(AppStartUp, LoadingPictureIsPresentedBeforeTheRestOfStartUp)
{
    App->Initialize();
    ASSERT_FALSE(App->Quit);
    const std::vector<std::string> lines = ConsoleLines();
    const auto at = [&lines](const std::string& line) { return std::find(lines.begin(), lines.end(), line); };
    const auto picture = at("Creating Texture: \"textures\\interface\\loading\"");
    ASSERT_NE(picture, lines.end());
    EXPECT_LT(at("ZOT GL: Scene Engine initialized!"), picture);
    EXPECT_LT(picture, at("Initializing Module: ZOT Input"));
}

TEST_F(AppStartUp, TooFewTextureUnitsAreRefusedAndTheWindowCloses)
{
    App->SetUnitLimit(2);
    App->Initialize();
    EXPECT_TRUE(App->Quit);
    EXPECT_TRUE(App->MayClose());
    const std::vector<std::string> lines = ConsoleLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "  ERROR: ZOTApp: Your graphics card must support at least 3 Texel Units and"),
              lines.end());
}
