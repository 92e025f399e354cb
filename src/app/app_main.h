// The application object: reads the settings, starts the GL module and the
// scene, runs the blocking main loop and takes everything down in order.
#pragma once

#include <cstdint>
#include <memory>

#include "app/app_benchmark.h"
#include "app/app_gl_scene.h"
#include "core/zot_object.h"

class ZOTGL;
class ZOTInput;
class ZOTSound;
class ZOTWindowTimer;

namespace platform {
class Window;
}

struct TAppSettings {
    int32_t Width = 640;
    int32_t Height = 480;
    int32_t BPP = 32;
    int32_t Hz = 60;
    bool Fullscreen = true;
    TSceneParams Params;
};

class ZOTApp : public ZOTObject {
public:
    // parent is the main window; mainLoopTimer is the window's main-loop timer.
    ZOTApp(ZOTOwner* parent, platform::Window* window, ZOTWindowTimer* mainLoopTimer);
    ~ZOTApp() override;

    void ReadSettings();
    void Initialize();
    void MainLoop();
    void ShutDown();

    // The window may close only when the loop is not running: the loop itself
    // asks again once it has ended.
    bool MayClose() const { return Quit && !InMainLoop; }

    // Ends the loop after that many passes; 0 runs until quit.
    void SetFrameLimit(int32_t passes) { FrameLimit = passes; }
    // The hardware check sees at most this many texture units; 0 means what the driver has.
    void SetUnitLimit(int32_t units) { UnitLimit = units; }
    // Takes a screenshot of that pass's frame as the Screenshot action does; 0 never.
    void SetScreenshotPass(int32_t pass) { ScreenshotPass = pass; }
    // Where the scene starts, once it is built.
    void SetSceneStart(const TSceneStart& start) { SceneStart = start; }
    // A window of this size instead of the settings' one; 0 keeps the settings.
    void SetWindowSize(int32_t width, int32_t height);
    // Runs the benchmark with that many measured passes and prints its report
    // on standard output; the frame limit becomes the benchmark's.
    void SetBenchmark(int32_t measuredPasses);

    TAppSettings Settings;
    bool Quit = false;
    ZOTInput* Input = nullptr;
    ZOTSound* Sound = nullptr;
    ZOTGL* GL = nullptr;
    ZAGLScene* Scene = nullptr;

private:
    platform::Window* MainWindow;
    ZOTWindowTimer* MainLoopTimer;
    int32_t FrameLimit = 0;
    int32_t UnitLimit = 0;
    int32_t ScreenshotPass = 0;
    TSceneStart SceneStart;
    int32_t WindowWidth = 0;
    int32_t WindowHeight = 0;
    std::unique_ptr<ZABenchmark> Benchmark;
    bool InMainLoop = false;

    void LogBanner();
    void BindActions();
    void ShowLoadingPicture();
    bool HardwareSufficient() const;
    void RefuseHardware();
    bool FrameLimitReached(int32_t passes) const { return FrameLimit > 0 && passes >= FrameLimit; }
    void RunPass(int32_t pass);
};
