#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/platform_checksum.h"
#include "platform/platform_image.h"
#include "resource/image_test_support.h"
#include "test_support.h"

namespace {

using namespace image_files;

struct ToolRun {
    int ExitCode = -1;
    std::string Out;
    std::string Err;
};

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string Quoted(const std::string& text)
{
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string ToolPath()
{
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "tamsel-inspect").string();
}

std::string Crc(const std::string& bytes)
{
    char text[9];
    std::snprintf(text, sizeof text, "%08x",
                  static_cast<unsigned>(platform::Crc32(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size())));
    return text;
}

}  // namespace

class Inspect : public ::testing::Test {
protected:
    ToolRun Run(const std::string& arguments) const
    {
        const std::string command = Quoted(ToolPath()) + " " + arguments + " >" + Quoted(Output.File("out")) +
                                    " 2>" + Quoted(Output.File("err"));
        const int status = std::system(command.c_str());
        ToolRun run;
        run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.Out = ReadAll(Output.File("out"));
        run.Err = ReadAll(Output.File("err"));
        return run;
    }
    ToolRun InspectImage(const std::string& name) const
    {
        return Run("--root " + Quoted(Root.Path) + " image " + Quoted(name));
    }
    void Put(const std::string& name, const std::string& bytes) const
    {
        std::filesystem::create_directories(std::filesystem::path(Root.File(name)).parent_path());
        Root.Write(name, bytes);
    }

    TempDir Root;
    TempDir Output;
};

TEST_F(Inspect, TgaPrintsTheDataStore)
{
    Put("textures/grass.tga", Tga(2, 32, 1, 2, Pack({1, 2, 3, 4, 5, 6, 7, 8})));
    const ToolRun run = InspectImage("textures\\grass");
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Out, "{\"name\":\"grass\",\"store\":\"data\",\"width\":1,\"height\":2,\"format\":1,"
                       "\"bits_per_pixel\":32,\"crc32\":\"" +
                           Crc(Pack({7, 6, 5, 8, 3, 2, 1, 4})) + "\"}\n");
    EXPECT_EQ(run.Err, "");
    EXPECT_TRUE(std::filesystem::exists(Root.File("console.txt")));
}

TEST_F(Inspect, BmpPrintsTheBitmapRowsTopFirstWithoutPadding)
{
    Put("we\"ird.bmp", Bmp(3, 2, 24, Gradient));
    const ToolRun run = InspectImage("we\"ird");
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Out, "{\"name\":\"we\\\"ird\",\"store\":\"bitmap\",\"width\":3,\"height\":2,\"format\":0,"
                       "\"bits_per_pixel\":24,\"crc32\":\"" +
                           Crc(BgrRows(3, 2, Gradient)) + "\"}\n");
}

TEST_F(Inspect, FailuresGoToStandardErrorWithExitOne)
{
    ToolRun run = InspectImage("textures\\none");
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err, "  ERROR: ZT_FILE: File \"textures\\none\" not found!\n");

    Put("cut.tga", Tga(2, 24, 4, 4, "short"));
    run = InspectImage("cut");
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Err.rfind("  ERROR: ZR_IMAGE: ", 0), 0u) << run.Err;
    EXPECT_NE(run.Err.find("cut.tga"), std::string::npos) << run.Err;
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
    Put("materials/fur.txt", "MATERIAL_NAME \"fur\"\nIMPORT_TEXTURE TEX0 \"textures\\fur\\fur\"\n"
                             "SET_BLENDING ADDITIVE 0.5\nSET_RENDERING STEP1 TEX0 MULTIPLY\n");
    const ToolRun run = Run("--root " + Quoted(Root.Path) + " material " + Quoted("materials\\fur"));
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Out.rfind("{\"name\":\"fur\",", 0), 0u) << run.Out;
    for (const char* part : {"\"BlendMode\":1,", "\"BlendDensity\":0.5,", "\"DepthWrite\":false,",
                             "\"Layers\":[{\"Texture\":\"textures\\\\fur\\\\fur\",", "\"LastLayer\":3,",
                             "{\"Layer\":0,\"Style\":5,", "\"LastStep\":1}\n"})
        EXPECT_NE(run.Out.find(part), std::string::npos) << part;
    EXPECT_EQ(run.Out.find("Script"), std::string::npos);
}

