#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "core/zot_constant.h"
#include "gl/gl_camera.h"
#include "gl/gl_frustum.h"
#include "gl/gl_lightingengine.h"
#include "gl/gl_materialengine.h"
#include "gl/gl_shaderengine.h"
#include "gl/gl_textureengine.h"
#include "gl_test_support.h"
#include "platform/platform_gl.h"
#include "resource/resource_material.h"

namespace {

bool IsOn(GLenum capability) { return glIsEnabled(capability) == GL_TRUE; }

GLint Integer(GLenum which)
{
    GLint values[4] = {};
    glGetIntegerv(which, values);
    return values[0];
}

std::vector<GLint> Viewport()
{
    std::vector<GLint> v(4);
    glGetIntegerv(GL_VIEWPORT, v.data());
    return v;
}

long Count(const std::vector<std::string>& lines, const std::string& line)
{
    return std::count(lines.begin(), lines.end(), line);
}

const std::string kModeError = "  ERROR: ZOT_GL: Undefined ZOT GL Mode!";

}  // namespace

class GLMainTest : public GLTest {
protected:
    TMaterial& MaterialDefaults() const { return GL->MaterialEngine->BaseMaterial->Material; }
};

TEST_F(GLMainTest, StartUpLogsTheModuleTheContextAndEverySubSystemInOrder)
{
    const std::vector<std::string> expected = {
        "Initializing Module: ZOT GL", kEmptyLine, "ZOT GL: Initializing...",
        "ZOT GL: Device Context created!", "ZOT GL: Rendering Context created!", kEmptyLine,
        "ZOT GL: Initializing sub systems...", "ZOT GL: Camera initialized!",
        "ZOT GL: Frustum Culling Class initialized!", "ZOT GL: Model Engine initialized!",
        "ZOT GL: Lighting Engine initialized!", "ZOT GL: Texture Engine initialized!",
        "ZOT GL: Material Engine initialized!", "ZOT GL: Display List Engine initialized!",
        "ZOT GL: Shader Engine initialized!", "ZOT GL: GL 2D initialized!", "ZOT GL: GL 2D Font initialized!",
        "ZOT GL: GL Console initialized!", "ZOT GL: GL Screen initialized!", "ZOT GL: GL 2D Camera initialized!",
        "ZOT GL: GL 3D initialized!",
        "ZOT GL: Scene Engine initialized!", kSeparatorLine, kEmptyLine};
    // Sub-systems add the lines of what they detect; the order of the rest is fixed.
    std::vector<std::string> lines;
    for (const std::string& line : ConsoleLines()) {
        if (line.rfind("ZOT GL: Extension", 0) != 0 && line.rfind("ZOT GL: Supporting", 0) != 0 &&
            line.rfind("ZOT GL: Maximum", 0) != 0)
            lines.push_back(line);
    }
    const auto start = std::find(lines.begin(), lines.end(), expected.front());
    ASSERT_NE(start, lines.end());
    ASSERT_NE(start, lines.begin());
    EXPECT_EQ(*(start - 1), kSeparatorLine);
    EXPECT_EQ(std::vector<std::string>(start, std::min(start + expected.size(), lines.end())), expected);

    const RenderingContext info = GL->GetContextInfo();
    EXPECT_TRUE(info.InUse);
    EXPECT_EQ(info.Name, "View");
    EXPECT_EQ(info.Settings.Width, 800);
    EXPECT_EQ(GL->LastContext, 0);
    EXPECT_EQ(CurrentGL, GL);
    EXPECT_TRUE(IsOn(GL_DEPTH_TEST) && IsOn(GL_CULL_FACE) && IsOn(GL_COLOR_MATERIAL));
    EXPECT_EQ(Viewport(), (std::vector<GLint>{0, 0, 800, 600}));
}

