// A started engine with a hidden window and the GL module running on it at 800 x 600.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>

#include "gl/gl_main.h"
#include "platform/platform_window.h"
#include "test_support.h"

class GLTest : public EngineTest {
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY"))
            GTEST_SKIP() << "needs an X display (make test runs the suite under Xvfb)";
        EngineTest::SetUp();
        ASSERT_TRUE(Window.Create("Tamsel test", 800, 600, false));
        GL = new ZOTGL(Engine.get());
        GL->Initialize(&Window, "View", 0, 0, 800, 600, 32, 60, false);
    }
    void TearDown() override
    {
        delete GL;
        GL = nullptr;
        EngineTest::TearDown();
    }

    platform::Window Window;
    ZOTGL* GL = nullptr;
};
