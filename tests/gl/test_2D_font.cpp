#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "gl/gl_2D.h"
#include "gl/gl_2D_console.h"
#include "gl/gl_2D_font.h"
#include "gl_2D_test_support.h"
#include "gl_test_support.h"
#include "resource/image_test_support.h"
#include "resource/resource_font.h"
#include "resource/resource_texture.h"

class FontTest : public GLTest {
protected:
    GLFont& Fonts() { return *GL->System2D->Fonts; }

    // The glyph picture and, when widths are given, the width file of textures\fonts\<name>.
    ZRFont* Load(const std::string& name, const std::optional<std::string>& widths)
    {
        std::filesystem::create_directories(Dir.File("textures/fonts"));
        Dir.Write("textures/fonts/" + name + ".bmp", image_files::Bmp(32, 32, 24, image_files::Gradient));
        if (widths)
            Dir.Write("textures/fonts/" + name + ".txt", *widths);
        return Fonts().LoadFont("textures\\fonts\\" + name, "test");
    }

    static std::vector<int> Widths(const ZRFont& font, int first, int count)
    {
        return std::vector<int>(font.CharWidths.begin() + first, font.CharWidths.begin() + first + count);
    }
};

TEST_F(FontTest, WidthRowsAreReadFromTheSectionOnly)
{
    const ZRFont* font = Load("lcd", "09 09\r\n[FONT_CHARWIDTH]\r\n08 06\r\n"
                                     "01 02 03 04 05 06 07 ab 09 10 11 12 13 -1 15 16 99\r\n"
                                     "\r\n42 42\r\n");
    EXPECT_EQ(Widths(*font, 0, 3), (std::vector<int>{8, 6, 255}));
    EXPECT_EQ(Widths(*font, 16, 17), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 255, 9, 10, 11, 12, 13, 255, 15, 16, 0}));
    EXPECT_EQ(font->FontTexture->Compression, 0);
}

TEST_F(FontTest, RowsBeyondSixteenAreIgnoredAndARepeatedSectionStartsOver)
{
    std::string file = "[FONT_CHARWIDTH]\n";
    for (int row = 0; row < 20; ++row)
        file += std::string(row < 10 ? "0" : "") + std::to_string(row) + "\n";
    file += "\n[FONT_CHARWIDTH]\n42\n";
    const ZRFont* font = Load("lcd", file);
    EXPECT_EQ(font->CharWidths[0], 42);
    EXPECT_EQ(font->CharWidths[1], 255);
    for (int row = 1; row < 16; ++row)
        EXPECT_EQ(font->CharWidths[row * 16], row) << row;
}

TEST_F(FontTest, BinaryAndOverlongRowsGiveWidthsWithoutFailing)
{
    const std::string file = "[FONT_CHARWIDTH]\n" + std::string("\0\xff 7", 4) + "\n" + std::string(100000, '9') +
                             "\n[FONT_CHARWIDTH]";
    const ZRFont* font = Load("lcd", file);
    EXPECT_EQ(Widths(*font, 0, 3), (std::vector<int>{255, 7, 255}));
    EXPECT_EQ(Widths(*font, 30, 3), (std::vector<int>{99, 99, 0}));
}

TEST_F(FontTest, ATableCutShortOrLostIsReported)
{
    std::string full = "[FONT_CHARWIDTH]\n";
    for (int row = 0; row < 16; ++row)
        full += "07\n";
    Load("full", full);
    Load("lcd", "[FONT_CHARWIDTH]\n01 02\n03\n");
    Load("bin", std::string(64, '\x9c'));
    const auto report = [&](const std::string& name, const std::string& rows) {
        return "  ERROR: ZR_FONT: Font width file \"" + EngineFile("textures/fonts/" + name + ".txt") + "\" holds " +
               rows + " of 16 rows";
    };
    EXPECT_TRUE(Logged(report("lcd", "2")));
    EXPECT_TRUE(Logged(report("bin", "0")));
    const std::vector<std::string> lines = ConsoleLines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& line) { return line.find("ERROR") != std::string::npos; }),
              2);
}

TEST_F(FontTest, MissingWidthFileIsReportedAndLeavesZeroWidths)
{
    ZRFont* font = Load("lcd", std::nullopt);
    EXPECT_TRUE(Logged("  ERROR: ZT_FILE: File \"" + EngineFile("textures/fonts/lcd.txt") + "\" not found!"));
    EXPECT_EQ(*std::max_element(font->CharWidths.begin(), font->CharWidths.end()), 0);
}

TEST_F(FontTest, DeletingTheConsoleFontLeavesTheConsoleWithout)
{
    ZRFont* font = Load("lcd", "[FONT_CHARWIDTH]\n10\n");
    GL->System2D->Console->Font = font;
    EXPECT_EQ(Fonts().FindFont("test"), font);
    Fonts().DeleteFontsOf(&Fonts());
    EXPECT_EQ(Fonts().FindFont("test"), nullptr);
    EXPECT_EQ(GL->System2D->Console->Font, nullptr);
}

class FontDraw : public FontTest {
protected:
    void SetUp() override
    {
        FontTest::SetUp();
        if (IsSkipped())
            return;
        Font = Load("lcd", "[FONT_CHARWIDTH]\n"
                           "00\n00\n00\n00\n"
                           "00 10 12\n");
        GL->System2D->Begin2D();
    }
    void TearDown() override
    {
        if (GL)
            GL->System2D->End2D();
        FontTest::TearDown();
    }

    std::vector<FedQuad> Draw(int32_t align, float x, const std::string& text)
    {
        return CaptureQuads([&] { Fonts().DrawText(Font, align, x, 200.0f, kWhite, 0.5f, 2.0f, text); });
    }

    ZRFont* Font = nullptr;
};

TEST_F(FontDraw, GlyphsAreSquaresOverTheirCellsAdvancingByHalfTheWidthsTimesScale)
{
    EXPECT_FLOAT_EQ(GLFont::TextWidth(Font, "AB", 2.0f), 22.0f);
    std::vector<FedQuad> glyphs;
    for (const auto& [align, firstCentre] : std::vector<std::pair<int32_t, float>>{
             {GLFont::kAlignLeft, 105.0f}, {GLFont::kAlignRight, 83.0f}, {GLFont::kAlignCenter, 94.0f}}) {
        glyphs = Draw(align, 100.0f, "AB");
        ASSERT_EQ(glyphs.size(), 2u) << align;
        EXPECT_NEAR(glyphs[0].CentreX(), firstCentre, 0.01f) << align;
        EXPECT_NEAR(glyphs[1].CentreX(), firstCentre + 11.0f, 0.01f) << align;
    }
    // B sits in row 4, column 2 of the 16 x 16 glyph sheet.
    const FedQuad& b = glyphs[1];
    EXPECT_NEAR(b.Right - b.Left, 26.0f, 0.01f);
    EXPECT_NEAR(b.Top, 187.0f, 0.01f);
    EXPECT_NEAR(b.Bottom, 213.0f, 0.01f);
    EXPECT_FLOAT_EQ(b.SLeft, 2.0f / 16);
    EXPECT_FLOAT_EQ(b.SRight, 3.0f / 16);
    EXPECT_FLOAT_EQ(b.TTop, 1.0f - 4.0f / 16);
    EXPECT_FLOAT_EQ(b.TBottom, 1.0f - 5.0f / 16);
    EXPECT_FLOAT_EQ(b.Alpha, 0.5f);
}

