// The GPU program texts of the data tree beside the program (shaders/**.txt):
// every one compiles on the driver, writes its result and stays within the
// smallest limits the ARB program extensions allow an implementation.
// Uploads go straight to GL, not through the shader engine, which ends the
// process on a rejected program; here a rejection names the file and the
// driver's message instead.

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "gl/gl_shaderengine.h"
#include "shader_test_support.h"

namespace {

namespace fs = std::filesystem;

// A count the driver reports for a program and the most a program may need
// to run on every implementation of its extension.
struct TLimit {
    GLenum Count;
    const char* Name;
    GLint Most;
};
const std::vector<TLimit> kVertexLimits = {
    {GL_PROGRAM_INSTRUCTIONS_ARB, "instructions", 128}, {GL_PROGRAM_TEMPORARIES_ARB, "temporaries", 12},
    {GL_PROGRAM_PARAMETERS_ARB, "parameters", 96},      {GL_PROGRAM_ATTRIBS_ARB, "attributes", 16}};
const std::vector<TLimit> kFragmentLimits = {
    {GL_PROGRAM_INSTRUCTIONS_ARB, "instructions", 72},     {GL_PROGRAM_ALU_INSTRUCTIONS_ARB, "ALU instructions", 48},
    {GL_PROGRAM_TEX_INSTRUCTIONS_ARB, "texture instructions", 24},
    {GL_PROGRAM_TEX_INDIRECTIONS_ARB, "texture indirections", 4}, {GL_PROGRAM_TEMPORARIES_ARB, "temporaries", 16},
    {GL_PROGRAM_PARAMETERS_ARB, "parameters", 24},         {GL_PROGRAM_ATTRIBS_ARB, "attributes", 10}};

// The file's text with the line breaks the engine hands to GL.
std::string ProgramText(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

// Whether an instruction, comments left out, has a destination that starts with
// result; declarations never start their operands with it.
bool Writes(const std::string& text, const std::string& result)
{
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream code(line.substr(0, line.find('#')));
        std::string opcode, destination;
        if (code >> opcode >> destination && destination.compare(0, result.size(), result) == 0)
            return true;
    }
    return false;
}

}  // namespace

class ProgramTexts : public GLTest {
protected:
    // Uploads text with the engine's entry points but not through the engine;
    // failures are reported against file.
    void CheckCompiles(const fs::path& file, GLenum target, const std::string& text)
    {
        const GLShaderEngine& se = *GL->ShaderEngine;
        const auto getProgramiv = Entry<PFNGLGETPROGRAMIVARBPROC>("glGetProgramivARB");
        ASSERT_TRUE(se.glGenProgramsARB && se.glProgramStringARB && getProgramiv);
        while (glGetError() != GL_NO_ERROR) {
        }
        GLuint name = 0;
        se.glGenProgramsARB(1, &name);
        se.glBindProgramARB(target, name);
        se.glProgramStringARB(target, GL_PROGRAM_FORMAT_ASCII_ARB, static_cast<GLsizei>(text.size()), text.data());
        const GLenum error = glGetError();
        const GLint position = Integer(GL_PROGRAM_ERROR_POSITION_ARB);
        const char* message = reinterpret_cast<const char*>(glGetString(GL_PROGRAM_ERROR_STRING_ARB));
        if (error != GL_NO_ERROR || position != -1) {
            const std::string near = text.substr(std::min<size_t>(position, text.size()), 40);
            ADD_FAILURE() << file << " is rejected at \"" << near << "\": " << (message ? message : "");
        } else {
            GLint native = 0;
            getProgramiv(target, GL_PROGRAM_UNDER_NATIVE_LIMITS_ARB, &native);
            EXPECT_EQ(native, GL_TRUE) << file << " exceeds the driver's native limits";
            for (const TLimit& limit : target == GL_VERTEX_PROGRAM_ARB ? kVertexLimits : kFragmentLimits) {
                GLint count = 0;
                getProgramiv(target, limit.Count, &count);
                EXPECT_LE(count, limit.Most) << file << ": " << limit.Name;
            }
        }
        se.glDeleteProgramsARB(1, &name);
    }
};

TEST_F(ProgramTexts, EveryProgramCompilesWritesItsResultAndFitsEveryImplementation)
{
    size_t count = 0;
    for (const fs::directory_entry& entry :
         fs::recursive_directory_iterator(fs::read_symlink("/proc/self/exe").parent_path() / "shaders")) {
        if (!entry.is_regular_file() || entry.path().extension() != ".txt")
            continue;
        ++count;
        const std::string text = ProgramText(entry.path());
        const bool vertex = text.rfind("!!ARBvp1.0\n", 0) == 0;
        if (!vertex && text.rfind("!!ARBfp1.0\n", 0) != 0) {
            ADD_FAILURE() << entry.path() << " starts with neither !!ARBvp1.0 nor !!ARBfp1.0";
            continue;
        }
        const std::string result = vertex ? "result.position" : "result.color";
        EXPECT_TRUE(Writes(text, result)) << entry.path() << " never writes " << result;
        CheckCompiles(entry.path(), vertex ? GL_VERTEX_PROGRAM_ARB : GL_FRAGMENT_PROGRAM_ARB, text);
    }
    // The data tree holds 3 vertex and 10 fragment programs.
    EXPECT_GE(count, 13u);
}
