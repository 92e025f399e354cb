#include "core/zot_console.h"

#include "core/file_file.h"
#include "core/zot_constant.h"
#include "core/zot_file.h"
#include "core/zot_main.h"

namespace {

// Object logging stays off while a line is written: the file object used for
// the write must not log its own life into the line being written.
class ObjectLogPause {
public:
    ObjectLogPause() : Engine(CurrentEngine), Saved(Engine && Engine->LogObjects)
    {
        if (Engine)
            Engine->LogObjects = false;
    }
    ~ObjectLogPause()
    {
        if (Engine)
            Engine->LogObjects = Saved;
    }

private:
    ZOTEngine* Engine;
    bool Saved;
};

ZOTFileSystem* EngineFileSystem() { return CurrentEngine ? CurrentEngine->FileSystem : nullptr; }

}  // namespace

ZOTConsole::ZOTConsole(ZOTOwner* parent) : ZOTObject(parent, "ZOT Engine Console", "ZOTConsole") {}

ZOTConsole::~ZOTConsole() { ClearListeners(); }

std::string ZOTConsole::LogPath() const
{
    ZOTFileSystem* files = EngineFileSystem();
    return files ? files->GetPath().AppDir + FileName + ".txt" : std::string();
}

void ZOTConsole::Start(bool enabled)
{
    Enabled = enabled;
    if (!Enabled)
        return;
    ZOTFileSystem* files = EngineFileSystem();
    if (files) {
        ObjectLogPause pause;
        try {
            files->OpenForWriting(LogPath(), kFileText);
        } catch (const ZOTIOError&) {
            // An unwritable program directory leaves the run without a log file;
            // listeners still receive every line.
        }
    }
    AddLine("Console created!");
    AddEmptyLine();
}

void ZOTConsole::AddLine(std::string_view text)
{
    if (!Enabled)
        return;
    ObjectLogPause pause;
    ZOTFileSystem* files = EngineFileSystem();
    const std::string path = LogPath();
    // A missing log file is not reported: the report would come back here.
    if (files && files->Exists(path, false)) {
        try {
            files->OpenFile(path, kFileText, 1, kFileWrite)->WriteLine(text);
        } catch (const ZOTIOError&) {
            // A line that cannot be written must not take the program down.
        }
    }
    const std::string line(text);
    for (int32_t i = 0; i <= LastListener; ++i) {
        const TCallProcAddLine entry = Listeners[static_cast<size_t>(i)];
        if (entry.Proc)
            entry.Proc(entry.Object, line);
    }
}

void ZOTConsole::AddEmptyLine() { AddLine(kEmptyLine); }

void ZOTConsole::AddSeparator() { AddLine(kSeparatorLine); }

void ZOTConsole::AddListener(TConsoleProc proc, void* object)
{
    ++LastListener;
    Listeners.resize(static_cast<size_t>(LastListener) + 1);
    Listeners.back() = TCallProcAddLine{proc, object};
}

void ZOTConsole::RemoveListener(TConsoleProc proc)
{
    for (TCallProcAddLine& entry : Listeners) {
        if (entry.Proc == proc)
            entry = TCallProcAddLine{};
    }
}

void ZOTConsole::ClearListeners()
{
    Listeners.clear();
    LastListener = -1;
}

void LogLine(std::string_view text)
{
    if (CurrentEngine && CurrentEngine->Console)
        CurrentEngine->Console->AddLine(text);
}
