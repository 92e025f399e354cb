#include "core/zot_timer.h"

#include <regex>

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

TEST_F(FrameTimer, FrameTimeIsClampedNeverZeroAndRunsOnOverMidnight)
{
    // Clock readings, and the frame and elapsed time of the one update they drive.
    const std::pair<std::vector<int64_t>, float> cases[] = {
        {{1000, 4000}, 1.0f}, {{1000, 1000, 1000, 1002}, 0.002f}, {{86399990, 5}, 0.015f}};
    for (const auto& [readings, seconds] : cases) {
        Drive(readings);
        Engine->Timer->Update();
        EXPECT_NEAR(Engine->Timer->GetFrameTime(), seconds, 1e-6f) << readings.back();
        EXPECT_NEAR(Engine->Timer->GetElapsedTime(), seconds, 1e-6f) << readings.back();
    }
    // The reading after midnight counts from midnight's reading, not from the day before.
    Engine->Timer->Update();
    EXPECT_NEAR(Engine->Timer->GetFrameTime(), 0.001f, 1e-6f);
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
    const std::vector<std::string> lines = ConsoleLines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], "FPS: 60");
    EXPECT_TRUE(std::regex_match(lines.back(), std::regex("Resident memory: [1-9][0-9]* KB after 60 frames")))
        << lines.back();
}
