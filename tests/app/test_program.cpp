#include "program_test_support.h"

#include <algorithm>
#include <cstdlib>

using namespace program_test;

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
        "Initializing Module: ZOT Sound",     "ZOT Sound: BASS Sound System initialized!",
        "ZOT GL: Scene initialized: \"ZOT App Scene\"!",
        "Application Layer: Shut down...",    "ZOT Input: Shut down...",
        "ZOT Sound: Shut down...",            "ZOT Sound: Shutting down BASS",
        "ZOT GL: Shut down...",               "ZOT Main: Shut down..."};
    size_t at = 0;
    for (const std::string& milestone : milestones) {
        at = IndexOf(lines, milestone, at);
        ASSERT_NE(at, std::string::npos) << "missing or out of order: " << milestone;
    }
    EXPECT_EQ(lines.back(), "ZOT Main: ZOT Objects left: 0");
    const auto isGLError = [](const std::string& line) {
        return line.rfind("  ERROR: ZOT_GL: GL Error occurred!", 0) == 0;
    };
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), isGLError), 0);
}

TEST(Program, WithoutASoundDeviceItRunsQuietlyAndSaysWhy)
{
    if (!std::getenv("DISPLAY"))
        GTEST_SKIP() << "needs an X display";
    ProgramCopy program(true);
    // ALSA without a configuration has no device and complains on standard error.
    program.Dir.Write("alsa.conf", "");
    const std::string noDevice = "ALSOFT_DRIVERS=alsa ALSA_CONFIG_PATH='" + program.Dir.File("alsa.conf") + "'";
    const RunResult result = program.Run("--frames 5 --no-dialogs", noDevice);
    EXPECT_EQ(result.ExitCode, 0);
    EXPECT_EQ(result.Output, "");
    const std::vector<std::string> lines = program.Console();
    const size_t failed = IndexOf(lines, "  ERROR: ZOT_Sound: Could not initialize BASS!");
    ASSERT_NE(failed, std::string::npos);
    EXPECT_EQ(lines[failed + 1].rfind("ZOT Sound: ", 0), 0u);
    EXPECT_FALSE(program.Logged("ZOT Sound: BASS Sound System initialized!"));
    EXPECT_TRUE(program.Logged("ZOT Sound: Shutting down BASS", failed));
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
    if (!std::getenv("DISPLAY") || !HasXdotool())
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

TEST(Program, BenchmarkPrintsEveryFigureAsOneJsonObject)
{
    if (!std::getenv("DISPLAY"))
        GTEST_SKIP() << "needs an X display";
    ProgramCopy program(true);
    // The fewest shells that still draw fur, and no lawn: the sanitizer run draws in software.
    program.Dir.Write("tamsel.ini", "[PARAMS]\nFurShells=2\nRenderLawn=0\n");
    const RunResult result = Capture("'" + program.Binary() + "' --benchmark 5 --size 320,240 2>/dev/null");
    ASSERT_EQ(result.ExitCode, 0);
    const std::string& json = result.Output;
    ASSERT_FALSE(json.empty());
    EXPECT_EQ(json.front(), '{');
    EXPECT_EQ(json.substr(json.size() - 2), "}\n");
    EXPECT_EQ(std::count(json.begin(), json.end(), '\n'), 1);
    for (const char* exact : {"\"frames\":5,", "\"width\":320,", "\"height\":240,", "\"pass_times\":\"serialised\""})
        EXPECT_NE(json.find(exact), std::string::npos) << exact;
    const auto figure = [&](const std::string& key) {
        const size_t at = json.find("\"" + key + "\":");
        return at == std::string::npos ? -1.0 : std::strtod(json.c_str() + at + key.size() + 3, nullptr);
    };
    // What a real run cannot give as nothing.
    for (const char* key : {"fps", "fps_unserialised", "median", "p95", "max", "startup_ms", "triangles", "sky", "cat",
                            "fur", "swap"})
        EXPECT_GT(figure(key), 0.0) << key;
    for (const char* key : {"shadow_pass", "ground", "lawn", "butterflies", "props", "interface", "post"})
        EXPECT_GE(figure(key), 0.0) << key;
    EXPECT_TRUE(program.Logged("ZOT Main: ZOT Objects left: 0"));
}
