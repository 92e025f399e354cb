#include <algorithm>
#include <cstring>
#include <string>

#include "gl/gl_camera.h"
#include "gl/gl_frustum.h"
#include "gl/gl_lightingengine.h"
#include "gl/gl_materialengine.h"
#include "gl/gl_textureengine.h"
#include "gl_test_support.h"
#include "platform/platform_gl.h"
#include "resource/resource_material.h"

class GLMainTest : public GLTest {
protected:
    TMaterial& MaterialDefaults() const { return GL->MaterialEngine->BaseMaterial->Material; }
};

TEST_F(GLMainTest, StartsWithItsDefaultStateAndIsForgottenWhenGone)
{
    EXPECT_EQ(CurrentGL, GL);
    EXPECT_TRUE(IsOn(GL_DEPTH_TEST) && IsOn(GL_CULL_FACE) && IsOn(GL_COLOR_MATERIAL));
    EXPECT_EQ(Floats(GL_VIEWPORT), (std::vector<GLfloat>{0, 0, 800, 600}));
    DeleteAndClear(GL);
    EXPECT_EQ(CurrentGL, nullptr);
}

// Depth writes take any positive value; the other modes act on 0 and 1 only.
TEST_F(GLMainTest, ModesAreAppliedAndUnknownModesOnlyReported)
{
    GL->SetMode(ZOTGL::kModeDepthWrite, 0);
    EXPECT_EQ(Integer(GL_DEPTH_WRITEMASK), GL_FALSE);
    EXPECT_FALSE(MaterialDefaults().DepthWrite);
    GL->SetMode(ZOTGL::kModeDepthWrite, 2);
    EXPECT_EQ(Integer(GL_DEPTH_WRITEMASK), GL_TRUE);
    EXPECT_TRUE(MaterialDefaults().DepthWrite);
    GL->SetMode(ZOTGL::kModeWireframe, 1);
    EXPECT_EQ(Integer(GL_POLYGON_MODE), GL_LINE);
    EXPECT_EQ(MaterialDefaults().GeometryType, kGeometryWireframe);

    GL->SetMode(ZOTGL::kModeFrustumCulling, 0);
    EXPECT_FALSE(GL->Camera->Frustum->Enabled);
    GL->SetMode(ZOTGL::kModeLighting, 0);
    GL->SetMode(ZOTGL::kModeLighting, 2);
    EXPECT_FALSE(GL->LightingEngine->Enabled);
    GL->SetMode(ZOTGL::kModeTexturing, 0);
    EXPECT_FALSE(GL->TextureEngine->Enabled || IsOn(GL_TEXTURE_2D));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    uint8_t before[ZOTGL::kStoredModes];
    std::memcpy(before, GL->Modes, sizeof(before));
    GL->SetMode(14, 1);
    GL->SetMode(-1, 0);
    EXPECT_EQ(std::memcmp(before, GL->Modes, sizeof(before)), 0);
    EXPECT_EQ(LogCount("  ERROR: ZOT_GL: Undefined ZOT GL Mode!"), 2);
}

TEST_F(GLMainTest, CapabilityHelpersObeyTheirSwitches)
{
    GL->SetMode(ZOTGL::kModeBlending, 2);
    GL->EnableBlending(true);
    EXPECT_TRUE(IsOn(GL_BLEND));
    GL->SetMode(ZOTGL::kModeBlending, 0);
    GL->EnableBlending(true);
    GL->SetMode(ZOTGL::kModeLighting, 0);
    GL->EnableLighting(true);
    GL->SetMode(ZOTGL::kModeTexturing, 0);
    GL->EnableTexturing(true);
    EXPECT_FALSE(IsOn(GL_BLEND) || IsOn(GL_LIGHTING) || IsOn(GL_TEXTURE_2D));

    GL->SetMode(ZOTGL::kModeSmoothShading, 0);
    GL->SetFlatShading(false);
    EXPECT_EQ(Integer(GL_SHADE_MODEL), GL_FLAT);
}

TEST_F(GLMainTest, BlendModesThatScaleTheColourAndUnknownModes)
{
    const Color3 colour{0.25f, 0.5f, 1.0f};
    GL->SetBlendMode(ZOTGL::kBlendNegative, colour, 0.5f);
    EXPECT_EQ(Integer(GL_BLEND_DST), GL_ONE_MINUS_SRC_COLOR);
    EXPECT_EQ(Floats(GL_CURRENT_COLOR), (std::vector<GLfloat>{0.375f, 0.25f, 0.0f, 0.5f}));
    GL->SetBlendMode(ZOTGL::kBlendColorScaled, colour, 0.5f);
    EXPECT_EQ(Integer(GL_BLEND_DST), GL_SRC_COLOR);
    EXPECT_EQ(Floats(GL_CURRENT_COLOR), (std::vector<GLfloat>{0.125f, 0.25f, 0.5f, 0.5f}));
    GL->SetBlendMode(7, Color3{}, 1.0f);
    GL->SetBlendMode(-1, Color3{}, 1.0f);
    EXPECT_EQ(Integer(GL_BLEND_DST), GL_SRC_COLOR);
}

