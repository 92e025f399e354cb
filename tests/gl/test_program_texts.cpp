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
#include <sstream>
#include <string>
#include <vector>

#include "shader_test_support.h"

namespace {

namespace fs = std::filesystem;

const std::string kVertexHeader = "!!ARBvp1.0";
const std::string kFragmentHeader = "!!ARBfp1.0";

// A count the driver reports for a program and the most a program may need
// to run on every implementation of its extension.
struct TLimit {
    GLenum Count;
    const char* Name;
    GLint Most;
};
const std::vector<TLimit> kVertexLimits = {
    {GL_PROGRAM_INSTRUCTIONS_ARB, "instructions", 128},
    {GL_PROGRAM_TEMPORARIES_ARB, "temporaries", 12},
    {GL_PROGRAM_PARAMETERS_ARB, "parameters", 96},
    {GL_PROGRAM_ATTRIBS_ARB, "attributes", 16},
};
const std::vector<TLimit> kFragmentLimits = {
    {GL_PROGRAM_INSTRUCTIONS_ARB, "instructions", 72},
    {GL_PROGRAM_ALU_INSTRUCTIONS_ARB, "ALU instructions", 48},
    {GL_PROGRAM_TEX_INSTRUCTIONS_ARB, "texture instructions", 24},
    {GL_PROGRAM_TEX_INDIRECTIONS_ARB, "texture indirections", 4},
    {GL_PROGRAM_TEMPORARIES_ARB, "temporaries", 16},
    {GL_PROGRAM_PARAMETERS_ARB, "parameters", 24},
    {GL_PROGRAM_ATTRIBS_ARB, "attributes", 10},
};

fs::path ShaderRoot() { return fs::read_symlink("/proc/self/exe").parent_path() / "shaders"; }

std::vector<std::string> Lines(const fs::path& file)
{
    std::vector<std::string> lines;
    std::ifstream in(file, std::ios::binary);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line.substr(0, line.find('\r')));
    return lines;
}

// Whether an instruction, comments left out, has a destination that starts with
// result; declarations never start their operands with it.
bool Writes(const std::vector<std::string>& lines, const std::string& result)
{
    for (const std::string& line : lines) {
        std::istringstream code(line.substr(0, line.find('#')));
        std::string opcode, destination;
        if (code >> opcode >> destination && destination.compare(0, result.size(), result) == 0)
            return true;
    }
    return false;
}

// Uploads the lines, joined with line breaks as the engine hands them to GL;
// failures are reported against file.
void CheckCompiles(const fs::path& file, GLenum target, const std::vector<std::string>& lines)
{
    const auto genPrograms = Entry<PFNGLGENPROGRAMSARBPROC>("glGenProgramsARB");
    const auto bindProgram = Entry<PFNGLBINDPROGRAMARBPROC>("glBindProgramARB");
    const auto programString = Entry<PFNGLPROGRAMSTRINGARBPROC>("glProgramStringARB");
    const auto getProgramiv = Entry<PFNGLGETPROGRAMIVARBPROC>("glGetProgramivARB");
    const auto deletePrograms = Entry<PFNGLDELETEPROGRAMSARBPROC>("glDeleteProgramsARB");
    ASSERT_TRUE(genPrograms && bindProgram && programString && getProgramiv && deletePrograms);
    std::string text;
    for (const std::string& line : lines)
        text += (text.empty() ? "" : "\n") + line;
    while (glGetError() != GL_NO_ERROR) {
    }
    GLuint name = 0;
    genPrograms(1, &name);
    bindProgram(target, name);
    programString(target, GL_PROGRAM_FORMAT_ASCII_ARB, static_cast<GLsizei>(text.size()), text.data());
    const GLenum error = glGetError();
    GLint position = -1;
    glGetIntegerv(GL_PROGRAM_ERROR_POSITION_ARB, &position);
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
    deletePrograms(1, &name);
}

}  // namespace

using ProgramTexts = GLTest;

TEST_F(ProgramTexts, EveryProgramCompilesWritesItsResultAndFitsEveryImplementation)
{
    size_t count = 0;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(ShaderRoot())) {
        if (!entry.is_regular_file() || entry.path().extension() != ".txt")
            continue;
        ++count;
        const fs::path& file = entry.path();
        const std::vector<std::string> lines = Lines(file);
        const std::string header = lines.empty() ? std::string() : lines.front();
        if (header != kVertexHeader && header != kFragmentHeader) {
            ADD_FAILURE() << file << " starts with neither " << kVertexHeader << " nor " << kFragmentHeader;
            continue;
        }
        const bool vertex = header == kVertexHeader;
        const std::string result = vertex ? "result.position" : "result.color";
        EXPECT_TRUE(Writes(lines, result)) << file << " never writes " << result;
        CheckCompiles(file, vertex ? GL_VERTEX_PROGRAM_ARB : GL_FRAGMENT_PROGRAM_ARB, lines);
    }
    // The data tree holds 3 vertex and 10 fragment programs.
    EXPECT_GE(count, 13u) << ShaderRoot();
}
