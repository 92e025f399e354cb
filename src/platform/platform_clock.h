// Clocks of the host system.
#pragma once

#include <cstdint>

namespace platform {

// Local time of day in milliseconds since midnight.
int64_t TimeOfDayMs();

// The high-resolution counter and its ticks per second.
int64_t PerfCounter();
int64_t PerfFrequency();

}  // namespace platform
