#include <filesystem>
#include <string>
#include <vector>

#include "core/zot_console.h"
#include "gl/gl_2D.h"
#include "gl/gl_2D_console.h"
#include "gl/gl_2D_screen.h"
#include "gl/gl_camera.h"
#include "gl_test_support.h"
#include "resource/image_test_support.h"

namespace {

// Matrix mode, both stack depths and both matrices, as one list of numbers.
std::vector<GLfloat> Matrices()
{
    std::vector<GLfloat> state = Floats(GL_PROJECTION_MATRIX, 16);
    const std::vector<GLfloat> modelView = Floats(GL_MODELVIEW_MATRIX, 16);
    state.insert(state.end(), modelView.begin(), modelView.end());
    for (const GLenum which : {GL_MATRIX_MODE, GL_PROJECTION_STACK_DEPTH, GL_MODELVIEW_STACK_DEPTH})
        state.push_back(static_cast<GLfloat>(Integer(which)));
    return state;
}

}  // namespace

using GL2D = GLTest;

TEST_F(GL2D, BeginTwiceThenEndLeavesBothMatrixStacksAsBefore)
{
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(1.0f, 2.0f, 3.0f);
    const std::vector<GLfloat> before = Matrices();
    GL_2DSystem& system = *GL->System2D;
    system.Begin2D();
    system.Begin2D();
    EXPECT_TRUE(system.IsIn2D());
    system.End2D();
    system.End2D();
    EXPECT_FALSE(system.IsIn2D());
    EXPECT_EQ(Matrices(), before);
}

TEST_F(GL2D, HeightFollowsTheViewportAspectUnlessTheViewportIsEmpty)
{
    GL_2DSystem& system = *GL->System2D;
    EXPECT_FLOAT_EQ(system.Height, 480.0f);
    GL->SetViewport(0, 0, 800, 400);
    EXPECT_FLOAT_EQ(system.Height, 320.0f);
    GL->SetViewport(0, 0, 0, 0);
    EXPECT_FLOAT_EQ(system.Height, 320.0f);
}

TEST_F(GL2D, ConsoleKeepsTheLastLoggedLines)
{
    GLConsole& console = *GL->System2D->Console;
    console.SetLineCount(3);
    console.AddLineColored("red", {1.0f, 0.0f, 0.0f});
    Engine->Console->AddLine("one");
    Engine->Console->AddLine("two");
    ASSERT_EQ(console.Lines.size(), 3u);
    EXPECT_EQ(console.Lines[0].Text, "red");
    EXPECT_EQ(console.Lines[0].Color.g, 0.0f);
    EXPECT_EQ(console.Lines[2].Text, "two");

    console.SetLineCount(-2);
    Engine->Console->AddLine("nowhere to go");
    EXPECT_TRUE(console.Lines.empty());
}

TEST_F(GL2D, ScreenPassMultipliesThePictureByFiltersAndBrightness)
{
    const auto pass = [this](const Color3& filter, const Color3& screenColor, float brightness) {
        glClearColor(200 / 255.0f, 150 / 255.0f, 100 / 255.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        GL->Camera->ColorFilter = filter;
        GL->System2D->Screen->ScreenColor = screenColor;
        GL->System2D->Screen->Brightness.Value = brightness;
        GL->System2D->Render();
        return BackPixel(400, 300);
    };
    EXPECT_TRUE(image_files::Near(pass(kWhite, kWhite, 1.0f), 0xC89664));
    const uint32_t dimmed = pass({0.5f, 0.5f, 0.5f}, {1.0f, 0.5f, 0.0f}, 0.5f);
    EXPECT_TRUE(image_files::Near(dimmed, 0x321300)) << std::hex << dimmed;
}

TEST_F(GL2D, ShowPictureDrawsThePictureUprightOverItsBackground)
{
    std::filesystem::create_directories(Dir.File("textures/interface"));
    Dir.Write("textures/interface/loading.bmp", image_files::Bmp(4, 4, 24, [](int, int y) {
                  return y < 2 ? image_files::Rgb{255, 0, 0} : image_files::Rgb{0, 0, 255};
              }));
    glClear(GL_COLOR_BUFFER_BIT);
    GL->System2D->Screen->ShowPicture("textures\\interface\\loading", {0.0f, 1.0f, 0.0f});
    EXPECT_EQ(BackPixel(400, 525), 0xFF0000u);
    EXPECT_EQ(BackPixel(400, 75), 0x0000FFu);
    EXPECT_EQ(BackPixel(25, 300), 0x00FF00u);
    EXPECT_FALSE(GL->System2D->IsIn2D());
}
