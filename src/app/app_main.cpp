#include "app/app_main.h"

#include <cstdio>

#include "app/app_constant.h"
#include "app/app_gl_scene.h"
#include "core/zot_console.h"
#include "core/zot_file.h"
#include "core/zot_main.h"
#include "core/zot_timer.h"
#include "gl/gl_2D.h"
#include "gl/gl_2D_screen.h"
#include "gl/gl_main.h"
#include "gl/gl_shaderengine.h"
#include "gl/gl_textureengine.h"
#include "input/input_main.h"
#include "input/input_mouse.h"
#include "platform/platform_ini.h"
#include "platform/platform_input.h"
#include "platform/platform_system.h"
#include "platform/platform_window.h"
#include "sound/sound_main.h"

namespace {

struct TActionBinding {
    const char* Name;
    const char* Group;
    int32_t Code1;
    int32_t Code2;
};

constexpr const char* kInteraction = "Interaction";
constexpr const char* kSettingsSource = "ZOTApp";

// The order is part of the contract: actions are found by name, first match wins.
const TActionBinding kActionBindings[] = {
    {"Quit", "", platform::DIK_ESCAPE, kNoInput},
    {"Click", kInteraction, kMouseCodes + 0, kNoInput},
    {"Zoom In", kInteraction, kMouseCodes + ZIMouse::kWheelForward, kNoInput},
    {"Zoom Out", kInteraction, kMouseCodes + ZIMouse::kWheelBackward, kNoInput},
    {"Time Increase", kInteraction, platform::DIK_S, kNoInput},
    {"Time Decrease", kInteraction, platform::DIK_A, kNoInput},
    {"Display Fur", kInteraction, platform::DIK_F, kNoInput},
    {"Display Base Model", kInteraction, platform::DIK_B, kNoInput},
    {"Apply PP Shader", kInteraction, platform::DIK_P, kNoInput},
    {"Next PP Shader", kInteraction, platform::DIK_RBRACKET, platform::DIK_ADD},
    {"Last PP Shader", kInteraction, platform::DIK_SLASH, platform::DIK_SUBTRACT},
    {"Camera Light", kInteraction, platform::DIK_C, kNoInput},
    {"Screenshot", kInteraction, platform::DIK_F5, kNoInput},
    {"Display FPS", kInteraction, platform::DIK_F4, kNoInput},
    {"Move Left", kInteraction, platform::DIK_LEFT, kNoInput},
    {"Move Right", kInteraction, platform::DIK_RIGHT, kNoInput},
};

}  // namespace

ZOTApp::ZOTApp(ZOTOwner* parent, platform::Window* window, ZOTWindowTimer* mainLoopTimer)
    : ZOTObject(parent, "ZOT App Main", "ZOTApp"), MainWindow(window), MainLoopTimer(mainLoopTimer)
{
    Input = new ZOTInput(this);
    Sound = new ZOTSound(this);
    GL = new ZOTGL(this);
    Scene = new ZAGLScene(this);
}

ZOTApp::~ZOTApp() { ShutDown(); }

void ZOTApp::ReadSettings()
{
    ZOTFileSystem* files = CurrentEngine->FileSystem;
    const std::string path = files->GetPath().AppDir + kSettingsFile;
    // A missing file is reported, and every setting keeps its default.
    if (!files->Exists(path, true))
        return;
    platform::IniFile ini;
    if (!ini.Load(platform::NativePath(path))) {
        CurrentEngine->Error(kSettingsSource, "Can't read settings file \"" + path + "\"");
        return;
    }
    if (ini.FirstBadLine() > 0)
        CurrentEngine->Error(kSettingsSource, "Settings file \"" + path + "\": line " +
                                                  std::to_string(ini.FirstBadLine()) + " is not a setting");
    const TAppSettings defaults;
    Settings.Width = ini.ReadInteger("DISPLAY", "Width", defaults.Width);
    Settings.Height = ini.ReadInteger("DISPLAY", "Height", defaults.Height);
    Settings.BPP = ini.ReadInteger("DISPLAY", "BPP", defaults.BPP);
    Settings.Hz = ini.ReadInteger("DISPLAY", "Hz", defaults.Hz);
    Settings.Fullscreen = ini.ReadBool("DISPLAY", "Fullscreen", defaults.Fullscreen);
    TSceneParams& params = Settings.Params;
    const TSceneParams& fallback = defaults.Params;
    params.BlurredShadow = ini.ReadBool("PARAMS", "BlurredShadow", fallback.BlurredShadow);
    params.RenderShadow = ini.ReadBool("PARAMS", "RenderShadow", fallback.RenderShadow);
    params.ButterflyCount = ini.ReadInteger("PARAMS", "ButterflyCount", fallback.ButterflyCount);
    params.FurShells = ini.ReadInteger("PARAMS", "FurShells", fallback.FurShells);
    params.RenderLawn = ini.ReadBool("PARAMS", "RenderLawn", fallback.RenderLawn);
    params.RenderEnvironment = ini.ReadBool("PARAMS", "RenderEnvironment", fallback.RenderEnvironment);
}