TEST_F(GLMainTest, CheckErrorDrainsTheErrorsWithOneReportNamingThem)
{
    EXPECT_FALSE(GL->CheckError());
    glEnable(GL_TEXTURE_WRAP_S);
    glLineWidth(-1.0f);
    EXPECT_TRUE(GL->CheckError());
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    // GL may keep only the first error until it is read.
    EXPECT_EQ(LogCount("  ERROR: ZOT_GL: GL Error occurred! GL_INVALID_ENUM") +
                  LogCount("  ERROR: ZOT_GL: GL Error occurred! GL_INVALID_ENUM, GL_INVALID_VALUE"),
              1);
}

TEST_F(GLMainTest, ExtensionQueryCoversTheGLAndTheWindowSystemLists)
{
    EXPECT_TRUE(GL->IsExtensionSupported("GL_ARB_multitexture"));
    EXPECT_FALSE(GL->IsExtensionSupported("GL_TAMSEL_no_such_extension"));
    const std::string systemList = platform::WindowSystemExtensions(Window.Handle());
    if (!systemList.empty()) {
        EXPECT_TRUE(GL->IsExtensionSupported(systemList.substr(0, systemList.find(' '))));
    }
}

TEST_F(GLMainTest, RenderFrameLeavesAClearedBufferAndTheFramesTriangles)
{
    GL->SetClearColor(Color3{1.0f, 0.0f, 0.0f});
    GL->SetMode(ZOTGL::kModeDepthWrite, 0);
    GL->AddTriangles(3);
    GL->RenderFrame();
    EXPECT_EQ(BackPixel(10, 10), 0xFF0000u);
    EXPECT_EQ(Integer(GL_DEPTH_WRITEMASK), GL_TRUE);
    EXPECT_EQ(GL->TrianglesLastFrame, 3u);
    EXPECT_EQ(GL->TrianglesThisFrame, 0u);
}

TEST_F(GLMainTest, UnusedSlotsAreRefused)
{
    GL->SelectContext(5);
    EXPECT_EQ(GL->CurrentContext, 0);
    EXPECT_NE(GL->RC, nullptr);
    EXPECT_EQ(LogCount("  ERROR: ZOT_GL: Selected Rendering Context does not exist!"), 1);

    GL->LastContext = ZOTGL::kContextSlots - 1;
    EXPECT_EQ(GL->CreateContext(Window.Handle(), "NINTH"), -1);
    EXPECT_EQ(LogCount("  ERROR: ZOT_GL: No free rendering context slot!"), 1);
}

using GLMainDeathTest = GLTest;

TEST_F(GLMainDeathTest, AWindowWithoutHandleEndsTheProgramWithCodeOneSayingWhy)
{
    EXPECT_EXIT(GL->CreateContext(nullptr, "NONE"), ::testing::ExitedWithCode(1), "");
    EXPECT_TRUE(Logged("  ERROR: ZT_ERRORSHUTDOWN: Error Code: 1\r\rERROR: Can't create device context. no window"));
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

class GLDisplayModeTest : public GLTest {
protected:
    ZOTGL* NewGL() override { return new RefusingGL(Engine.get()); }
    RefusingGL& Refusing() { return static_cast<RefusingGL&>(*GL); }
    long Failures() const { return LogCount("  ERROR: ZOT_GL: Could not set display settings!"); }
};

TEST_F(GLDisplayModeTest, ARefusedRateIsRetriedOnceAtSixtyHertzAndOnlyThenReported)
{
    GL->SetDisplaySettings(1024, 768, 16, 75, false);
    EXPECT_TRUE(Refusing().Requested.empty());
    EXPECT_EQ(GL->Settings.RefreshRate, 75);
    EXPECT_EQ(Floats(GL_VIEWPORT), (std::vector<GLfloat>{0, 0, 800, 600}));

    Refusing().Refused = {75};
    GL->SetDisplaySettings(640, 480, 32, 75, true);
    EXPECT_EQ(Refusing().Requested, (std::vector<int>{75, 60}));
    EXPECT_EQ(GL->Settings.RefreshRate, 60);
    EXPECT_EQ(Failures(), 0);
    EXPECT_EQ(Floats(GL_VIEWPORT), (std::vector<GLfloat>{0, 0, 640, 480}));

    Refusing().Refused = {75, 60};
    Refusing().Requested.clear();
    GL->SetDisplaySettings(1024, 768, 32, 75, true);
    EXPECT_EQ(Refusing().Requested, (std::vector<int>{75, 60}));
    EXPECT_EQ(Failures(), 1);
    EXPECT_EQ(Floats(GL_VIEWPORT), (std::vector<GLfloat>{0, 0, 1024, 768}));
}
