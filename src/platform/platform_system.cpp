#include "platform/platform_system.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <sstream>
#include <string>

#include <malloc.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__) && __has_include(<sanitizer/lsan_interface.h>)
#include <sanitizer/lsan_interface.h>
#define TAMSEL_LEAK_CHECK 1
#endif

namespace platform {

std::string ProgramDir()
{
    char* base = SDL_GetBasePath();
    if (!base)
        return "./";
    std::string dir(base);
    SDL_free(base);
    if (dir.empty() || dir.back() != '/')
        dir += '/';
    return dir;
}

std::string NativePath(std::string_view enginePath)
{
    std::string path(enginePath);
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

std::string EnginePath(std::string_view nativePath)
{
    std::string path(nativePath);
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

void PrintError(std::string_view text)
{
    std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
    std::fflush(stderr);
}

void ShowErrorBox(std::string_view title, std::string_view text)
{
    const std::string titleText(title);
    const std::string bodyText(text);
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, titleText.c_str(), bodyText.c_str(), nullptr) != 0)
        PrintError(bodyText);
}

void ShowCursor(bool show)
{
    SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

// statm holds sizes in pages: the total program size, then the resident part.
int64_t ResidentKilobytes()
{
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    if (!statm)
        return -1;
    long long totalPages = 0, residentPages = 0;
    const bool read = std::fscanf(statm, "%lld %lld", &totalPages, &residentPages) == 2;
    std::fclose(statm);
    const long pageBytes = sysconf(_SC_PAGESIZE);
    if (!read || pageBytes <= 0)
        return -1;
    return residentPages * (pageBytes / 1024);
}

void KeepFreedMemory()
{
    // Blocks up to glibc's largest mmap threshold come from the heap, and the
    // heap's top is only trimmed past a size no frame frees at once.
    constexpr int kHeapBlockLimit = 32 * 1024 * 1024;
    constexpr int kTrimThreshold = 256 * 1024 * 1024;
    constexpr int kTopPad = 16 * 1024 * 1024;
    mallopt(M_MMAP_THRESHOLD, kHeapBlockLimit);
    mallopt(M_TRIM_THRESHOLD, kTrimThreshold);
    mallopt(M_TOP_PAD, kTopPad);
}

double ProcessAgeMilliseconds()
{
    std::FILE* stat = std::fopen("/proc/self/stat", "r");
    if (!stat)
        return -1.0;
    char line[1024];
    const bool read = std::fgets(line, sizeof line, stat) != nullptr;
    std::fclose(stat);
    // The program's name, in parentheses, may hold spaces: fields count from its end.
    const char* afterName = read ? std::strrchr(line, ')') : nullptr;
    if (!afterName)
        return -1.0;
    // Fields 3 to 21 lie between the name and the start time, field 22, in clock ticks since boot.
    constexpr int kFieldsBeforeStartTime = 19;
    std::istringstream fields(afterName + 1);
    std::string skipped;
    for (int i = 0; i < kFieldsBeforeStartTime; ++i)
        fields >> skipped;
    unsigned long long startTicks = 0;
    fields >> startTicks;
    timespec now{};
    const long ticksPerSecond = sysconf(_SC_CLK_TCK);
    if (!fields || ticksPerSecond <= 0 || clock_gettime(CLOCK_BOOTTIME, &now) != 0)
        return -1.0;
    const double sinceBoot = static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
    return sinceBoot - static_cast<double>(startTicks) * 1000.0 / static_cast<double>(ticksPerSecond);
}

void CheckLeaksNow()
{
#ifdef TAMSEL_LEAK_CHECK
    __lsan_do_leak_check();
#endif
}

void ExitProcess(int code)
{
    std::fflush(nullptr);
    std::_Exit(code);
}

}  // namespace platform
