#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/platform_checksum.h"
#include "resource/image_test_support.h"
#include "test_support.h"

using namespace image_files;

namespace {

struct ToolRun {
    int ExitCode;
    std::string Out, Err;
};

std::string Crc(const std::string& bytes)
{
    char text[9];
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(platform::Crc32(data, bytes.size())));
    return text;
}

}  // namespace

class Inspect : public ::testing::Test {
protected:
    // The tool beside the test program, with arguments as the shell splits them.
    ToolRun Run(const std::string& arguments) const
    {
        const auto tool = std::filesystem::read_symlink("/proc/self/exe").parent_path() / "tamsel-inspect";
        const std::string out = Output.File("out"), err = Output.File("err");
        const std::string command = "'" + tool.string() + "' " + arguments + " >'" + out + "' 2>'" + err + "'";
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(out), ReadFile(err)};
    }
    ToolRun Run(const std::string& command, const std::string& name) const
    {
        return Run("--root '" + Root.Path + "' " + command + " '" + name + "'");
    }

    TempDir Root;
    TempDir Output;
};

// An odd width, so the checksum shows whether the bitmap's row padding leaks in.
TEST_F(Inspect, ImagePrintsTheBitmapRowsTopFirstWithoutPadding)
{
    std::filesystem::create_directory(Root.File("textures"));
    Root.Write("textures/we\"ird.bmp", Bmp(3, 2, 24, Gradient));
    const ToolRun run = Run("image", "textures\\we\"ird");
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Out, "{\"name\":\"we\\\"ird\",\"store\":\"bitmap\",\"width\":3,\"height\":2,\"format\":0,"
                       "\"bits_per_pixel\":24,\"crc32\":\"" +
                           Crc(BgrRow(3, 0, Gradient) + BgrRow(3, 1, Gradient)) + "\"}\n");
    EXPECT_EQ(run.Err, "");
}

TEST_F(Inspect, BadUsageExitsTwo)
{
    for (const char* arguments : {"", "image", "--root", "--root /tmp image", "sound x", "image a b"}) {
        SCOPED_TRACE(arguments);
        const ToolRun run = Run(arguments);
        EXPECT_EQ(run.ExitCode, 2);
        EXPECT_EQ(run.Err.rfind("usage: tamsel-inspect", 0), 0u);
    }
}

TEST_F(Inspect, MaterialPrintsTheParsedRecord)
{
    Root.Write("skin.txt", "MATERIAL_NAME \"fur\"\nIMPORT_TEXTURE TEX0 \"textures\\fur\\fur\"\n"
                           "SET_BLENDING ADDITIVE 0.5\nSET_RENDERING STEP1 TEX0 MULTIPLY\n");
    const ToolRun run = Run("material", "skin");
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Out.rfind("{\"name\":\"fur\",", 0), 0u) << run.Out;
    for (const char* part : {"\"BlendMode\":1,", "\"BlendDensity\":0.5,", "\"DepthWrite\":false,",
                             "\"Layers\":[{\"Texture\":\"textures\\\\fur\\\\fur\",", "\"LastLayer\":3,",
                             "{\"Layer\":0,\"Style\":5,", "\"LastStep\":1}\n"})
        EXPECT_NE(run.Out.find(part), std::string::npos) << part;
    EXPECT_EQ(run.Out.find("Script"), std::string::npos);
}

// Fonts and shaders need a GL context, so an X display.
class InspectGL : public Inspect {
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY"))
            GTEST_SKIP() << "needs an X display for a GL context";
    }
};

TEST_F(InspectGL, FontPrintsTheTextureSizeAndTheWidthTable)
{
    Root.Write("lcd.bmp", Bmp(32, 16, 24, Gradient));
    Root.Write("lcd.txt", "[FONT_CHARWIDTH]\n08 06\n");
    const ToolRun run = Run("font", "lcd");
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    std::string widths = "8,6";
    for (int code = 2; code < 256; ++code)
        widths += code < 16 ? ",255" : ",0";
    EXPECT_EQ(run.Out, "{\"name\":\"lcd\",\"texture_width\":32,\"texture_height\":16,\"CharWidths\":[" + widths +
                           "],\"BlendStyle\":0,\"FilterMode\":1}\n");
}

// A picture that does not load, a missing material, a font without its width file.
TEST_F(InspectGL, FailuresExitOneWithTheReasonOnStandardError)
{
    Root.Write("cut.tga", Tga(2, 24, 4, 4, "short"));
    Root.Write("bare.bmp", Bmp(32, 16, 24, Gradient));
    // Command, name, how the report starts and what it names.
    const std::array<const char*, 4> cases[] = {
        {"image", "cut", "  ERROR: ZR_IMAGE: ", "cut.tga"},
        {"material", "none", "  ERROR: ZT_FILE: File \"", "none.txt\" not found!"},
        {"font", "bare", "  ERROR: ZT_FILE: File \"", "bare.txt\" not found!"}};
    for (const auto& [command, name, start, reason] : cases) {
        const ToolRun run = Run(command, name);
        EXPECT_EQ(run.ExitCode, 1) << command;
        EXPECT_EQ(run.Out, "") << command;
        EXPECT_EQ(run.Err.rfind(start, 0), 0u) << run.Err;
        EXPECT_NE(run.Err.find(reason), std::string::npos) << run.Err;
    }
}

TEST_F(InspectGL, ShaderPrintsItsKind)
{
    Root.Write("fur.txt", "!!ARBfp1.0\nMOV result.color, fragment.color;\nEND\n");
    const ToolRun run = Run("shader", "fur");
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Out, "{\"name\":\"fur\",\"kind\":\"fragment\",\"loaded\":true}\n");
}

TEST_F(InspectGL, ARejectedShaderEndsWithCodeTwo)
{
    Root.Write("broken.txt", "!!ARBvp1.0\nMOV result.position, nowhere;\nEND\n");
    const ToolRun run = Run("shader", "broken");
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err.rfind("  ERROR: ZT_ERRORSHUTDOWN: Error Code: 2\r\rERROR: Shader \"broken\": line 2", 0), 0u)
        << run.Err;
}
