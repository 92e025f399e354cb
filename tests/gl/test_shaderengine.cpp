#include <string>
#include <vector>

#include "gl/gl_shaderengine.h"
#include "shader_test_support.h"

using namespace shader_texts;

class ShaderEngine : public ShaderGLTest {
protected:
    GLShaderEngine& SE() { return *GL->ShaderEngine; }
};

TEST_F(ShaderEngine, ProgramsBindAndTakeLocalParameters)
{
    const auto vertex = Load("vp", kVertex);
    const auto fragment = Load("fp", kFragment);
    vertex->Bind();
    fragment->Bind();
    EXPECT_TRUE(IsOn(GL_VERTEX_PROGRAM_ARB));
    EXPECT_EQ(BoundProgram(GL_FRAGMENT_PROGRAM_ARB), static_cast<GLint>(fragment->ProgramName));

    // SetLocal addresses the vertex target even through a fragment shader.
    fragment->SetLocal(0, {1.0f, 2.0f, 3.0f});
    vertex->SetVertexLocal(1, {4.0f, 5.0f, 6.0f}, 7.0f);
    fragment->SetFragmentLocal(2, {0.25f, 0.5f, 0.75f}, 0.125f);
    EXPECT_EQ(Local(GL_VERTEX_PROGRAM_ARB, 0), (std::array<GLfloat, 4>{1.0f, 2.0f, 3.0f, 1.0f}));
    EXPECT_EQ(Local(GL_VERTEX_PROGRAM_ARB, 1), (std::array<GLfloat, 4>{4.0f, 5.0f, 6.0f, 7.0f}));
    EXPECT_EQ(Local(GL_FRAGMENT_PROGRAM_ARB, 2), (std::array<GLfloat, 4>{0.25f, 0.5f, 0.75f, 0.125f}));

    vertex->Unbind();
    EXPECT_FALSE(IsOn(GL_VERTEX_PROGRAM_ARB));
    EXPECT_TRUE(IsOn(GL_FRAGMENT_PROGRAM_ARB));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ShaderEngine, TargetsStayOffWhileProgramsAreSwitchedOffOrUnusable)
{
    const auto vertex = Load("vp", kVertex);
    const auto fragment = Load("fp", kFragment);
    vertex->Bind();
    GL->SetMode(ZOTGL::kModeShaders, 0);
    EXPECT_FALSE(IsOn(GL_VERTEX_PROGRAM_ARB));
    vertex->Bind();
    EXPECT_FALSE(IsOn(GL_VERTEX_PROGRAM_ARB));

    GL->SetMode(ZOTGL::kModeShaders, 1);
    vertex->Bind();
    SE().BindVertexProgram(fragment.get());
    EXPECT_FALSE(IsOn(GL_VERTEX_PROGRAM_ARB)) << "a fragment program is no vertex program";
    vertex->Bind();
    SE().BindVertexProgram(nullptr);
    EXPECT_FALSE(IsOn(GL_VERTEX_PROGRAM_ARB));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ShaderEngine, WithoutTheExtensionAShaderLoadsButNeverSwitchesItsTargetOn)
{
    SE().VertexProgramsSupported = false;
    const auto vertex = Load("vp", kVertex);
    EXPECT_TRUE(vertex->IsLoaded());
    EXPECT_EQ(vertex->ProgramName, 0u);
    vertex->Bind();
    vertex->Unbind();
    SE().Disable();
    EXPECT_FALSE(IsOn(GL_VERTEX_PROGRAM_ARB));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ShaderEngine, AnEarlierGLErrorDoesNotCondemnAValidProgram)
{
    glEnd();
    ASSERT_TRUE(Load("vp", kVertex)->IsLoaded());
    EXPECT_TRUE(Logged("  ERROR: ZOT_GL: GL Error occurred! GL_INVALID_OPERATION"));
}

using ShaderEngineDeathTest = ShaderEngine;

TEST_F(ShaderEngineDeathTest, ARejectedProgramEndsTheProcessWithCodeTwo)
{
    EXPECT_EXIT(Load("broken", kBroken), ::testing::ExitedWithCode(2), "");
    const std::vector<std::string> lines = ConsoleLines();
    ASSERT_FALSE(lines.empty());
    const std::string prefix = "  ERROR: ZT_ERRORSHUTDOWN: Error Code: 2\r\rERROR: Shader \"broken\": ";
    EXPECT_EQ(lines.back().rfind(prefix, 0), 0u) << lines.back();
    EXPECT_GT(lines.back().size(), prefix.size()) << "the driver's error text follows";
}

TEST_F(ShaderEngine, ListedShadersAreFreedOnceWhoeverGoesFirst)
{
    ZOTObject owner(nullptr, "OWNER", "ZOTObject");
    auto* a = new ZRShader("", &owner);
    auto* b = new ZRShader("", &owner);
    auto* c = new ZRShader();
    SE().AddShader(a);
    SE().AddShader(b);
    SE().AddShader(c);
    SE().AddShader(b);
    SE().AddShader(nullptr);

    const int64_t live = ZOTObject::InstanceCount();
    SE().RemoveShadersOwnedBy(GL);
    SE().RemoveShader(3);
    SE().RemoveShader(-1);
    EXPECT_EQ(ZOTObject::InstanceCount(), live);

    SE().RemoveShader(0);
    EXPECT_EQ(SE().Shaders.Items, (std::vector<ZRShader*>{b, c}));
    EXPECT_EQ(ZOTObject::InstanceCount(), live - 1);

    delete b;

    SE().AddShader(new ZRShader("", &owner));
    SE().RemoveShadersOwnedBy(&owner);
    EXPECT_EQ(SE().Shaders.Items, (std::vector<ZRShader*>{c}));
    EXPECT_EQ(ZOTObject::InstanceCount(), live - 2);
    // c goes with the engine, under the leak check's eye.
}
