#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

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
