#include <gtest/gtest.h>

#include <string>

#include "gl/gl_shaderengine.h"
#include "gl/shader_test_support.h"

using namespace shader_texts;

using ShaderResource = ShaderGLTest;

TEST_F(ShaderResource, VertexProgramLinesStayWholeAndTheKindIsReadWithoutUploading)
{
    // The tamsel-inspect test shows a fragment program.
    const auto vertex = Load("vp", kVertex);
    EXPECT_EQ(vertex->Kind, ZRShader::kVertexProgram);
    EXPECT_EQ(vertex->Text.Last, 3);
    EXPECT_EQ(vertex->Text.Lines[1], kLongLine);

    // A driver would refuse the bare header, so the kind is read without uploading.
    GL->ShaderEngine->VertexProgramsSupported = false;
    const auto bare = Load("bare", "!!ARBvp\nEND\n");
    EXPECT_TRUE(bare->IsLoaded());
    EXPECT_EQ(bare->Kind, ZRShader::kVertexProgram);
}

TEST_F(ShaderResource, UnknownFormatsAndMissingFilesLeaveTheShaderEmpty)
{
    for (const char* text : {"", "!!ARB\nEND\n", "!!ARBxp1.0\nEND\n"}) {
        SCOPED_TRACE(text);
        const auto shader = Load("odd", text);
        EXPECT_FALSE(shader->IsLoaded());
        EXPECT_EQ(ConsoleLines().back(),
                  "  ERROR: ZR_SHADER: Unknown shader format in file \"" + EngineFile("odd.txt") + "\"!");
    }
    const ZRShader missing("none");
    EXPECT_FALSE(missing.IsLoaded());
    EXPECT_EQ(ConsoleLines().back(), "  ERROR: ZT_FILE: File \"" + EngineFile("none.txt") + "\" not found!");
}

TEST_F(ShaderResource, UnloadingAndReloadingDeleteTheProgramAndAnEmptyShaderNeverBinds)
{
    const auto isProgram = Entry<PFNGLISPROGRAMARBPROC>("glIsProgramARB");
    const auto shader = Load("vp", kVertex);
    const GLuint first = shader->ProgramName;
    ASSERT_TRUE(isProgram(first));
    shader->LoadFromFile("vp");
    EXPECT_FALSE(isProgram(first));
    shader->Bind();
    const GLuint second = shader->ProgramName;

    ZRShader empty;
    empty.Bind();
    EXPECT_TRUE(IsOn(GL_VERTEX_PROGRAM_ARB));
    EXPECT_EQ(BoundProgram(GL_VERTEX_PROGRAM_ARB), static_cast<GLint>(second));

    shader->Unload();
    EXPECT_FALSE(isProgram(second));
    EXPECT_EQ(shader->Text.Last, -1);
}