void ZOTApp::SetWindowSize(int32_t width, int32_t height)
{
    WindowWidth = width;
    WindowHeight = height;
}

void ZOTApp::SetBenchmark(int32_t measuredPasses)
{
    Benchmark = std::make_unique<ZABenchmark>(measuredPasses);
    FrameLimit = Benchmark->TotalPasses();
}

void ZOTApp::LogBanner()
{
    ZOTConsole* console = CurrentEngine->Console;
    console->AddSeparator();
    console->AddLine("Application Layer: Initializing...");
    console->AddEmptyLine();
    console->AddLine("Application: Tamsel");
    console->AddLine("Version:     0.1.0.0");
    console->AddSeparator();
    console->AddEmptyLine();
}

void ZOTApp::Initialize()
{
    if (MainWindow) {
        MainWindow->SetClientSize(kStartWidth, kStartHeight);
        MainWindow->Center();
    }
    if (MainLoopTimer)
        MainLoopTimer->SetEnabled(false);
    LogBanner();
    ReadSettings();
    if (WindowWidth > 0 && WindowHeight > 0) {
        Settings.Width = WindowWidth;
        Settings.Height = WindowHeight;
        Settings.Fullscreen = false;
    }
    GL->Initialize(MainWindow, "View", 0, 0, Settings.Width, Settings.Height, Settings.BPP, Settings.Hz,
                   Settings.Fullscreen);
    ShowLoadingPicture();
    Input->Start(MainWindow, true, true, false);
    Sound->Start(MainWindow, true, kMaxPlaybacks, kMasterVolume, kOutputRate, true, false);
    BindActions();
    Scene->Params = Settings.Params;
    Scene->Initialize();
    Scene->Start(SceneStart);
    if (!HardwareSufficient()) {
        RefuseHardware();
        return;
    }
    if (MainLoopTimer)
        MainLoopTimer->SetEnabled(true);
}

// The picture stays on screen while the rest of start-up loads.
void ZOTApp::ShowLoadingPicture()
{
    GL->System2D->Screen->ShowPicture("textures\\interface\\loading", Color3{1.0f, 1.0f, 1.0f});
    GL->SwapFrame();
}

bool ZOTApp::HardwareSufficient() const
{
    int32_t highestUnit = GL->TextureEngine->MaxUnit;
    if (UnitLimit > 0 && highestUnit > UnitLimit - 1)
        highestUnit = UnitLimit - 1;
    return highestUnit >= 2 && GL->ShaderEngine->FragmentProgramsSupported;
}

void ZOTApp::RefuseHardware()
{
    CurrentEngine->Error("ZOTApp", "Your graphics card must support at least 3 Texel Units and\n\r"
                                   "the ARB_fragment_program extension to run this application!");
    Quit = true;
    if (MainWindow)
        MainWindow->RequestClose();
}

void ZOTApp::BindActions()
{
    for (const TActionBinding& action : kActionBindings)
        Input->BindTwo(action.Name, action.Group, action.Code1, action.Code2);
}

void ZOTApp::MainLoop()
{
    InMainLoop = true;
    CurrentEngine->Timer->Reset();
    for (int32_t passes = 1; !Quit; ++passes) {
        if (!Benchmark) {
            RunPass(passes);
        } else {
            int64_t started = 0;
            CurrentEngine->Timer->StopwatchStart(started);
            Benchmark->BeforePass(passes, *Scene, *GL);
            RunPass(passes);
            Benchmark->AfterPass(passes, CurrentEngine->Timer->StopwatchSeconds(started), *GL);
        }
        if (Input->IsDown("Quit") || FrameLimitReached(passes))
            Quit = true;
    }
    InMainLoop = false;
    // Only a benchmark that ran to its end has a report to give.
    if (Benchmark && Benchmark->Complete())
        std::fputs(Benchmark->Report(*GL).c_str(), stdout);
    if (MainWindow)
        MainWindow->RequestClose();
}

void ZOTApp::RunPass(int32_t pass)
{
    CurrentEngine->Pump();
    // Without the focus, every action keeps the state of its last update.
    if (MainWindow && MainWindow->HasFocus())
        Input->Update();
    Sound->Update();
    // The frame is captured while the back buffer holds it: reading a
    // window back after it is presented is not reliable everywhere.
    if (Input->Pressed("Screenshot") || pass == ScreenshotPass)
        GL->BeforePresent = [this] { Scene->TakeScreenshot(); };
    GL->RenderFrame();
    GL->BeforePresent = nullptr;
}

void ZOTApp::ShutDown()
{
    ZOTConsole* console = CurrentEngine ? CurrentEngine->Console : nullptr;
    if (console) {
        console->AddEmptyLine();
        console->AddSeparator();
        console->AddLine("Application Layer: Shut down...");
    }
    DeleteAndClear(Scene);
    if (console) {
        console->AddSeparator();
        console->AddEmptyLine();
    }
    DeleteAndClear(Input);
    DeleteAndClear(Sound);
    DeleteAndClear(GL);
}
