#include <chrono>
#include <csignal>
#include <cstdio>
#include <functional>
#include <thread>
#include <sys/wait.h>
#include <unistd.h>

#include "test_support.h"

namespace {

namespace fs = std::filesystem;

struct RunResult {
    int ExitCode = -1;
    std::string Output;
};

// What a shell command prints, and its exit code.
RunResult Capture(const std::string& command)
{
    RunResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return result;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe))
        result.Output += buffer;
    const int status = pclose(pipe);
    result.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

// Every wait is bounded, so a program that hangs fails its test instead of the suite.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(30))
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

size_t IndexOf(const std::vector<std::string>& lines, const std::string& line, size_t from = 0)
{
    const auto at = std::find(lines.begin() + std::min(from, lines.size()), lines.end(), line);
    return at == lines.end() ? std::string::npos : static_cast<size_t>(at - lines.begin());
}

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
    // Whether the log holds line at or after index from.
    bool Logged(const std::string& line, size_t from = 0) const
    {
        return IndexOf(Console(), line, from) != std::string::npos;
    }
    // Standard error only.
    RunResult Run(const std::string& arguments) const
    {
        return Capture("'" + Binary() + "' " + arguments + " 2>&1 >/dev/null");
    }
    bool WaitForScene() const
    {
        return WaitUntil([&] { return Logged("ZOT GL: Scene initialized: \"ZOT App Scene\"!"); });
    }

    TempDir Dir;
};

// The program started without a frame limit, as a user would start it; it is
// killed if the test leaves it running.
class RunningProgram {
public:
    explicit RunningProgram(const ProgramCopy& program) : Pid(fork())
    {
        if (Pid == 0) {
            execl(program.Binary().c_str(), "tamsel", "--no-dialogs", static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~RunningProgram()
    {
        if (Running()) {
            kill(Pid, SIGKILL);
            waitpid(Pid, nullptr, 0);
        }
    }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    bool Running()
    {
        if (Pid > 0 && !Reaped && waitpid(Pid, &Status, WNOHANG) == Pid)
            Reaped = true;
        return Pid > 0 && !Reaped;
    }

    // The exit code, or -1 when the program did not end normally in time.
    int WaitForExit()
    {
        return WaitUntil([this] { return !Running(); }) && WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
    }

    const pid_t Pid;
    int Status = 0;
    bool Reaped = false;
};

// The first line xdotool prints, empty when it fails or takes too long.
std::string Xdotool(const std::string& arguments)
{
    const std::string output = Capture("timeout 30 xdotool " + arguments + " 2>/dev/null").Output;
    return output.substr(0, output.find_first_of("\r\n"));
}

}  // namespace

TEST(Program, OptionsAreCheckedBeforeAnythingStarts)
{
    ProgramCopy program(false);
    EXPECT_EQ(program.Run("--help").ExitCode, 0);
    const RunResult unknown = program.Run("--bogus");
    EXPECT_EQ(unknown.ExitCode, 2);
    EXPECT_NE(unknown.Output.find("--bogus"), std::string::npos);
    EXPECT_EQ(program.Run("--frames x").ExitCode, 2);
    EXPECT_FALSE(fs::exists(program.Dir.File("console.txt")));
}

TEST(Program, RunsFramesAndShutsDownInOrder)
{
    if (!std::getenv("DISPLAY"))
        GTEST_SKIP() << "needs an X display";
    ProgramCopy program(true);
    const RunResult result = program.Run("--frames 30 --no-dialogs");
    EXPECT_EQ(result.ExitCode, 0);
    EXPECT_EQ(result.Output, "");
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
    const auto isGLError = [](const std::string& line) {
        return line.rfind("  ERROR: ZOT_GL: GL Error occurred!", 0) == 0;
    };
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), isGLError), 0);
}

TEST(Program, RefusedHardwareEndsThroughTheClosingSequence)
{
    if (!std::getenv("DISPLAY"))
        GTEST_SKIP() << "needs an X display";
    ProgramCopy program(true);
    EXPECT_EQ(program.Run("--texture-units 2 --no-dialogs").ExitCode, 0);
    const size_t refused =
        IndexOf(program.Console(), "  ERROR: ZOTApp: Your graphics card must support at least 3 Texel Units and");
    ASSERT_NE(refused, std::string::npos);
    EXPECT_TRUE(program.Logged("Application Layer: Shut down...", refused));
    EXPECT_TRUE(program.Logged("ZOT Main: Shut down...", refused));
}

TEST(Program, CloseRequestEndsTheLoopThroughTheCloseProtocol)
{
    if (!std::getenv("DISPLAY"))
        GTEST_SKIP() << "needs an X display";
    ProgramCopy program(true);
    RunningProgram running(program);
    ASSERT_TRUE(running.Pid > 0 && program.WaitForScene());
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    // SDL turns a termination request into the window system's quit message.
    kill(running.Pid, SIGTERM);
    EXPECT_EQ(running.WaitForExit(), 0);
    EXPECT_TRUE(program.Logged("Application Layer: Shut down..."));
    EXPECT_TRUE(program.Logged("ZOT Main: Shut down..."));
}

TEST(Program, EscapeQuitsOnlyWhileTheWindowHasTheFocus)
{
    if (!std::getenv("DISPLAY") || std::system("command -v xdotool >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "needs an X display and xdotool";
    ProgramCopy program(true);
    RunningProgram running(program);
    ASSERT_TRUE(running.Pid > 0 && program.WaitForScene());
    // Other tests' programs may have windows of the same name open.
    const std::string window =
        Xdotool("search --sync --all --pid " + std::to_string(running.Pid) + " --name '^Tamsel$'");
    ASSERT_FALSE(window.empty());
    // Without a window manager the focus is only where it is put.
    const std::string root = Xdotool("search --maxdepth 0 --name ''");
    ASSERT_FALSE(root.empty());
    Xdotool("windowfocus --sync " + root);
    Xdotool("key --window " + window + " Escape");
    std::this_thread::sleep_for(std::chrono::seconds(1));
    ASSERT_TRUE(running.Running()) << "a key sent to the window without the focus ended the program";
    Xdotool("windowfocus --sync " + window);
    std::this_thread::sleep_for(std::chrono::seconds(1));
    ASSERT_TRUE(running.Running()) << "a key from before the focus returned ended the program";
    // Without a window manager SDL focuses each window it shows, so a program that
    // another test starts meanwhile can take the focus: focus and key are repeated.
    EXPECT_TRUE(WaitUntil([&] {
        Xdotool("windowfocus --sync " + window);
        Xdotool("key --window " + window + " Escape");
        return WaitUntil([&] { return !running.Running(); }, std::chrono::seconds(2));
    }));
    EXPECT_EQ(running.WaitForExit(), 0);
}
