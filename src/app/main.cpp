// The main window and the program entry. The window builds the engine root and
// the application, starts them from its one-shot timer, runs the main loop
// from its main-loop timer and destroys both when it closes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

#include "app/app_constant.h"
#include "app/app_main.h"
#include "core/zot_main.h"
#include "core/zot_timer.h"
#include "math/zot_math.h"
#include "platform/platform_system.h"
#include "platform/platform_window.h"

namespace {

const char* const kUsage =
    "Usage: tamsel [options]\n"
    "  --frames N     quit after N passes of the main loop\n"
    "  --no-dialogs   never open a message box; their texts go to standard error\n"
    "  --log-fps      write the frame rate and the resident memory to console.txt once a second\n"
    "  --seed N       seed the random numbers with N instead of the clock\n"
    "  --texture-units N\n"
    "                 let the hardware check see at most N texture units (for testing)\n"
    "  --time T       start at time of day T, from -1 (midnight) through 0 (noon) to 1\n"
    "  --camera YAW,PITCH,DISTANCE\n"
    "                 start the orbit there (degrees, degrees, units; clamped as the orbit is)\n"
    "  --effect NAME  apply the post-processing program NAME from the start:\n"
    "                 cel, gameboy, heatvision, sepia, tiles, edge or blur\n"
    "  --fixed-step S every pass of the main loop advances time by exactly S seconds\n"
    "  --screenshot-at N\n"
    "                 save a screenshot of pass N, as F5 does\n"
    "  --size W,H     a window of W x H pixels instead of the settings' size\n"
    "  --benchmark N  run the garden unattended: 30 warm-up passes, then N passes with each part\n"
    "                 of the frame timed and N without, the camera orbiting once each time; then\n"
    "                 print the figures as JSON and quit (implies --no-dialogs, --seed 1 and\n"
    "                 --fixed-step 0.02 unless given)\n"
    "  --help         show this text\n";

constexpr uint32_t kBenchmarkSeed = 1;
constexpr float kBenchmarkStep = 0.02f;
constexpr int32_t kLargestSide = 16384;

struct CommandLine {
    int32_t Frames = 0;
    int32_t ScreenshotAt = 0;
    int32_t Benchmark = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    float FixedStep = 0.0f;
    TSceneStart Scene;
    bool NoDialogs = false;
    bool LogFPS = false;
    int32_t TextureUnits = 0;
    bool HasSeed = false;
    uint32_t Seed = 0;
    bool Help = false;
    std::string Unknown;
};

bool ParseNumber(const char* text, long long min, long long max, long long& value)
{
    char* end = nullptr;
    value = std::strtoll(text, &end, 10);
    return end != text && *end == '\0' && value >= min && value <= max;
}

bool ParseFloat(std::string_view text, float min, float max, float& value)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && std::isfinite(value) && value >= min &&
           value <= max;
}

// YAW,PITCH,DISTANCE
bool ParseCamera(std::string_view text, TSceneStart& start)
{
    const size_t first = text.find(','), second = text.find(',', first + 1);
    if (first == std::string_view::npos || second == std::string_view::npos)
        return false;
    constexpr float kAny = 1e6f;
    start.HasCamera = ParseFloat(text.substr(0, first), -kAny, kAny, start.Yaw) &&
                      ParseFloat(text.substr(first + 1, second - first - 1), -kAny, kAny, start.Pitch) &&
                      ParseFloat(text.substr(second + 1), -kAny, kAny, start.Distance);
    return start.HasCamera;
}

// W,H
bool ParseSize(std::string_view text, int32_t& width, int32_t& height)
{
    const size_t comma = text.find(',');
    if (comma == std::string_view::npos)
        return false;
    const std::string sideW(text.substr(0, comma)), sideH(text.substr(comma + 1));
    long long w = 0, h = 0;
    if (!ParseNumber(sideW.c_str(), 1, kLargestSide, w) || !ParseNumber(sideH.c_str(), 1, kLargestSide, h))
        return false;
    width = static_cast<int32_t>(w);
    height = static_cast<int32_t>(h);
    return true;
}

bool ParseEffect(std::string_view name, int32_t& index)
{
    for (int32_t i = 0; i < kPostProcessingCount; ++i) {
        if (name == kPostProcessingPrograms[i]) {
            index = i;
            return true;
        }
    }
    return false;
}

