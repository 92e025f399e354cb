// The engine's log: each line is appended at once to console.txt beside the
// program and handed to every registered listener.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/zot_object.h"

// A receiver of console lines: a procedure called on its object.
using TConsoleProc = void (*)(void* object, const std::string& text);

struct TCallProcAddLine {
    TConsoleProc Proc = nullptr;
    void* Object = nullptr;
};

using TCallProcs = std::vector<TCallProcAddLine>;

class ZOTConsole : public ZOTObject {
public:
    explicit ZOTConsole(ZOTOwner* parent);
    ~ZOTConsole() override;

    void Start(bool enabled);
    void AddLine(std::string_view text);
    void AddEmptyLine();
    void AddSeparator();

    void AddListener(TConsoleProc proc, void* object);
    void RemoveListener(TConsoleProc proc);
    void ClearListeners();

    // Full path of the log file, in engine form.
    std::string LogPath() const;

    std::string FileName = "console";
    TCallProcs Listeners;
    int32_t LastListener = -1;
    bool Enabled = true;
};

// Appends text to the engine's log. Modules can be built without an engine or
// outlive its console while they shut down; they then log nothing.
void LogLine(std::string_view text);
