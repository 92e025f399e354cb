// The main window and the program entry. The window builds the engine root and
// the application, starts them from its one-shot timer, runs the main loop
// from its main-loop timer and destroys both when it closes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

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
    "  --log-fps      write the frame rate to console.txt once a second\n"
    "  --seed N       seed the random numbers with N instead of the clock\n"
    "  --texture-units N\n"
    "                 let the hardware check see at most N texture units (for testing)\n"
    "  --help         show this text\n";

struct CommandLine {
    int32_t Frames = 0;
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
        } else {
            line.Unknown = option;
            break;
        }
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
    }

    void StartUpTimerTimer()
    {
        Engine->Initialize(this, &StartUpTimer, &Timer);
        Engine->Timer->SetLogFPS(Options.LogFPS);
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
    return 0;
}
