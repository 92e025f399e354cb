#include "core/zot_timer.h"

#include "core/zot_console.h"
#include "core/zot_constant.h"
#include "core/zot_convert.h"
#include "core/zot_main.h"
#include "platform/platform_clock.h"
#include "platform/platform_system.h"

namespace {

constexpr int64_t kMillisecondsPerDay = 24LL * 60 * 60 * 1000;

int64_t SystemClock(void*) { return platform::TimeOfDayMs(); }

}  // namespace

ZOTTimer::ZOTTimer(ZOTOwner* parent) : ZOTObject(parent, "ZOT Engine Timer", "ZOTTimer"), Clock(SystemClock)
{
    Restart();
}

void ZOTTimer::Restart()
{
    LastTime = ReadClock();
    LastSecond = static_cast<int32_t>(LastTime / 1000);
    FrameTime = 0.001f;
    FPS = 0;
    FrameCount = 0;
    TotalFrames = 0;
    ElapsedTime = 0.0f;
    Seconds = 0;
}

void ZOTTimer::SetClockSource(ClockSource source, void* context)
{
    Clock = source ? source : SystemClock;
    ClockContext = source ? context : nullptr;
    Restart();
}

void ZOTTimer::SetFixedStep(float seconds)
{
    FixedStep = seconds > 0.0f ? seconds : 0.0f;
    FixedClock = static_cast<double>(LastTime) * 0.001;
}

// The clock readings follow the steps, so the frame rate comes out as one
// second's worth of steps.
float ZOTTimer::TakeFixedStep()
{
    FixedClock += FixedStep;
    LastTime = static_cast<int64_t>(FixedClock * 1000.0) % kMillisecondsPerDay;
    return FixedStep;
}

void ZOTTimer::Start()
{
    PerfFrequency = platform::PerfFrequency();
    if (PerfFrequency <= 0)
        PerfFrequency = 1;
    CurrentEngine->Console->AddLine("ZOT Main: Timer Class initialized!");
}

// Spins until the millisecond clock has moved on. A clock that falls back
// (midnight, or a clock set back by hand) counts as having run into the next day.
float ZOTTimer::WaitForNextTick()
{
    for (;;) {
        const int64_t reading = ReadClock();
        if (reading == LastTime)
            continue;
        int64_t step = reading - LastTime;
        if (step < 0)
            step += kMillisecondsPerDay;
        if (step <= 0)
            step = 1;
        LastTime = reading;
        return static_cast<float>(static_cast<double>(step) * 0.001);
    }
}

void ZOTTimer::CountFrame(int64_t reading)
{
    ++FrameCount;
    const int32_t second = static_cast<int32_t>(reading / 1000);
    if (second != LastSecond) {
        FPS = FrameCount;
        FrameCount = 0;
        TotalFrames += FPS;
        ++Seconds;
        if (LogFPS)
            LogSecond();
    }
    LastSecond = second;
}

void ZOTTimer::LogSecond() const
{
    if (!CurrentEngine || !CurrentEngine->Console)
        return;
    ZOTConsole& console = *CurrentEngine->Console;
    console.AddLine("FPS: " + std::to_string(FPS));
    const int64_t resident = platform::ResidentKilobytes();
    if (resident >= 0)
        console.AddLine("Resident memory: " + std::to_string(resident) + " KB after " + std::to_string(TotalFrames) +
                        " frames");
}

void ZOTTimer::Update()
{
    float raw = FixedStep > 0.0f ? TakeFixedStep() : WaitForNextTick();
    if (MaxFrameTime > 0.0f && raw > MaxFrameTime)
        raw = MaxFrameTime;
    FrameTime = raw * SpeedFactor * TimeScale;
    CountFrame(LastTime);
    ElapsedTime += FrameTime;
}

void ZOTTimer::Reset()
{
    Update();
    Update();
}

void ZOTTimer::StopwatchStart(int64_t& counter) const { counter = platform::PerfCounter(); }

float ZOTTimer::StopwatchSeconds(int64_t counter) const
{
    return static_cast<float>(static_cast<double>(platform::PerfCounter() - counter) /
                              static_cast<double>(PerfFrequency));
}

std::string ZOTTimer::FormatClock(int32_t hours, int32_t minutes, int32_t seconds)
{
    const std::string text = ZOTConvert::IntToStrPadded(2, hours) + ":" + ZOTConvert::IntToStrPadded(2, minutes) + ":" +
                             ZOTConvert::IntToStrPadded(2, seconds);
    return CutText(text, kNameLength);
}
