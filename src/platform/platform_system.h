// Process-level services of the host system: program directory, paths,
// error boxes, the mouse cursor, resident memory and process exit.
#pragma once

#include <cstdint>
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

// The process's resident memory in kilobytes, or -1 where the system does not tell.
int64_t ResidentKilobytes();

// Keeps freed memory in the process's heap. The software renderer allocates
// and frees buffers of several megabytes in every draw; by default the C
// library gives such blocks back to the system at once, and every draw then
// pays for faulting them in again.
void KeepFreedMemory();

// Milliseconds since the process started, or -1 where the system does not tell.
double ProcessAgeMilliseconds();

// In a build with leak checking, checks for leaks now instead of at exit: the
// system's GL driver is unloaded when the window goes, and the blocks it kept
// for the whole run would then count as leaks no report could name.
void CheckLeaksNow();

[[noreturn]] void ExitProcess(int code);

}  // namespace platform
