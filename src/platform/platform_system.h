// Process-level services of the host system: program directory, paths,
// error boxes, the mouse cursor and process exit.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Directory of the running executable, with a trailing '/'.
std::string ProgramDir();

// Turns an engine path (backslash separators) into one the file system takes.
std::string NativePath(std::string_view enginePath);
// Turns a native path into the engine's form (backslash separators).
std::string EnginePath(std::string_view nativePath);

// A modal box with one OK button; returns when the user has closed it. Where
// no box can be shown, the text goes to standard error instead.
void ShowErrorBox(std::string_view title, std::string_view text);

// Writes one message line to standard error.
void PrintError(std::string_view text);

void ShowCursor(bool show);

[[noreturn]] void ExitProcess(int code);

}  // namespace platform