TEST_F(GLMainTest, ShutDownLogsFirstAndForgetsTheModule)
{
    delete GL;
    GL = nullptr;
    const std::vector<std::string> lines = ConsoleLines();
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(lines.end() - 4, lines.end()),
              (std::vector<std::string>{kSeparatorLine, "ZOT GL: Shut down...", kSeparatorLine, kEmptyLine}));
    EXPECT_EQ(CurrentGL, nullptr);
}

TEST_F(GLMainTest, ModesWithAStoredSwitchSetTheirGLStateAndTheMaterialFlags)
{
    glEnable(GL_BLEND);
    glEnable(GL_FOG);
    GL->SetMode(ZOTGL::kModeBlending, 0);
    GL->SetMode(ZOTGL::kModeFog, 0);
    EXPECT_FALSE(IsOn(GL_BLEND));
    EXPECT_FALSE(IsOn(GL_FOG));

    GL->SetMode(ZOTGL::kModeDepthWrite, 0);
    EXPECT_EQ(Integer(GL_DEPTH_WRITEMASK), GL_FALSE);
    EXPECT_FALSE(MaterialDefaults().DepthWrite);
    GL->SetMode(ZOTGL::kModeDepthWrite, 2);
    EXPECT_EQ(Integer(GL_DEPTH_WRITEMASK), GL_TRUE);
    EXPECT_TRUE(MaterialDefaults().DepthWrite);

    GL->SetMode(ZOTGL::kModeWireframe, 1);
    EXPECT_EQ(Integer(GL_POLYGON_MODE), GL_LINE);
    EXPECT_EQ(MaterialDefaults().GeometryType, 1);
    GL->SetMode(ZOTGL::kModeSmoothShading, 0);
    EXPECT_EQ(Integer(GL_SHADE_MODEL), GL_FLAT);
    EXPECT_TRUE(MaterialDefaults().FlatShade);

    GL->SetMode(ZOTGL::kModeNormalize, 1);
    GL->SetMode(ZOTGL::kModeAntialiasing, 0);
    EXPECT_TRUE(IsOn(GL_NORMALIZE));
    EXPECT_FALSE(IsOn(GL_POINT_SMOOTH) || IsOn(GL_LINE_SMOOTH));

    GL->SetMode(ZOTGL::kModePolygonOffset, 1);
    GLfloat factor = 0.0f;
    glGetFloatv(GL_POLYGON_OFFSET_FACTOR, &factor);
    EXPECT_TRUE(IsOn(GL_POLYGON_OFFSET_FILL));
    EXPECT_FLOAT_EQ(factor, -1.0f);

    GL->SetMode(ZOTGL::kModeAlphaTest, 0);
    EXPECT_EQ(GL->ModeSwitch(ZOTGL::kModeAlphaTest), 0);
    EXPECT_EQ(GL->Modes[8], 0);
}

TEST_F(GLMainTest, ModesOfTheSubSystemsSwitchThem)
{
    GL->SetMode(ZOTGL::kModeLighting, 0);
    GL->SetMode(ZOTGL::kModeTexturing, 0);
    GL->SetMode(ZOTGL::kModeMaterials, 0);
    GL->SetMode(ZOTGL::kModeFrustumCulling, 0);
    GL->SetMode(ZOTGL::kModeShaders, 0);
    EXPECT_FALSE(GL->LightingEngine->Enabled);
    EXPECT_FALSE(GL->TextureEngine->Enabled || IsOn(GL_TEXTURE_2D));
    EXPECT_FALSE(GL->MaterialEngine->MaterialsOn);
    EXPECT_FALSE(GL->Camera->Frustum->Enabled);
    EXPECT_FALSE(GL->ShaderEngine->ShadersOn);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    GL->SetMode(ZOTGL::kModeFrustumCulling, 1);
    EXPECT_TRUE(GL->Camera->Frustum->Enabled);
    GL->SetMode(ZOTGL::kModeLighting, 2);
    EXPECT_FALSE(GL->LightingEngine->Enabled);
}