TEST_F(Inspect, MissingMaterialExitsOne)
{
    const ToolRun run = Run("--root " + Quoted(Root.Path) + " material " + Quoted("materials\\none"));
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err.rfind("  ERROR: ZT_FILE: File \"", 0), 0u) << run.Err;
    EXPECT_NE(run.Err.find("materials\\none.txt\" not found!"), std::string::npos) << run.Err;
}

class InspectFont : public Inspect {
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY"))
            GTEST_SKIP() << "needs an X display for the font's GL context";
    }
    ToolRun Font(const std::string& name) const { return Run("--root " + Quoted(Root.Path) + " font " + Quoted(name)); }
};

TEST_F(InspectFont, PrintsTheTextureSizeAndTheWidthTable)
{
    Put("textures/fonts/lcd.bmp", Bmp(32, 16, 24, Gradient));
    Put("textures/fonts/lcd.txt", "[FONT_CHARWIDTH]\n08 06\n");
    const ToolRun run = Font("textures\\fonts\\lcd");
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    std::string widths = "8,6";
    for (int code = 2; code < 256; ++code)
        widths += code < 16 ? ",255" : ",0";
    EXPECT_EQ(run.Out, "{\"name\":\"lcd\",\"texture_width\":32,\"texture_height\":16,\"CharWidths\":[" + widths +
                           "],\"BlendStyle\":0,\"FilterMode\":1}\n");
}

TEST_F(InspectFont, AMissingPartFailsWithExitOne)
{
    ToolRun run = Font("textures\\fonts\\none");
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err.rfind("  ERROR: ZT_FILE: File \"textures\\fonts\\none\" not found!\n", 0), 0u) << run.Err;

    Put("textures/fonts/bare.bmp", Bmp(32, 16, 24, Gradient));
    run = Font("textures\\fonts\\bare");
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_NE(run.Err.find("bare.txt\" not found!"), std::string::npos) << run.Err;
}

class InspectShader : public InspectFont {
protected:
    ToolRun Shader(const std::string& name) const
    {
        return Run("--root " + Quoted(Root.Path) + " shader " + Quoted(name));
    }
};

TEST_F(InspectShader, PrintsTheKindOfEachProgram)
{
    Put("shaders/fur.txt", "!!ARBfp1.0\nMOV result.color, fragment.color;\nEND\n");
    Put("shaders/shells.txt", "!!ARBvp1.0\nMOV result.position, vertex.position;\nEND\n");
    ToolRun run = Shader("shaders\\fur");
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Out, "{\"name\":\"fur\",\"kind\":\"fragment\",\"loaded\":true}\n");
    run = Shader("shaders\\shells");
    EXPECT_EQ(run.Out, "{\"name\":\"shells\",\"kind\":\"vertex\",\"loaded\":true}\n");
}

TEST_F(InspectShader, AnUnknownFormatIsNotLoadedAndARejectedProgramEndsWithCodeTwo)
{
    Put("empty.txt", "");
    ToolRun run = Shader("empty");
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Out, "{\"name\":\"empty\",\"kind\":null,\"loaded\":false}\n");
    EXPECT_EQ(run.Err.rfind("  ERROR: ZR_SHADER: Unknown shader format in file \"", 0), 0u) << run.Err;

    Put("broken.txt", "!!ARBvp1.0\nMOV result.position, nowhere;\nEND\n");
    run = Shader("broken");
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err.rfind("  ERROR: ZT_ERRORSHUTDOWN: Error Code: 2\r\rERROR: Shader \"broken\": line 2", 0), 0u)
        << run.Err;
}
