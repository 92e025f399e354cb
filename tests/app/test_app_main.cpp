#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/app_main.h"
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

TEST_F(AppSettings, OnlyDisplaySectionLeavesTheRestAtDefaults)
{
    Dir.Write("tamsel.ini", "[DISPLAY]\nFullscreen=0\n");
    const TAppSettings settings = Read();
    EXPECT_EQ(settings.Width, 640);
    EXPECT_EQ(settings.Height, 480);
    EXPECT_EQ(settings.BPP, 32);
    EXPECT_EQ(settings.Hz, 60);
    EXPECT_FALSE(settings.Fullscreen);
    EXPECT_EQ(settings.ButterflyCount, 10);
    EXPECT_EQ(settings.FurShells, 16);
    EXPECT_TRUE(settings.BlurredShadow && settings.RenderShadow && settings.RenderLawn && settings.RenderEnvironment);
}

TEST_F(AppSettings, ValuesAreIntegersAndBooleansAreNonZero)
{
    Dir.Write("tamsel.ini", "[display]\nwidth = 1024\nHeight=abc\n[PARAMS]\nRenderLawn=0\nRenderShadow=7\n"
                            "ButterflyCount=-3\n");
    const TAppSettings settings = Read();
    EXPECT_EQ(settings.Width, 1024);
    EXPECT_EQ(settings.Height, 480);
    EXPECT_FALSE(settings.RenderLawn);
    EXPECT_TRUE(settings.RenderShadow);
    EXPECT_EQ(settings.ButterflyCount, -3);
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
