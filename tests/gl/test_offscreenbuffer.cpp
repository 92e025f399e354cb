#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "gl/gl_offscreenbuffer.h"
#include "gl_test_support.h"
#include "resource/resource_texture.h"

namespace {

constexpr int32_t kSize = 64;
const std::string kWrongSize = "  ERROR: ZOT_GL: pBuffer has wrong size!";

std::vector<GLfloat> Integers(std::initializer_list<GLenum> which)
{
    std::vector<GLfloat> values;
    for (GLenum state : which)
        values.push_back(GLfloat(Integer(state)));
    return values;
}

std::vector<GLfloat> Values(const DisplaySettings& s)
{
    return {GLfloat(s.X), GLfloat(s.Y), GLfloat(s.Width), GLfloat(s.Height)};
}

// What drawing into the buffer must not leave behind on the window.
std::map<std::string, std::vector<GLfloat>> WindowState(const ZOTGL& gl)
{
    return {
        {"viewport", Floats(GL_VIEWPORT)},
        {"projection", Floats(GL_PROJECTION_MATRIX, 16)},
        {"model-view", Floats(GL_MODELVIEW_MATRIX, 16)},
        {"clear colour", Floats(GL_COLOR_CLEAR_VALUE)},
        {"blend, depth test, fog, lighting, depth mask",
         Integers({GL_BLEND, GL_DEPTH_TEST, GL_FOG, GL_LIGHTING, GL_DEPTH_WRITEMASK})},
        {"framebuffer, matrix mode, attribute and matrix stack depths",
         Integers({GL_FRAMEBUFFER_BINDING, GL_MATRIX_MODE, GL_ATTRIB_STACK_DEPTH, GL_PROJECTION_STACK_DEPTH,
                   GL_MODELVIEW_STACK_DEPTH})},
        {"module settings", Values(gl.Settings)},
        {"slot settings", Values(gl.Contexts[gl.CurrentContext].Settings)},
    };
}

// Texel (x, y) of level 0 as 0xRRGGBB.
uint32_t Texel(const ZRTexture& texture, int32_t x, int32_t y)
{
    std::vector<GLubyte> texels(size_t(texture.Width) * size_t(texture.Height) * 4);
    glBindTexture(GL_TEXTURE_2D, texture.GLName);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    const GLubyte* t = &texels[(size_t(y) * size_t(texture.Width) + size_t(x)) * 4];
    return uint32_t(t[0]) << 16 | uint32_t(t[1]) << 8 | t[2];
}

// Far from both the module's defaults and what the camera would build.
void UnusualWindowState(ZOTGL& gl)
{
    gl.SetViewport(10, 20, 400, 300);
    glTranslatef(1.0f, 2.0f, 3.0f);
    glMatrixMode(GL_PROJECTION);
    glOrtho(-2.0, 2.0, -1.0, 1.0, -5.0, 5.0);
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glClearColor(0.25f, 0.5f, 0.75f, 1.0f);
    glDepthMask(GL_FALSE);
}

// Red with a green left half, whatever state the drawing starts from.
void DrawRedAndGreen()
{
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glColor3f(0.0f, 1.0f, 0.0f);
    glRectf(-1.0f, -1.0f, 0.0f, 1.0f);
}

class OffScreenBufferTest : public GLTest {};

}  // namespace

