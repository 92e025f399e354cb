// The garden scene built on the program's own data tree, in a hidden window.
#pragma once

#include <string>
#include <vector>

#include "app/app_gl_scene.h"
#include "gl/gl_test_support.h"
#include "program_test_support.h"
#include "resource/resource_shader.h"

class GardenScene : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        program_test::CopyDataTree(Dir.Path);
        Scene = new ZAGLScene(GL);
        Scene->Params = Params();
        Scene->Initialize();
        const std::vector<std::string> lines = ConsoleLines();
        for (const std::string& line : lines)
            ASSERT_EQ(line.find("ERROR"), std::string::npos) << line;
    }
    void TearDown() override
    {
        DeleteAndClear(Scene);
        GLTest::TearDown();
    }

    // The settings the scene is built with.
    virtual TSceneParams Params() const { return {}; }

    std::string EffectName() const { return Scene->CurrentPPShader ? Scene->CurrentPPShader->GetName() : "none"; }

    ZAGLScene* Scene = nullptr;
};
