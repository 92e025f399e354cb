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
#include "ztm.h"

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
    std::string table = "[FONT_CHARWIDTH]\n08 06\n";
    for (int row = 1; row < 16; ++row)
        table += "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n";
    Root.Write("lcd.txt", table);
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

namespace {

// Two joints, "tip" one unit above "root", and one animation, "walk", that
// carries the root from the origin at time 1 to (2,0,0) at time 2 and the tip
// from its rest place to (0,0,4) beyond it, without turning either.
ztm::Model Robot()
{
    ztm::Model model;
    model.Name = "robot";
    model.Levels[0].Vertices = {{{1, 2, 0}}, {{-3, 0, 1}}, {{0, -1, 0.5f}}};
    model.Levels[0].Faces = {ZRMFace{{0, 1, 2}}};
    ZRMGroup body;
    body.Name = "body";
    body.Material = 0;
    body.Faces[0] = {0};
    model.Groups = {body};
    model.Materials.resize(1);
    model.Materials[0].Name = "skin";
    ZRMJoint root, tip;
    root.Name = "root";
    tip.Name = "tip";
    tip.Parent = 0;
    tip.Channel = 1;
    tip.RestPosition = {0, 1, 0};
    model.Joints = {root, tip};
    const std::vector<ZRMKey> still{{1, {}}, {2, {}}};
    ZRMAnimation walk;
    walk.Name = "walk";
    walk.Rate = 2;
    walk.Loop = true;
    walk.Tracks = {{{}, {}, still, {{1, {}}, {2, {2, 0, 0}}}}, {{}, {}, still, {{1, {}}, {2, {0, 0, 4}}}}};
    model.Animations = {walk};
    model.Attachments = {{"hand", 1, {0.5f, 0, 0}}};
    model.BoundingRadius = 4.5f;
    model.UseDisplayLists = true;
    return model;
}

}  // namespace

class InspectModel : public InspectGL {
protected:
    void SetUp() override
    {
        InspectGL::SetUp();
        std::filesystem::create_directory(Root.File("models"));
        ASSERT_TRUE(ztm::Write(Root.File("models/robot.ztm"), Robot()));
    }
    ToolRun Pose(const std::string& animation, const std::string& time) const
    {
        return Run("--root '" + Root.Path + "' pose 'models\\robot' '" + animation + "' '" + time + "'");
    }
};

// The model asks for display lists, so only its enabled level has one.
TEST_F(InspectModel, ModelPrintsItsPartsAndBounds)
{
    const ToolRun run = Run("model", "models\\robot");
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Err, "");
    EXPECT_EQ(run.Out.rfind("{\"name\":\"robot\",\"file\":\"models\\\\robot\",\"empty\":false,", 0), 0u) << run.Out;
    for (const char* part :
         {"\"lods\":[{\"name\":\"Detail\",\"distance\":0,\"enabled\":true,\"vertices\":3,\"faces\":1,"
          "\"display_list\":true},{\"name\":\"Near\",\"distance\":15,\"enabled\":false,\"vertices\":0,\"faces\":0,"
          "\"display_list\":false},",
          "\"groups\":[{\"name\":\"body\",\"material\":0,\"faces\":[1,0,0,0]}],\"materials\":[\"skin\"],",
          "\"joints\":[{\"name\":\"root\",\"parent\":255,\"channel\":0},{\"name\":\"tip\",\"parent\":0,\"channel\":1}],",
          "\"animations\":[{\"name\":\"walk\",\"rate\":2,\"loop\":true,\"length\":2}],",
          "\"attachments\":[{\"name\":\"hand\",\"joint\":1,\"offset\":[0.5,0,0]}],",
          "\"bounding_radius\":4.5,\"half_width\":3,\"top\":2,\"bottom\":1,\"extents\":[3,2,1],"
          "\"use_display_lists\":true}\n"})
        EXPECT_NE(run.Out.find(part), std::string::npos) << part << "\n" << run.Out;
}

// A file cut short inside its last chunk still loads in part, but not cleanly.
TEST_F(InspectModel, AMissingOrDamagedModelExitsOne)
{
    const std::string bytes = ztm::Bytes(Robot());
    Root.Write("models/cut.ztm", bytes.substr(0, bytes.size() - 2));
    const std::array<const char*, 3> cases[] = {{"none", "  ERROR: ZT_FILE: File \"", "none.ztm\" not found!"},
                                                {"cut", "  ERROR: ZR_MODEL: ", "cut.ztm"}};
    for (const auto& [name, start, reason] : cases) {
        const ToolRun run = Run("model", std::string("models\\") + name);
        EXPECT_EQ(run.ExitCode, 1) << name;
        EXPECT_EQ(run.Out, "") << name;
        EXPECT_EQ(run.Err.rfind(start, 0), 0u) << run.Err;
        EXPECT_NE(run.Err.find(reason), std::string::npos) << run.Err;
    }
}

// Halfway between the keys the root stands at (1,0,0) and the tip, one unit
// above it and moved by (0,0,2), at (1,1,2); JointPosition mirrors x.
TEST_F(InspectModel, PosePrintsTheJointsHalfwayBetweenTwoKeys)
{
    for (const char* animation : {"walk", "0"}) {
        const ToolRun run = Pose(animation, "1.5");
        EXPECT_EQ(run.ExitCode, 0) << run.Err;
        EXPECT_EQ(run.Out, "{\"animation\":0,\"time\":1.5,\"joints\":[{\"name\":\"root\",\"position\":[-1,0,0]},"
                           "{\"name\":\"tip\",\"position\":[-1,1,2]}]}\n");
    }
}

TEST_F(InspectModel, PoseRefusesAnUnknownAnimationAndABadTime)
{
    for (const char* animation : {"run", "1"}) {
        const ToolRun run = Pose(animation, "1.5");
        EXPECT_EQ(run.ExitCode, 1) << animation;
        EXPECT_EQ(run.Out, "");
        EXPECT_NE(run.Err.find(std::string("  ERROR: tamsel-inspect: No animation \"") + animation + "\""),
                  std::string::npos)
            << run.Err;
    }
    const ToolRun run = Pose("walk", "1.5s");
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_EQ(run.Err.rfind("usage: tamsel-inspect", 0), 0u) << run.Err;
}
