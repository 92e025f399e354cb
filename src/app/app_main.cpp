#include "app/app_main.h"

#include "app/app_constant.h"
#include "app/app_gl_scene.h"
#include "core/zot_console.h"
#include "core/zot_file.h"
#include "core/zot_main.h"
#include "core/zot_timer.h"
#include "gl/gl_main.h"
#include "platform/platform_ini.h"
#include "platform/platform_system.h"
#include "platform/platform_window.h"

ZOTApp::ZOTApp(ZOTOwner* parent, platform::Window* window, ZOTWindowTimer* mainLoopTimer)
    : ZOTObject(parent, "ZOT App Main", "ZOTApp"), MainWindow(window), MainLoopTimer(mainLoopTimer)
{
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
    ini.Load(platform::NativePath(path));
    const TAppSettings defaults;
    Settings.Width = ini.ReadInteger("DISPLAY", "Width", defaults.Width);
    Settings.Height = ini.ReadInteger("DISPLAY", "Height", defaults.Height);
    Settings.BPP = ini.ReadInteger("DISPLAY", "BPP", defaults.BPP);
    Settings.Hz = ini.ReadInteger("DISPLAY", "Hz", defaults.Hz);
    Settings.Fullscreen = ini.ReadBool("DISPLAY", "Fullscreen", defaults.Fullscreen);
    Settings.BlurredShadow = ini.ReadBool("PARAMS", "BlurredShadow", defaults.BlurredShadow);
    Settings.RenderShadow = ini.ReadBool("PARAMS", "RenderShadow", defaults.RenderShadow);
    Settings.ButterflyCount = ini.ReadInteger("PARAMS", "ButterflyCount", defaults.ButterflyCount);
    Settings.FurShells = ini.ReadInteger("PARAMS", "FurShells", defaults.FurShells);
    Settings.RenderLawn = ini.ReadBool("PARAMS", "RenderLawn", defaults.RenderLawn);
    Settings.RenderEnvironment = ini.ReadBool("PARAMS", "RenderEnvironment", defaults.RenderEnvironment);
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
    GL->Initialize(MainWindow, "View", 0, 0, Settings.Width, Settings.Height, Settings.BPP, Settings.Hz,
                   Settings.Fullscreen);
    Scene->Initialize();
    if (MainLoopTimer)
        MainLoopTimer->SetEnabled(true);
}

void ZOTApp::MainLoop()
{
    InMainLoop = true;
    CurrentEngine->Timer->Reset();
    for (int32_t passes = 1; !Quit; ++passes) {
        CurrentEngine->Pump();
        GL->RenderFrame();
        if (FrameLimitReached(passes))
            Quit = true;
    }
    InMainLoop = false;
    if (MainWindow)
        MainWindow->RequestClose();
}

void ZOTApp::ShutDown()
{
    ZOTConsole* console = CurrentEngine ? CurrentEngine->Console : nullptr;
    if (console) {
        console->AddEmptyLine();
        console->AddSeparator();
        console->AddLine("Application Layer: Shut down...");
    }
    delete Scene;
    Scene = nullptr;
    if (console) {
        console->AddSeparator();
        console->AddEmptyLine();
    }
    delete GL;
    GL = nullptr;
}
