// The engine root: owns the core modules, holds the error and logging
// switches, and offers Error, FatalError and the per-frame Pump.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/zot_object.h"

class ZOTFileSystem;
class ZOTConsole;
class ZOTMath;
class ZOTConvert;
class ZOTTimer;
class ZOTScript;
class ZOTParser;

// What the engine needs of the main window: a way to drain its message queue.
class ZOTWindow : public ZOTOwner {
public:
    virtual void ProcessMessages() = 0;
};

// What the engine needs of the window's timers: switching them on and off.
class ZOTWindowTimer {
public:
    virtual ~ZOTWindowTimer() = default;
    virtual void SetEnabled(bool enabled) = 0;
};

class ZOTEngine : public ZOTObject {
public:
    // appDir is the program directory; empty means the executable's own.
    explicit ZOTEngine(const std::string& appDir = std::string());
    ~ZOTEngine() override;

    void Initialize(ZOTWindow* window, ZOTWindowTimer* startUpTimer, ZOTWindowTimer* mainLoopTimer);
    void Pump();
    void Error(std::string_view source, std::string_view message);
    [[noreturn]] void FatalError(int32_t code, std::string_view message);
    void ShutDown();
    void ShowCursor(bool show);

    void SetShowErrors(bool value) { ShowErrors = value; }
    void SetLogObjects(bool value) { LogObjects = value; }
    void SetReportLeftovers(bool value) { ReportLeftovers = value; }
    void SetPumpMessages(bool value) { PumpMessages = value; }
    void SetMainWindow(ZOTWindow* window) { MainWindow = window; }

    bool ShowErrors = true;
    bool LogObjects = false;
    bool ReportLeftovers = true;
    bool PumpMessages = true;
    ZOTWindowTimer* MainTimer = nullptr;
    ZOTWindow* MainWindow = nullptr;
    bool Initialized = false;

    ZOTFileSystem* FileSystem = nullptr;
    ZOTMath* Math = nullptr;
    ZOTConvert* Convert = nullptr;
    ZOTConsole* Console = nullptr;
    ZOTTimer* Timer = nullptr;
    ZOTScript* Script = nullptr;
    ZOTParser* Parser = nullptr;

protected:
    // Runs at the end of Initialize, after every core module has started.
    virtual void OnInitialize() {}

private:
    // Empties the slot of a module that is being destroyed.
    void ForgetModule(const ZOTObject* module);
    // The leftover report honours ShowErrors too: unattended runs get it on stderr.
    void ShowBox(const std::string& text) const;
    friend class ZOTObject;
};

// The engine root of this process, or none before it is built and after it is gone.
extern ZOTEngine* CurrentEngine;

// The engine's Error for modules that may run without an engine, which then report nothing.
void ReportError(std::string_view source, std::string_view message);

// The text of the leftover report, or empty when nothing but the root is alive.
std::string LeftoverReport(int64_t instanceCount);