TEST_F(OffScreenBufferTest, BeginThenEndLeavesTheWindowsStateAsItWas)
{
    GLOffScreenBuffer buffer(GL);
    buffer.Init(kSize, kSize);
    UnusualWindowState(*GL);
    const auto before = WindowState(*GL);

    buffer.Begin();
    EXPECT_EQ(Floats(GL_VIEWPORT), (std::vector<GLfloat>{0, 0, kSize, kSize}));
    EXPECT_EQ(Values(GL->Contexts[GL->CurrentContext].Settings), (std::vector<GLfloat>{0, 0, kSize, kSize}));
    EXPECT_EQ(GLuint(Integer(GL_FRAMEBUFFER_BINDING)), buffer.Framebuffer);
    glEnable(GL_FOG);
    glDepthMask(GL_TRUE);
    DrawRedAndGreen();
    glViewport(1, 1, 2, 2);
    buffer.End();

    EXPECT_EQ(WindowState(*GL), before);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(OffScreenBufferTest, WhatIsDrawnInsideLandsInTheTextureAndNotOnTheWindow)
{
    GL->SetClearColor({0.0f, 0.0f, 1.0f});
    GL->ClearBuffers();
    GLOffScreenBuffer buffer(GL);
    buffer.Init(kSize, kSize);
    EXPECT_TRUE(buffer.Extension == "GL_ARB_framebuffer_object" || buffer.Extension == "GL_EXT_framebuffer_object");
    EXPECT_TRUE(Logged("ZOT GL: Extension \"" + buffer.Extension + "\" initialized!"));
    EXPECT_FALSE(Logged(kWrongSize));
    ASSERT_NE(buffer.GetTexture(), nullptr);
    const ZRTexture& texture = *buffer.GetTexture();
    EXPECT_EQ(Texel(texture, 40, 40), 0xFFFFFFu) << "white until drawn into";

    buffer.Begin();
    DrawRedAndGreen();
    buffer.End();

    EXPECT_EQ(Integers({GL_ACTIVE_TEXTURE_ARB, GL_TEXTURE_2D, GL_TEXTURE_BINDING_2D}),
              (std::vector<GLfloat>{GLfloat(GL_TEXTURE0_ARB), 1, GLfloat(texture.GLName)}));
    EXPECT_EQ(std::vector<uint32_t>({Texel(texture, 4, 32), Texel(texture, kSize - 4, 32)}),
              std::vector<uint32_t>({0x00FF00, 0xFF0000}));
    EXPECT_EQ(std::vector<uint32_t>({BackPixel(4, 300), BackPixel(40, 40)}), std::vector<uint32_t>(2, 0x0000FF));
}

TEST_F(OffScreenBufferTest, EndTwiceBindsTheTextureOnce)
{
    GLOffScreenBuffer buffer(GL);
    buffer.Init(kSize, kSize);
    buffer.Begin();
    buffer.End();
    glBindTexture(GL_TEXTURE_2D, 0);
    const auto between = WindowState(*GL);

    buffer.End();
    EXPECT_EQ(Integer(GL_TEXTURE_BINDING_2D), 0);
    EXPECT_EQ(WindowState(*GL), between);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    buffer.Begin();
    buffer.End();
    EXPECT_EQ(GLuint(Integer(GL_TEXTURE_BINDING_2D)), buffer.GetTexture()->GLName);
    buffer.Begin();
    EXPECT_EQ(Integer(GL_TEXTURE_BINDING_2D), 0) << "never sampled while drawn into";
    buffer.End();
}

// Never made, made without entry points, and refused by the driver.
TEST_F(OffScreenBufferTest, BuffersThatCouldNotBeMadeAreHarmlessAndReleaseNothingElse)
{
    ZRTexture other;
    other.CreateEmpty(4, 4, 0);
    const int64_t live = ZOTObject::InstanceCount();
    {
        GLOffScreenBuffer never(GL), crippled(GL), refused(GL);
        ASSERT_TRUE(crippled.InitExtensions() && refused.InitExtensions());
        crippled.CheckFramebufferStatus = nullptr;
        crippled.Create(kSize, kSize);
        refused.CheckFramebufferStatus = [](GLenum) -> GLenum { return GL_FRAMEBUFFER_UNSUPPORTED; };
        refused.Create(kSize, kSize);
        EXPECT_TRUE(!never.GetTexture() && !crippled.GetTexture());
        EXPECT_EQ(refused.Framebuffer + refused.DepthBuffer, 0u);

        glBindTexture(GL_TEXTURE_2D, other.GLName);
        UnusualWindowState(*GL);
        const auto before = WindowState(*GL);
        for (GLOffScreenBuffer* buffer : {&never, &crippled, &refused}) {
            buffer->Begin();
            glClear(GL_COLOR_BUFFER_BIT);
            buffer->End();
        }
        EXPECT_EQ(WindowState(*GL), before);
        EXPECT_EQ(GLuint(Integer(GL_TEXTURE_BINDING_2D)), other.GLName);
    }
    EXPECT_EQ(ZOTObject::InstanceCount(), live);
    EXPECT_TRUE(glIsTexture(other.GLName));
    EXPECT_EQ(LogCount("  ERROR: ZOT_GL: pBuffers not supported!"), 1);
    EXPECT_EQ(LogCount("  ERROR: ZOT_GL: pBuffer is not complete! GL_FRAMEBUFFER_UNSUPPORTED"), 1);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(OffScreenBufferTest, MoreThanTheDriverAllowsIsReportedAndTheLargestBufferUsed)
{
    GLint viewport[2] = {};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    const int32_t largest = std::min({Integer(GL_MAX_TEXTURE_SIZE), Integer(GL_MAX_RENDERBUFFER_SIZE), viewport[0]});
    GLOffScreenBuffer buffer(GL);
    buffer.Init(largest + 1, 8);

    EXPECT_EQ(LogCount(kWrongSize), 1);
    EXPECT_EQ(std::vector<int32_t>({buffer.Width, buffer.Height}), std::vector<int32_t>({largest, 8}));
    buffer.Begin();
    EXPECT_EQ(Floats(GL_VIEWPORT), (std::vector<GLfloat>{0, 0, GLfloat(largest), 8}));
    DrawRedAndGreen();
    buffer.End();
    EXPECT_EQ(Texel(*buffer.GetTexture(), largest - 1, 4), 0xFF0000u) << "it goes on with what it was given";
}