TEST_F(GLMainTest, UnknownModeIsReportedAndChangesNothing)
{
    uint8_t before[ZOTGL::kStoredModes];
    std::memcpy(before, GL->Modes, sizeof(before));
    GL->SetMode(14, 1);
    GL->SetMode(-1, 0);
    EXPECT_EQ(std::memcmp(before, GL->Modes, sizeof(before)), 0);
    EXPECT_EQ(Count(ConsoleLines(), kModeError), 2);

    GL->SetMode(ZOTGL::kModeBlending, 2);
    EXPECT_EQ(GL->ModeSwitch(ZOTGL::kModeBlending), 2);
    GL->EnableBlending(true);
    EXPECT_TRUE(IsOn(GL_BLEND));
}

TEST_F(GLMainTest, CapabilityHelpersObeyTheirSwitches)
{
    struct Case {
        int32_t Mode;
        std::function<void(bool)> Helper;
        GLenum Capability;
    };
    const std::vector<Case> cases = {
        {ZOTGL::kModeBlending, [this](bool on) { GL->EnableBlending(on); }, GL_BLEND},
        {ZOTGL::kModeFog, [this](bool on) { GL->EnableFog(on); }, GL_FOG},
        {ZOTGL::kModeAntialiasing, [this](bool on) { GL->EnableAntialiasing(on); }, GL_LINE_SMOOTH},
        {ZOTGL::kModeAlphaTest, [this](bool on) { GL->EnableAlphaTest(on); }, GL_ALPHA_TEST},
        {ZOTGL::kModeLighting, [this](bool on) { GL->EnableLighting(on); }, GL_LIGHTING},
        {ZOTGL::kModeTexturing, [this](bool on) { GL->EnableTexturing(on); }, GL_TEXTURE_2D},
        {ZOTGL::kModeMaterials, [this](bool on) { GL->EnableColorMaterial(on); }, GL_COLOR_MATERIAL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Mode);
        GL->SetMode(c.Mode, 1);
        c.Helper(true);
        EXPECT_TRUE(IsOn(c.Capability));
        c.Helper(false);
        EXPECT_FALSE(IsOn(c.Capability));
        GL->SetMode(c.Mode, 0);
        c.Helper(true);
        EXPECT_FALSE(IsOn(c.Capability));
    }

    GL->SetFlatShading(false);
    EXPECT_EQ(Integer(GL_SHADE_MODEL), GL_SMOOTH);
    GL->SetFlatShading(true);
    EXPECT_EQ(Integer(GL_SHADE_MODEL), GL_FLAT);
    GL->SetMode(ZOTGL::kModeSmoothShading, 0);
    GL->SetFlatShading(false);
    EXPECT_EQ(Integer(GL_SHADE_MODEL), GL_FLAT);
}

TEST_F(GLMainTest, BlendModesSetFactorsAndColour)
{
    struct Case {
        GLint Source;
        GLint Destination;
        float Colour[4];
    };
    const Color3 colour{0.25f, 0.5f, 1.0f};
    const Case cases[] = {
        {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, {0.25f, 0.5f, 1.0f, 0.5f}},
        {GL_SRC_ALPHA, GL_ONE, {0.25f, 0.5f, 1.0f, 0.5f}},
        {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, {0.25f, 0.5f, 1.0f, 0.5f}},
        {GL_ZERO, GL_ONE_MINUS_SRC_COLOR, {0.375f, 0.25f, 0.0f, 0.5f}},
        {GL_SRC_ALPHA_SATURATE, GL_ONE_MINUS_DST_ALPHA, {0.25f, 0.5f, 1.0f, 0.5f}},
        {GL_DST_COLOR, GL_ONE_MINUS_SRC_ALPHA, {0.25f, 0.5f, 1.0f, 0.5f}},
        {GL_ZERO, GL_SRC_COLOR, {0.125f, 0.25f, 0.5f, 0.5f}},
    };
    for (int32_t mode = 0; mode < 7; ++mode) {
        SCOPED_TRACE(mode);
        GL->SetBlendMode(mode, colour, 0.5f);
        EXPECT_EQ(Integer(GL_BLEND_SRC), cases[mode].Source);
        EXPECT_EQ(Integer(GL_BLEND_DST), cases[mode].Destination);
        GLfloat current[4] = {};
        glGetFloatv(GL_CURRENT_COLOR, current);
        for (int k = 0; k < 4; ++k)
            EXPECT_FLOAT_EQ(current[k], cases[mode].Colour[k]);
    }
    GL->SetBlendMode(7, Color3{}, 1.0f);
    EXPECT_EQ(Integer(GL_BLEND_DST), GL_SRC_COLOR);
}

