// Frame time, frames per second, running time and a high-resolution stopwatch.
#pragma once

#include <cstdint>
#include <string>

#include "core/zot_object.h"

class ZOTTimer : public ZOTObject {
public:
    // Milliseconds since midnight; replaceable so the frame logic can be driven by hand.
    using ClockSource = int64_t (*)(void* context);

    explicit ZOTTimer(ZOTOwner* parent);

    void Start();
    void Update();
    void Reset();

    float GetFrameTime() const { return FrameTime; }
    float Scaled(float f) const { return FrameTime * f; }
    void AdvanceBy(float& variable) const { variable += FrameTime; }
    void AdvanceByScaled(float& variable, float f) const { variable += FrameTime * f; }
    void RetreatBy(float& variable) const { variable -= FrameTime; }
    void RetreatByScaled(float& variable, float f) const { variable -= FrameTime * f; }
    int32_t GetFPS() const { return FPS; }
    float GetElapsedTime() const { return ElapsedTime; }

    void SetSpeedFactor(float value) { SpeedFactor = value; }
    void SetLogFPS(bool value) { LogFPS = value; }
    void SetTimeScale(float value) { TimeScale = value; }
    void SetMaxFrameTime(float value) { MaxFrameTime = value; }

    void StopwatchStart(int64_t& counter) const;
    float StopwatchSeconds(int64_t counter) const;

    static std::string FormatClock(int32_t hours, int32_t minutes, int32_t seconds);

    // Points the timer at another clock and re-reads it, as construction does.
    void SetClockSource(ClockSource source, void* context);
    // Every update advances by exactly seconds instead of reading the clock,
    // so that frames depend on their count alone; 0 goes back to the clock.
    void SetFixedStep(float seconds);

    float SpeedFactor = 1.0f;
    bool LogFPS = false;
    float TimeScale = 1.0f;
    float MaxFrameTime = 1.0f;
    int32_t FPS = 0;
    int32_t FrameCount = 0;
    int32_t TotalFrames = 0;
    float FrameTime = 0.001f;
    int64_t LastTime = 0;
    int32_t LastSecond = 0;
    float ElapsedTime = 0.0f;
    int32_t Seconds = 0;
    int64_t PerfFrequency = 1;

private:
    ClockSource Clock;
    void* ClockContext = nullptr;
    float FixedStep = 0.0f;
    // Seconds on the fixed-step clock since midnight.
    double FixedClock = 0.0;

    int64_t ReadClock() const { return Clock(ClockContext); }
    float WaitForNextTick();
    float TakeFixedStep();
    void CountFrame(int64_t reading);
    // The frame rate and the resident memory, once a second while LogFPS is on.
    void LogSecond() const;
    void Restart();
};
