#include "math/math_random.h"

#include "platform/platform_clock.h"

namespace {

constexpr int32_t kFloatSteps = 100000;

// The time of day alone repeats every day at the same moment; the performance
// counter adds the part that differs between two runs started together.
std::mt19937 ClockSeededGenerator()
{
    const auto timeOfDay = static_cast<uint64_t>(platform::TimeOfDayMs());
    const auto counter = static_cast<uint64_t>(platform::PerfCounter());
    std::seed_seq seed{static_cast<uint32_t>(timeOfDay), static_cast<uint32_t>(counter),
                       static_cast<uint32_t>(counter >> 32)};
    return std::mt19937(seed);
}

}  // namespace

ZMRandom::ZMRandom(ZOTOwner* parent)
    : ZOTObject(parent, "ZOT Engine Math Random", "ZMRandom"), Generator(ClockSeededGenerator())
{
}

float ZMRandom::RandomFloat(float min, float max)
{
    const int32_t k = RandomInt(0, kFloatSteps - 1);
    const double range = static_cast<double>(max) - min;
    return static_cast<float>(min + range * k / kFloatSteps);
}

int32_t ZMRandom::RandomInt(int32_t min, int32_t max)
{
    // The standard distribution is undefined for an empty range.
    if (max <= min)
        return min;
    std::uniform_int_distribution<int32_t> pick(min, max);
    return pick(Generator);
}
