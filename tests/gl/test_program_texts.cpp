// The GPU program texts of the data tree beside the program (shaders/**.txt):
// each one the scene loads is there with the kind it is loaded as, and every
// one compiles on the driver, writes its result and stays within the smallest
// limits the ARB program extensions allow an implementation.
// Uploads go straight to GL, not through the shader engine, which ends the
// process on a rejected program; here a rejection names the file and the
// driver's message instead.

#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "gl_test_support.h"
#include "platform/platform_gl.h"

namespace {

namespace fs = std::filesystem;

const std::string kVertexHeader = "!!ARBvp1.0";
const std::string kFragmentHeader = "!!ARBfp1.0";

// The programs the scene loads, as files below shaders/, and their headers.
struct TSceneProgram {
    const char* File;
    const std::string& Header;
};
const TSceneProgram kScenePrograms[] = {
    {"post processing/cel.txt", kFragmentHeader},
    {"post processing/gameboy.txt", kFragmentHeader},
    {"post processing/heatvision.txt", kFragmentHeader},
    {"post processing/sepia.txt", kFragmentHeader},
    {"post processing/tiles.txt", kFragmentHeader},
    {"post processing/edge.txt", kFragmentHeader},
    {"post processing/blur.txt", kFragmentHeader},
    {"furshells.txt", kVertexHeader},
    {"fur.txt", kFragmentHeader},
    {"shadow.txt", kVertexHeader},
    {"lawn.txt", kFragmentHeader},
    {"normalmap_vp.txt", kVertexHeader},
    {"normalmap_fp.txt", kFragmentHeader},
};

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

std::vector<fs::path> ProgramFiles()
{
    std::vector<fs::path> files;
    std::error_code error;
    for (fs::recursive_directory_iterator it(ShaderRoot(), error), end; !error && it != end; it.increment(error)) {
        if (it->is_regular_file() && it->path().extension() == ".txt")
            files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<std::string> Lines(const fs::path& file)
{
    std::vector<std::string> lines;
    std::ifstream in(file, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// The text as the engine hands it to GL: the lines joined with line breaks.
std::string Joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i)
        text += (i ? "\n" : "") + lines[i];
    return text;
}

// The destination of every instruction, comments left out.
std::vector<std::string> Destinations(const std::vector<std::string>& lines)
{
    std::vector<std::string> destinations;
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::string code = lines[i].substr(0, lines[i].find('#'));
        const size_t opcode = code.find_first_not_of(" \t");
        if (opcode == std::string::npos)
            continue;
        const size_t operand = code.find_first_of(" \t", opcode);
        const std::string word = code.substr(opcode, operand - opcode);
        if (operand == std::string::npos || word == "PARAM" || word == "TEMP" || word == "ATTRIB" ||
            word == "OUTPUT" || word == "ADDRESS" || word == "ALIAS" || word == "OPTION")
            continue;
        const size_t first = code.find_first_not_of(" \t", operand);
        if (first != std::string::npos)
            destinations.push_back(code.substr(first, code.find(',', first) - first));
    }
    return destinations;
}

template <typename Proc>
Proc Entry(const char* name)
{
    return reinterpret_cast<Proc>(platform::GetProcAddress(name));
}

}  // namespace

class ProgramTexts : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        if (IsSkipped())
            return;
        GenPrograms = Entry<PFNGLGENPROGRAMSARBPROC>("glGenProgramsARB");
        BindProgram = Entry<PFNGLBINDPROGRAMARBPROC>("glBindProgramARB");
        ProgramString = Entry<PFNGLPROGRAMSTRINGARBPROC>("glProgramStringARB");
        GetProgramiv = Entry<PFNGLGETPROGRAMIVARBPROC>("glGetProgramivARB");
        DeletePrograms = Entry<PFNGLDELETEPROGRAMSARBPROC>("glDeleteProgramsARB");
        ASSERT_TRUE(GenPrograms && BindProgram && ProgramString && GetProgramiv && DeletePrograms);
    }

    // Uploads text to target; failures are reported against file.
    void CheckCompiles(const fs::path& file, GLenum target, const std::vector<std::string>& lines)
    {
        const std::string text = Joined(lines);
        while (glGetError() != GL_NO_ERROR) {
        }
        GLuint name = 0;
        GenPrograms(1, &name);
        BindProgram(target, name);
        ProgramString(target, GL_PROGRAM_FORMAT_ASCII_ARB, static_cast<GLsizei>(text.size()), text.data());
        const GLenum error = glGetError();
        GLint position = -1;
        glGetIntegerv(GL_PROGRAM_ERROR_POSITION_ARB, &position);
        const char* message = reinterpret_cast<const char*>(glGetString(GL_PROGRAM_ERROR_STRING_ARB));
        if (error != GL_NO_ERROR || position != -1) {
            const size_t at = position >= 0 ? std::min<size_t>(position, text.size()) : 0;
            const size_t line = static_cast<size_t>(std::count(text.begin(), text.begin() + at, '\n'));
            ADD_FAILURE() << file << " is rejected at line " << line + 1 << " ("
                          << (line < lines.size() ? lines[line] : std::string()) << "): " << (message ? message : "");
        } else {
            GLint native = 0;
            GetProgramiv(target, GL_PROGRAM_UNDER_NATIVE_LIMITS_ARB, &native);
            EXPECT_EQ(native, GL_TRUE) << file << " exceeds the driver's native limits";
            for (const TLimit& limit : target == GL_VERTEX_PROGRAM_ARB ? kVertexLimits : kFragmentLimits) {
                GLint count = 0;
                GetProgramiv(target, limit.Count, &count);
                EXPECT_LE(count, limit.Most) << file << ": " << limit.Name;
            }
        }
        DeletePrograms(1, &name);
    }

    PFNGLGENPROGRAMSARBPROC GenPrograms = nullptr;
    PFNGLBINDPROGRAMARBPROC BindProgram = nullptr;
    PFNGLPROGRAMSTRINGARBPROC ProgramString = nullptr;
    PFNGLGETPROGRAMIVARBPROC GetProgramiv = nullptr;
    PFNGLDELETEPROGRAMSARBPROC DeletePrograms = nullptr;
};