TEST_F(GLMainTest, CheckErrorDrainsEveryQueuedErrorWithOneReport)
{
    EXPECT_FALSE(GL->CheckError());
    glEnable(0xFFFF);
    glLineWidth(-1.0f);
    glEnd();
    EXPECT_TRUE(GL->CheckError());
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_EQ(Count(ConsoleLines(), "  ERROR: ZOT_GL: GL Error occurred!"), 1);
}

TEST_F(GLMainTest, ExtensionQueryIsAPlainSubstringSearch)
{
    std::istringstream glList(reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)));
    std::string last;
    for (std::string name; glList >> name;)
        last = name;
    ASSERT_GT(last.size(), 3u);
    EXPECT_TRUE(GL->IsExtensionSupported(last));
    EXPECT_TRUE(GL->IsExtensionSupported(last.substr(0, last.size() - 3)));
    EXPECT_FALSE(GL->IsExtensionSupported("GL_TAMSEL_no_such_extension"));

    const std::string systemList = platform::WindowSystemExtensions(Window.Handle());
    if (!systemList.empty()) {
        EXPECT_TRUE(GL->IsExtensionSupported(systemList.substr(0, systemList.find(' '))));
    }
}

TEST_F(GLMainTest, SwapFrameMovesTheTriangleCount)
{
    GL->AddTriangles(10);
    GL->AddTriangles(5);
    GL->SwapFrame();
    EXPECT_EQ(GL->TrianglesLastFrame, 15u);
    EXPECT_EQ(GL->TrianglesThisFrame, 0u);
    GL->SwapFrame();
    EXPECT_EQ(GL->TrianglesLastFrame, 0u);
}

TEST_F(GLMainTest, RenderFrameLeavesAClearedBufferAndItsDuration)
{
    GL->SetClearColor(Color3{1.0f, 0.0f, 0.0f});
    GL->SetMode(ZOTGL::kModeDepthWrite, 0);
    GL->AddTriangles(3);
    GL->RenderFrame();
    GLubyte pixel[4] = {};
    glReadBuffer(GL_BACK);
    glReadPixels(10, 10, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(pixel[0], 255);
    EXPECT_EQ(pixel[1], 0);
    EXPECT_EQ(Integer(GL_DEPTH_WRITEMASK), GL_TRUE);
    EXPECT_EQ(GL->TrianglesLastFrame, 3u);
    EXPECT_GE(GL->FrameTime, 0.0);
}

TEST_F(GLMainTest, WindowedDisplaySettingsOnlyStoreTheValues)
{
    GL->SetDisplaySettings(1024, 768, 16, 75, false);
    EXPECT_EQ(GL->Settings.Width, 1024);
    EXPECT_EQ(GL->Settings.Height, 768);
    EXPECT_EQ(GL->Settings.BitsPerPixel, 16);
    EXPECT_EQ(GL->Settings.RefreshRate, 75);
    EXPECT_EQ(Viewport(), (std::vector<GLint>{0, 0, 800, 600}));
    EXPECT_EQ(GL->GetContextInfo().Settings.Width, 800);
}

TEST_F(GLMainTest, ASecondContextSharesWithThePrimaryOne)
{
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    EXPECT_EQ(GL->CreateContext(Window.Handle(), "SECOND"), 1);
    EXPECT_TRUE(glIsTexture(texture));
    EXPECT_TRUE(GL->ShareLists(0, 1));
    EXPECT_EQ(Count(ConsoleLines(), "  ERROR: ZOT_GL: Could not share GL lists!"), 0);

    GL->SelectContext(0);
    GL->DeleteContext(1);
    EXPECT_FALSE(GL->Contexts[1].InUse);
    EXPECT_FALSE(GL->ShareLists(0, 1));
    EXPECT_EQ(Viewport(), (std::vector<GLint>{0, 0, 800, 600}));
    glDeleteTextures(1, &texture);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(GLMainTest, UnusedSlotsAreRefused)
{
    GL->SelectContext(5);
    EXPECT_EQ(GL->CurrentContext, 0);
    EXPECT_NE(GL->RC, nullptr);
    EXPECT_EQ(Count(ConsoleLines(), "  ERROR: ZOT_GL: Selected Rendering Context does not exist!"), 1);

    GL->LastContext = ZOTGL::kContextSlots - 1;
    EXPECT_EQ(GL->CreateContext(Window.Handle(), "NINTH"), -1);
    EXPECT_EQ(GL->LastContext, ZOTGL::kContextSlots - 1);
    EXPECT_EQ(Count(ConsoleLines(), "  ERROR: ZOT_GL: No free rendering context slot!"), 1);
}

using GLMainDeathTest = GLTest;

TEST_F(GLMainDeathTest, AWindowWithoutHandleEndsTheProgramWithCodeOne)
{
    EXPECT_EXIT(GL->CreateContext(nullptr, "NONE"), ::testing::ExitedWithCode(1), "");
    const std::vector<std::string> lines = ConsoleLines();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
        return line.find("Can't create device context.") != std::string::npos;
    }));
    EXPECT_EQ(Count(lines, "ZOT GL: Device Context created!"), 1);
}

