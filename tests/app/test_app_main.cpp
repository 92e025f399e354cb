#include "app/app_main.h"
#include "platform/platform_window.h"
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
    EXPECT_FALSE(settings.Fullscreen || settings.Params.RenderLawn);
    EXPECT_TRUE(settings.Params.RenderShadow && settings.Params.BlurredShadow);
    EXPECT_EQ(settings.Params.ButterflyCount, -3);
}

TEST_F(AppSettings, MissingFileIsReportedAndDefaultsStay)
{
    EXPECT_EQ(Read().Width, 640);
    EXPECT_TRUE(Logged("  ERROR: ZT_FILE: File \"" + EngineFile("tamsel.ini") + "\" not found!"));
}

TEST_F(AppSettings, ALineThatIsNoSettingIsReportedAndTheOthersAreRead)
{
    Dir.Write("tamsel.ini", "[DISPLAY]\nWidth=1024\n\x91\x07garbage\nHeight=700\n[PARAMS\n");
    const TAppSettings settings = Read();
    EXPECT_EQ(settings.Width, 1024);
    EXPECT_EQ(settings.Height, 700);
    EXPECT_TRUE(Logged("  ERROR: ZOTApp: Settings file \"" + EngineFile("tamsel.ini") + "\": line 3 is not a setting"));
}

class AppStartUp : public EngineTest {};

TEST_F(AppStartUp, TooFewTextureUnitsAreRefusedAndTheWindowCloses)
{
    if (!std::getenv("DISPLAY"))
        GTEST_SKIP() << "needs an X display";
    Dir.Write("tamsel.ini", "[DISPLAY]\nWidth=320\nHeight=240\nFullscreen=0\n");
    platform::Window window;
    ASSERT_TRUE(window.Create("Tamsel test", 320, 240, false));
    {
        ZOTApp app(nullptr, &window, nullptr);
        app.SetUnitLimit(2);
        app.Initialize();
        EXPECT_TRUE(app.Quit);
        EXPECT_TRUE(app.MayClose());
    }
    EXPECT_TRUE(Logged("  ERROR: ZOTApp: Your graphics card must support at least 3 Texel Units and"));
}
