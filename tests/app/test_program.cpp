#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>
#include <sys/wait.h>

#include "core/zot_constant.h"
#include "test_support.h"

namespace {

struct RunResult {
    int ExitCode = -1;
    std::string ErrorOutput;
};

// Runs a copy of the program in dir, so its console.txt lands there.
RunResult RunProgram(const TempDir& dir, const std::string& arguments)
{
    const std::string binary = dir.File("tamsel");
    std::filesystem::copy_file(TAMSEL_BINARY, binary, std::filesystem::copy_options::overwrite_existing);
    const std::string command = "'" + binary + "' " + arguments + " 2>&1 >/dev/null";
    RunResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return result;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe))
        result.ErrorOutput += buffer;
    const int status = pclose(pipe);
    result.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

}  // namespace

TEST(Program, StartsAndShutsDownCleanly)
{
    TempDir dir;
    const RunResult result = RunProgram(dir, "--no-dialogs");
    EXPECT_EQ(result.ExitCode, 0);
    EXPECT_EQ(result.ErrorOutput, "");
    const std::vector<std::string> lines = ReadTextLines(dir.File("console.txt"));
    ASSERT_GE(lines.size(), 20u);
    EXPECT_EQ(lines[0], "Console created!");
    EXPECT_EQ(lines[3], "ZOT Main: Initializing...");
    const std::vector<std::string> tail(lines.end() - 4, lines.end());
    EXPECT_EQ(tail, (std::vector<std::string>{kSeparatorLine, "ZOT Main: Shut down...", kSeparatorLine, " "}));
}
