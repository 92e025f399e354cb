#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "app/app_butterfly.h"
#include "core/zot_main.h"
#include "core/zot_timer.h"
#include "math/math_random.h"
#include "math/zot_math.h"
#include "test_support.h"

namespace {

constexpr float kNear = 1e-4f;

// Butterflies without a model: the flight is the same, only nothing is drawn.
class ButterflyTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        Engine->Math->Random->Seed(1);
    }

    std::unique_ptr<ZAButterfly> Make() { return std::make_unique<ZAButterfly>(nullptr, nullptr); }
    void SetFrameTime(float seconds) { Engine->Timer->FrameTime = seconds; }
};

}  // namespace

TEST_F(ButterflyTest, LeavingTheBoxPastTheRightEdgeTurnsBackAtOnce)
{
    auto butterfly = Make();
    butterfly->Position = {2.0f, 0.3f, 0.0f};
    butterfly->Rotation = {0.0f, 270.0f, 0.0f};
    butterfly->Speed = 1.0f;
    butterfly->Timer = 0.0f;
    SetFrameTime(0.1f);
    butterfly->Update();
    EXPECT_NEAR(butterfly->Position.x, 2.1f, kNear);
    EXPECT_EQ(butterfly->Rotation.y, 90.0f);
    EXPECT_NEAR(butterfly->Timer, 0.1f, kNear) << "leaving the box is no reason to restart the heading timer";
}

TEST_F(ButterflyTest, WithoutTimeNothingMovesButTheHeightIsReset)
{
    auto butterfly = Make();
    const Vector3 start = butterfly->Position;
    const Vector3 heading = butterfly->Rotation;
    const float timer = butterfly->Timer;
    SetFrameTime(0.0f);
    butterfly->Update();
    EXPECT_EQ(start.y, 0.5f);
    EXPECT_EQ(butterfly->Position.x, start.x);
    EXPECT_EQ(butterfly->Position.z, start.z);
    EXPECT_EQ(butterfly->Position.y, 0.3f);
    EXPECT_EQ(butterfly->Rotation.y, heading.y);
    EXPECT_EQ(butterfly->Timer, timer);
}

TEST_F(ButterflyTest, NewHeadingsKeepToTheLimitsLaterOnesWinning)
{
    const struct {
        Vector3 Position;
        float Pitch, Yaw;
    } table[] = {{{0.0f, 0.2f, 0.0f}, 40.0f, -1.0f},  {{0.0f, 1.4f, 0.0f}, -40.0f, -1.0f},
                 {{-2.9f, 0.3f, 0.0f}, -1.0f, 270.0f}, {{1.4f, 0.3f, 0.0f}, -1.0f, 90.0f},
                 {{0.0f, 0.3f, -1.4f}, -1.0f, 180.0f}, {{1.4f, 0.3f, 2.9f}, -1.0f, 0.0f}};
    for (const auto& row : table) {
        auto butterfly = Make();
        butterfly->Position = row.Position;
        butterfly->Rotation = {29.0f, 100.0f, 0.0f};
        butterfly->NewHeading();
        if (row.Pitch != -1.0f) {
            EXPECT_EQ(butterfly->Rotation.x, row.Pitch) << row.Position.y;
        } else {
            EXPECT_LE(std::fabs(butterfly->Rotation.x), 30.0f) << "pitch left unclamped";
        }
        if (row.Yaw != -1.0f) {
            EXPECT_EQ(butterfly->Rotation.y, row.Yaw) << row.Position.x << ", " << row.Position.z;
        }
    }
}

TEST(ButterflyShadow, FallsAwayFromTheSunInProportionToHeight)
{
    const Vector3 overhead = ZAButterfly::ShadowPosition({0.5f, 0.3f, -1.0f}, {0.0f, 1.0f, 0.0f});
    EXPECT_EQ(overhead.x, 0.5f);
    EXPECT_EQ(overhead.y, 0.0f);
    EXPECT_EQ(overhead.z, -1.0f);
    // A sun low in the east (+x) throws the shadow west by 4 x height.
    const Vector3 low = ZAButterfly::ShadowPosition({0.5f, 0.3f, -1.0f}, {1.0f, 0.0f, 0.0f});
    EXPECT_NEAR(low.x, 0.5f - 1.2f, kNear);
    EXPECT_EQ(low.y, 0.0f);
    EXPECT_EQ(low.z, -1.0f);
}

// Many butterflies over a long flight: each starts where it should and stays
// within reach of the garden and at its flying height.
TEST_F(ButterflyTest, LongFlightsStayInTheGarden)
{
    constexpr float kStep = 1.0f / 60.0f;
    SetFrameTime(kStep);
    std::vector<std::unique_ptr<ZAButterfly>> flock;
    for (int i = 0; i < 10; ++i) {
        flock.push_back(Make());
        const ZAButterfly& b = *flock.back();
        EXPECT_TRUE(b.Position.x >= -1.0f && b.Position.x < 1.0f && b.Position.z >= -1.0f && b.Position.z < 1.0f);
        EXPECT_TRUE(b.Rotation.x >= -20.0f && b.Rotation.x < 20.0f && b.Rotation.y >= 0.0f && b.Rotation.y < 360.0f);
        EXPECT_TRUE(b.Speed >= 0.8f && b.Speed < 1.0f && b.Scale >= 0.15f && b.Scale < 0.25f);
        EXPECT_TRUE(b.Timer >= 0.0f && b.Timer < 0.5f);
    }
    // One step beyond an edge is as far as a butterfly gets before it turns.
    const float reach = kStep;
    for (int update = 0; update < 10000; ++update) {
        for (auto& butterfly : flock) {
            butterfly->Update();
            const Vector3& p = butterfly->Position;
            ASSERT_TRUE(p.x >= -2.8f - reach && p.x <= 2.0f + reach && p.z >= -2.0f - reach && p.z <= 2.8f + reach)
                << "update " << update << " at " << p.x << ", " << p.z;
            ASSERT_TRUE(p.y > 0.0f && p.y < 1.5f) << "update " << update << " at height " << p.y;
        }
    }
}