namespace {

// Refuses the display modes whose refresh rate is listed, and records every request.
class RefusingGL : public ZOTGL {
public:
    using ZOTGL::ZOTGL;

    std::vector<int> Refused;
    std::vector<int> Requested;

protected:
    bool ChangeDisplayMode(int, int, int, int hz) override
    {
        Requested.push_back(hz);
        return std::find(Refused.begin(), Refused.end(), hz) == Refused.end();
    }
};

}  // namespace

class GLDisplayModeTest : public EngineTest {
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY"))
            GTEST_SKIP() << "needs an X display";
        EngineTest::SetUp();
        ASSERT_TRUE(Window.Create("Tamsel test", 800, 600, false));
        GL = new RefusingGL(Engine.get());
        GL->Initialize(&Window, "View", 0, 0, 800, 600, 32, 60, false);
    }
    void TearDown() override
    {
        delete GL;
        EngineTest::TearDown();
    }

    long Failures() const { return Count(ConsoleLines(), "  ERROR: ZOT_GL: Could not set display settings!"); }

    platform::Window Window;
    RefusingGL* GL = nullptr;
};

TEST_F(GLDisplayModeTest, ARefusedRateIsRetriedOnceAtSixtyHertz)
{
    GL->Refused = {75};
    GL->SetDisplaySettings(640, 480, 32, 75, true);
    EXPECT_EQ(GL->Requested, (std::vector<int>{75, 60}));
    EXPECT_EQ(GL->Settings.RefreshRate, 60);
    EXPECT_EQ(Failures(), 0);
    EXPECT_EQ(Viewport(), (std::vector<GLint>{0, 0, 640, 480}));
}

TEST_F(GLDisplayModeTest, RefusalAtSixtyHertzIsReportedAndTheViewportStillFollows)
{
    GL->Refused = {75, 60};
    GL->SetDisplaySettings(640, 480, 32, 75, true);
    EXPECT_EQ(GL->Requested, (std::vector<int>{75, 60}));
    EXPECT_EQ(Failures(), 1);
    EXPECT_EQ(Viewport(), (std::vector<GLint>{0, 0, 640, 480}));
    EXPECT_EQ(GL->GetContextInfo().Settings.Height, 480);
}
