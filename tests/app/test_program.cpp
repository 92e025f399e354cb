#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>
#include <sys/wait.h>
#include <unistd.h>

#include "core/zot_constant.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;

struct RunResult {
    int ExitCode = -1;
    std::string ErrorOutput;
};

// A copy of the program in a scratch directory, so its console.txt lands there.
class ProgramCopy {
public:
    explicit ProgramCopy(bool withSettings)
    {
        const fs::path binary(TAMSEL_BINARY);
        fs::copy_file(binary, Binary());
        if (withSettings)
            fs::copy_file(binary.parent_path() / "tamsel.ini", Dir.File("tamsel.ini"));
    }

    std::string Binary() const { return Dir.File("tamsel"); }
    std::vector<std::string> Console() const { return ReadTextLines(Dir.File("console.txt")); }

    RunResult Run(const std::string& arguments) const
    {
        const std::string command = "'" + Binary() + "' " + arguments + " 2>&1 >/dev/null";
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

    TempDir Dir;
};

size_t IndexOf(const std::vector<std::string>& lines, const std::string& line, size_t from = 0)
{
    for (size_t i = from; i < lines.size(); ++i) {
        if (lines[i] == line)
            return i;
    }
    return std::string::npos;
}

bool HasDisplay() { return std::getenv("DISPLAY") != nullptr; }

}  // namespace

TEST(Program, OptionsAreCheckedBeforeAnythingStarts)
{
    ProgramCopy program(false);
    EXPECT_EQ(program.Run("--help").ExitCode, 0);
    const RunResult unknown = program.Run("--bogus");
    EXPECT_EQ(unknown.ExitCode, 2);
    EXPECT_NE(unknown.ErrorOutput.find("--bogus"), std::string::npos);
    EXPECT_EQ(program.Run("--frames x").ExitCode, 2);
    EXPECT_FALSE(fs::exists(program.Dir.File("console.txt")));
}

TEST(Program, RunsFramesAndShutsDownInOrder)
{
    if (!HasDisplay())
        GTEST_SKIP() << "needs an X display";
    ProgramCopy program(true);
    const RunResult result = program.Run("--frames 30 --no-dialogs");
    EXPECT_EQ(result.ExitCode, 0);
    EXPECT_EQ(result.ErrorOutput, "");
    const std::vector<std::string> lines = program.Console();
    const std::vector<std::string> milestones = {
        "ZOT Main: Initializing...",          "ZOT Main: Script Parser Class initialized!",
        "Application Layer: Initializing...", "Initializing Module: ZOT GL",
        "ZOT GL: Rendering Context created!", "ZOT GL: Initializing sub systems...",
        "ZOT GL: Camera initialized!",        "ZOT GL: Scene Engine initialized!",
        "ZOT GL: Scene initialized: \"ZOT App Scene\"!",
        "Application Layer: Shut down...",    "ZOT GL: Shut down...",
        "ZOT Main: Shut down..."};
    size_t at = 0;
    for (const std::string& milestone : milestones) {
        at = IndexOf(lines, milestone, at);
        ASSERT_NE(at, std::string::npos) << "missing or out of order: " << milestone;
    }
    EXPECT_EQ(lines.back(), " ");
    EXPECT_EQ(IndexOf(lines, "  ERROR: ZOT_GL: GL Error occurred!"), std::string::npos);
}

TEST(Program, MissingSettingsAreReportedAndDefaultsUsed)
{
    if (!HasDisplay())
        GTEST_SKIP() << "needs an X display";
    ProgramCopy program(false);
    const RunResult result = program.Run("--frames 3 --no-dialogs");
    EXPECT_EQ(result.ExitCode, 0);
    std::string path = program.Dir.File("tamsel.ini");
    for (char& c : path)
        c = c == '/' ? '\\' : c;
    const std::vector<std::string> lines = program.Console();
    EXPECT_NE(IndexOf(lines, "  ERROR: ZT_FILE: File \"" + path + "\" not found!"), std::string::npos);
    EXPECT_NE(IndexOf(lines, "ZOT Main: Shut down..."), std::string::npos);
}

TEST(Program, CloseRequestEndsTheLoopThroughTheCloseProtocol)
{
    if (!HasDisplay())
        GTEST_SKIP() << "needs an X display";
    ProgramCopy program(true);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        execl(program.Binary().c_str(), "tamsel", "--no-dialogs", static_cast<char*>(nullptr));
        _exit(127);
    }
    // SDL turns a termination request into the window system's quit message.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (IndexOf(program.Console(), "ZOT GL: Scene initialized: \"ZOT App Scene\"!") == std::string::npos &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    kill(child, SIGTERM);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    const std::vector<std::string> lines = program.Console();
    EXPECT_NE(IndexOf(lines, "Application Layer: Shut down..."), std::string::npos);
    EXPECT_NE(IndexOf(lines, "ZOT Main: Shut down..."), std::string::npos);
}
