// A started engine with a hidden window and the GL module running on it at
// 800 x 600, and the GL queries the tests read state back with.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "gl/gl_main.h"
#include "platform/platform_window.h"
#include "test_support.h"

inline bool IsOn(GLenum capability) { return glIsEnabled(capability) == GL_TRUE; }

// The first value of an integer state.
inline GLint Integer(GLenum which)
{
    GLint values[4] = {};
    glGetIntegerv(which, values);
    return values[0];
}

// The first count values of a float state.
inline std::vector<GLfloat> Floats(GLenum which, int count = 4)
{
    std::vector<GLfloat> values(16);
    glGetFloatv(which, values.data());
    values.resize(count);
    return values;
}

// The back buffer's pixel at window (x, y), y counted from the bottom, as 0xRRGGBB.
inline uint32_t BackPixel(int x, int y)
{
    GLubyte rgb[3] = {};
    glReadBuffer(GL_BACK);
    glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    return uint32_t(rgb[0]) << 16 | uint32_t(rgb[1]) << 8 | rgb[2];
}

class GLTest : public EngineTest {
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY"))
            GTEST_SKIP() << "needs an X display (make test runs the suite under Xvfb)";
        EngineTest::SetUp();
        ASSERT_TRUE(Window.Create("Tamsel test", 800, 600, false));
        GL = NewGL();
        GL->Initialize(&Window, "View", 0, 0, 800, 600, 32, 60, false);
    }
    void TearDown() override
    {
        DeleteAndClear(GL);
        EngineTest::TearDown();
    }

    // The module under test; a test may hand in one that stands in for the display.
    virtual ZOTGL* NewGL() { return new ZOTGL(Engine.get()); }

    platform::Window Window;
    ZOTGL* GL = nullptr;
};
