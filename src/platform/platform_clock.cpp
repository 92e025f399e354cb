#include "platform/platform_clock.h"

#include <SDL.h>

#include <ctime>

namespace platform {

int64_t TimeOfDayMs()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    std::tm local{};
    localtime_r(&now.tv_sec, &local);
    const int64_t seconds = local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
    return seconds * 1000 + now.tv_nsec / 1000000;
}

int64_t PerfCounter() { return static_cast<int64_t>(SDL_GetPerformanceCounter()); }

int64_t PerfFrequency() { return static_cast<int64_t>(SDL_GetPerformanceFrequency()); }

}  // namespace platform