CommandLine ParseCommandLine(int argc, char** argv)
{
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        long long number = 0;
        if (option == "--no-dialogs") {
            line.NoDialogs = true;
        } else if (option == "--log-fps") {
            line.LogFPS = true;
        } else if (option == "--help") {
            line.Help = true;
        } else if (option == "--frames" && i + 1 < argc && ParseNumber(argv[i + 1], 1, INT32_MAX, number)) {
            line.Frames = static_cast<int32_t>(number);
            ++i;
        } else if (option == "--texture-units" && i + 1 < argc && ParseNumber(argv[i + 1], 1, 32, number)) {
            line.TextureUnits = static_cast<int32_t>(number);
            ++i;
        } else if (option == "--seed" && i + 1 < argc && ParseNumber(argv[i + 1], 0, UINT32_MAX, number)) {
            line.HasSeed = true;
            line.Seed = static_cast<uint32_t>(number);
            ++i;
        } else if (option == "--screenshot-at" && i + 1 < argc && ParseNumber(argv[i + 1], 1, INT32_MAX, number)) {
            line.ScreenshotAt = static_cast<int32_t>(number);
            ++i;
        } else if (option == "--fixed-step" && i + 1 < argc && ParseFloat(argv[i + 1], 1e-4f, 1.0f, line.FixedStep)) {
            ++i;
        } else if (option == "--time" && i + 1 < argc && ParseFloat(argv[i + 1], -1.0f, 1.0f, line.Scene.TimeOfDay)) {
            ++i;
        } else if (option == "--camera" && i + 1 < argc && ParseCamera(argv[i + 1], line.Scene)) {
            ++i;
        } else if (option == "--benchmark" && i + 1 < argc && ParseNumber(argv[i + 1], 1, INT32_MAX / 4, number)) {
            line.Benchmark = static_cast<int32_t>(number);
            ++i;
        } else if (option == "--size" && i + 1 < argc && ParseSize(argv[i + 1], line.Width, line.Height)) {
            ++i;
        } else if (option == "--effect" && i + 1 < argc && ParseEffect(argv[i + 1], line.Scene.Effect)) {
            ++i;
        } else {
            line.Unknown = option;
            break;
        }
    }
    if (line.Benchmark > 0) {
        line.NoDialogs = true;
        if (!line.HasSeed) {
            line.HasSeed = true;
            line.Seed = kBenchmarkSeed;
        }
        if (line.FixedStep == 0.0f)
            line.FixedStep = kBenchmarkStep;
    }
    return line;
}

// A window timer as the engine sees it.
class FormTimer : public platform::WindowTimer, public ZOTWindowTimer {
public:
    using platform::WindowTimer::WindowTimer;
    void SetEnabled(bool enabled) override { platform::WindowTimer::SetEnabled(enabled); }
};

class TFormMain : public platform::Window, public ZOTWindow {
public:
    explicit TFormMain(const CommandLine& options) : Options(options)
    {
        StartUpTimer.OnTimer = [this] { StartUpTimerTimer(); };
        Timer.OnTimer = [this] { TimerTimer(); };
        AddTimer(&StartUpTimer);
        AddTimer(&Timer);
    }

    bool Create()
    {
        if (!platform::Window::Create(kAppTitle, kStartWidth, kStartHeight))
            return false;
        FormCreate();
        return true;
    }

    void ProcessMessages() override { platform::Window::ProcessMessages(); }

private:
    CommandLine Options;
    FormTimer StartUpTimer{kStartUpInterval, true};
    FormTimer Timer{kMainLoopInterval, false};
    ZOTEngine* Engine = nullptr;
    ZOTApp* App = nullptr;

    void FormCreate()
    {
        Engine = new ZOTEngine();
        Engine->SetShowErrors(!Options.NoDialogs);
        if (Options.HasSeed)
            Engine->Math->Random->Seed(Options.Seed);
        App = new ZOTApp(this, this, &Timer);
        App->SetFrameLimit(Options.Frames);
        App->SetUnitLimit(Options.TextureUnits);
        App->SetScreenshotPass(Options.ScreenshotAt);
        App->SetSceneStart(Options.Scene);
        App->SetWindowSize(Options.Width, Options.Height);
        if (Options.Benchmark > 0)
            App->SetBenchmark(Options.Benchmark);
    }

    void StartUpTimerTimer()
    {
        Engine->Initialize(this, &StartUpTimer, &Timer);
        Engine->Timer->SetLogFPS(Options.LogFPS);
        Engine->Timer->SetFixedStep(Options.FixedStep);
        App->Initialize();
    }

    void TimerTimer()
    {
        Timer.SetEnabled(false);
        App->MainLoop();
    }

    // A close request while the loop runs ends the loop after its current pass;
    // the loop then asks again.
    bool OnCloseQuery() override
    {
        if (!App || App->MayClose())
            return true;
        App->Quit = true;
        return false;
    }

    void OnClose() override
    {
        DeleteAndClear(App);
        DeleteAndClear(Engine);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    platform::KeepFreedMemory();
    const CommandLine options = ParseCommandLine(argc, argv);
    if (options.Help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (!options.Unknown.empty()) {
        std::fprintf(stderr, "tamsel: unknown option or bad value: %s (try --help)\n", options.Unknown.c_str());
        return 2;
    }
    TFormMain form(options);
    if (!form.Create()) {
        platform::PrintError("tamsel: the window could not be created");
        return 1;
    }
    form.RunMessageLoop();
    // The engine and the application are gone; the window still holds the GL driver.
    platform::CheckLeaksNow();
    return 0;
}
