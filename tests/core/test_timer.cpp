#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/zot_console.h"
#include "core/zot_timer.h"
#include "test_support.h"

namespace {

// Hands out scripted clock readings, then keeps ticking one millisecond a read
// so a timer waiting for the clock can never spin for ever.
struct ScriptedClock {
    std::vector<int64_t> Readings;
    size_t Next = 0;
    int64_t Last = 0;

    static int64_t Read(void* context)
    {
        auto* clock = static_cast<ScriptedClock*>(context);
        clock->Last = clock->Next < clock->Readings.size() ? clock->Readings[clock->Next++] : clock->Last + 1;
        return clock->Last;
    }
};

}  // namespace

class FrameTimer : public EngineTest {
protected:
    void Drive(std::vector<int64_t> readings)
    {
        Clock.Readings = std::move(readings);
        Clock.Next = 0;
        Engine->Timer->SetClockSource(ScriptedClock::Read, &Clock);
    }
    ScriptedClock Clock;
};

TEST_F(FrameTimer, LongPassIsClampedToOneSecond)
{
    Drive({1000, 4000});
    Engine->Timer->Update();
    EXPECT_FLOAT_EQ(Engine->Timer->GetFrameTime(), 1.0f);
    EXPECT_FLOAT_EQ(Engine->Timer->GetElapsedTime(), 1.0f);
}

TEST_F(FrameTimer, SameMillisecondWaitsForTheNextTick)
{
    Drive({1000, 1000, 1000, 1002});
    Engine->Timer->Update();
    EXPECT_FLOAT_EQ(Engine->Timer->GetFrameTime(), 0.002f);
}

TEST_F(FrameTimer, MidnightCountsAsTheNextDay)
{
    Drive({86399990, 5, 10});
    Engine->Timer->Update();
    EXPECT_NEAR(Engine->Timer->GetFrameTime(), 0.015f, 1e-6f);
    Engine->Timer->Update();
    EXPECT_NEAR(Engine->Timer->GetFrameTime(), 0.005f, 1e-6f);
}

TEST_F(FrameTimer, ScalingFactorsMultiplyTheFrameTimeBeforeTheClamp)
{
    Drive({1000, 1100});
    Engine->Timer->SetSpeedFactor(2.0f);
    Engine->Timer->SetTimeScale(0.5f);
    Engine->Timer->SetMaxFrameTime(0.05f);
    Engine->Timer->Update();
    EXPECT_FLOAT_EQ(Engine->Timer->GetFrameTime(), 0.05f);
}

TEST_F(FrameTimer, SixtyFramesInASecondReadSixty)
{
    std::vector<int64_t> readings{1000};
    for (int k = 1; k <= 60; ++k)
        readings.push_back(1000 + (k * 1000 + 30) / 60);
    Drive(readings);
    Engine->Timer->SetLogFPS(true);
    for (int k = 1; k < 60; ++k)
        Engine->Timer->Update();
    EXPECT_EQ(Engine->Timer->GetFPS(), 0);
    Engine->Timer->Update();
    EXPECT_EQ(Engine->Timer->GetFPS(), 60);
    EXPECT_EQ(Engine->Timer->TotalFrames, 60);
    EXPECT_EQ(ConsoleLines().back(), "FPS: 60");
}

TEST(FrameTimerText, FormatClockPadsEachField)
{
    EXPECT_EQ(ZOTTimer::FormatClock(7, 59, 0), "07:59:00");
}