TEST_F(ProgramTexts, EveryProgramTheSceneLoadsIsThereAsItsKind)
{
    for (const TSceneProgram& program : kScenePrograms) {
        const fs::path file = ShaderRoot() / program.File;
        const std::vector<std::string> lines = Lines(file);
        ASSERT_FALSE(lines.empty()) << file << " is missing or empty";
        EXPECT_EQ(lines.front(), program.Header) << file;
    }
}

TEST_F(ProgramTexts, EveryProgramCompilesWritesItsResultAndFitsEveryImplementation)
{
    const std::vector<fs::path> files = ProgramFiles();
    ASSERT_GE(files.size(), std::size(kScenePrograms)) << "no program texts under " << ShaderRoot();
    for (const fs::path& file : files) {
        const std::vector<std::string> lines = Lines(file);
        const std::string header = lines.empty() ? std::string() : lines.front();
        if (header != kVertexHeader && header != kFragmentHeader) {
            ADD_FAILURE() << file << " starts with neither " << kVertexHeader << " nor " << kFragmentHeader;
            continue;
        }
        const bool vertex = header == kVertexHeader;
        const std::string result = vertex ? "result.position" : "result.color";
        const std::vector<std::string> written = Destinations(lines);
        EXPECT_TRUE(std::any_of(written.begin(), written.end(),
                                [&](const std::string& d) { return d.compare(0, result.size(), result) == 0; }))
            << file << " never writes " << result;
        CheckCompiles(file, vertex ? GL_VERTEX_PROGRAM_ARB : GL_FRAGMENT_PROGRAM_ARB, lines);
    }
}
