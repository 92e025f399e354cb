#include "core/zot_main.h"

#include <filesystem>
#include <fstream>

#include "core/script_parser.h"
#include "core/zot_console.h"
#include "core/zot_constant.h"
#include "core/zot_convert.h"
#include "core/zot_file.h"
#include "core/zot_script.h"
#include "core/zot_timer.h"
#include "math/zot_math.h"
#include "platform/platform_system.h"

ZOTEngine* CurrentEngine = nullptr;

namespace {

const char* const kErrorBoxTitle = "Error";
const char* const kLeftoverLine = "ZOT Main: ZOT Objects left: ";

// The console is gone by the time the leftovers can be counted, so the count
// is appended to its file directly, and only to a log the console has begun.
void AppendLeftoverCount(const std::string& logPath, int64_t leftovers)
{
    const std::string path = platform::NativePath(logPath);
    std::error_code error;
    if (logPath.empty() || !std::filesystem::is_regular_file(path, error))
        return;
    std::ofstream(path, std::ios::app) << kLeftoverLine << leftovers << '\n';
}

}  // namespace

ZOTEngine::ZOTEngine(const std::string& appDir) : ZOTObject(nullptr, "ZOT Engine Main", "ZOTEngine")
{
    CurrentEngine = this;
    FileSystem = new ZOTFileSystem(this, appDir);
    Console = new ZOTConsole(this);
    Math = new ZOTMath(this);
    Convert = new ZOTConvert(this);
    Timer = new ZOTTimer(this);
    Script = new ZOTScript(this);
    Parser = new ZOTParser(this);
}

ZOTEngine::~ZOTEngine()
{
    ShutDown();
    const std::string logPath = Console ? Console->LogPath() : std::string();
    DestroyChildren();
    AppendLeftoverCount(logPath, InstanceCount() - 1);
    const std::string report = LeftoverReport(InstanceCount());
    if (ReportLeftovers && !report.empty())
        ShowBox(report);
    if (CurrentEngine == this)
        CurrentEngine = nullptr;
}

namespace {

template <class Module>
void ClearSlot(Module*& slot, const ZOTObject* module)
{
    if (slot && static_cast<const ZOTObject*>(slot) == module)
        slot = nullptr;
}

}  // namespace

void ZOTEngine::ForgetModule(const ZOTObject* module)
{
    ClearSlot(FileSystem, module);
    ClearSlot(Math, module);
    ClearSlot(Convert, module);
    ClearSlot(Console, module);
    ClearSlot(Timer, module);
    ClearSlot(Script, module);
    ClearSlot(Parser, module);
}

void ZOTEngine::Initialize(ZOTWindow* window, ZOTWindowTimer* startUpTimer, ZOTWindowTimer* mainLoopTimer)
{
    MainWindow = window;
    if (startUpTimer)
        startUpTimer->SetEnabled(false);
    Console->Start(true);
    Console->AddSeparator();
    Console->AddLine("ZOT Main: Initializing...");
    Console->AddEmptyLine();
    Console->AddLine("Engine:      ZOT Engine");
    Console->AddLine("Version:     0.0.1.0");
    Console->AddEmptyLine();
    FileSystem->Start();
    Math->Start();
    Convert->Start();
    Timer->Start();
    Script->Start();
    Parser->Start();
    OnInitialize();
    Console->AddSeparator();
    Console->AddEmptyLine();
    MainTimer = mainLoopTimer;
    if (MainTimer)
        MainTimer->SetEnabled(true);
    Initialized = true;
}

void ZOTEngine::Pump()
{
    Timer->Update();
    if (PumpMessages && MainWindow)
        MainWindow->ProcessMessages();
}

void ZOTEngine::Error(std::string_view source, std::string_view message)
{
    const std::string text = CutText(source, kNameLength) + ": " + std::string(message);
    if (ShowErrors)
        platform::ShowErrorBox(kErrorBoxTitle, text);
    if (Console)
        Console->AddLine("  ERROR: " + text);
}

void ZOTEngine::FatalError(int32_t code, std::string_view message)
{
    if (MainTimer)
        MainTimer->SetEnabled(false);
    Error("ZT_ERRORSHUTDOWN", "Error Code: " + std::to_string(code) + "\r\rERROR: " + std::string(message));
    platform::ExitProcess(code);
}

void ZOTEngine::ShutDown()
{
    Console->AddSeparator();
    Console->AddLine("ZOT Main: Shut down...");
    if (MainTimer)
        MainTimer->SetEnabled(false);
    Console->AddSeparator();
    Console->AddEmptyLine();
}

void ZOTEngine::ShowCursor(bool show) { platform::ShowCursor(show); }

void ZOTEngine::ShowBox(const std::string& text) const
{
    if (ShowErrors)
        platform::ShowErrorBox(kErrorBoxTitle, text);
    else
        platform::PrintError(text);
}

void ReportError(std::string_view source, std::string_view message)
{
    if (CurrentEngine)
        CurrentEngine->Error(source, message);
}

std::string LeftoverReport(int64_t instanceCount)
{
    if (instanceCount < 2)
        return std::string();
    return "There are still " + std::to_string(instanceCount - 1) + " instances of ZOT Objects left!";
}
