#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "core/zot_timer.h"
#include "resource/resource_animation.h"
#include "resource/resource_model.h"
#include "test_support.h"
#include "ztm.h"

// A model with animations "once" (length 1, no keys), "walk" (length 3,
// looping) and "wave" (length 3), played at frame steps of 0.3 key units.
class AnimationPlayback : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        ztm::Model written;
        written.Joints.resize(1);
        ZRMAnimation once;
        once.Name = "once";
        ZRMAnimation walk;
        walk.Name = "walk";
        walk.Loop = true;
        walk.Tracks.resize(1);
        walk.Tracks[0].PositionKeys = {{1.0f, {}}, {3.0f, {}}};
        ZRMAnimation wave = walk;
        wave.Name = "wave";
        wave.Loop = false;
        written.Animations = {once, walk, wave};
        std::filesystem::create_directories(Dir.File("models"));
        ASSERT_TRUE(ztm::Write(Dir.File("models/moving.ztm"), written));
        Model = std::make_unique<ZRModel>(nullptr, "models\\moving");
        Engine->Timer->FrameTime = 0.03f;
    }
    void TearDown() override
    {
        Model.reset();
        EngineTest::TearDown();
    }

    std::unique_ptr<ZRModel> Model;
    ZRAnimation Playback;
};

TEST_F(AnimationPlayback, ForwardLoopsWrapBySpanAndOthersStopAtTheirEnd)
{
    Playback.Play(Model.get(), 1);
    Playback.Time = 2.9f;
    Playback.Update();
    EXPECT_NEAR(Playback.Time, 1.2f, 1e-5f);
    EXPECT_TRUE(Playback.IsPlaying());

    Playback.Play(Model.get(), 2);
    Playback.Time = 2.9f;
    Playback.Update();
    EXPECT_EQ(Playback.Time, 3.0f);
    EXPECT_FALSE(Playback.IsPlaying());

    Playback.Play(Model.get(), 0);
    EXPECT_EQ(Playback.Time, 1.0f);
    Playback.Update();
    EXPECT_FALSE(Playback.IsPlaying());
}

TEST_F(AnimationPlayback, BackwardPlayStartsAtTheEndAndStopsAtOne)
{
    Playback.Start(Model.get(), 2, false, 1.0f, ZRAnimation::kBackward, ZRAnimation::kStartByDirection);
    EXPECT_EQ(Playback.Time, 3.0f);
    Playback.Time = 1.1f;
    Playback.Update();
    EXPECT_EQ(Playback.Time, 1.0f);
    EXPECT_FALSE(Playback.IsPlaying());

    Playback.Start(Model.get(), 1, true, 1.0f, ZRAnimation::kBackward, ZRAnimation::kStartByDirection);
    Playback.Time = 1.1f;
    Playback.Update();
    EXPECT_NEAR(Playback.Time, 2.8f, 1e-5f);
}

TEST_F(AnimationPlayback, StartTimesAndIndicesOutsideTheModel)
{
    Playback.Start(Model.get(), 1, false, 2.0f, ZRAnimation::kForward, 0.5f);
    EXPECT_EQ(Playback.Time, 0.5f);
    EXPECT_EQ(Playback.PlaybackSpeed, 20.0f);
    Playback.Start(Model.get(), 1, false, 1.0f, ZRAnimation::kForward, ZRAnimation::kStartAtEnd);
    EXPECT_EQ(Playback.Time, 3.0f);
    Playback.Start(Model.get(), 1, false, 1.0f, ZRAnimation::kBackward, ZRAnimation::kStartAtBeginning);
    EXPECT_EQ(Playback.Time, 1.0f);

    for (int32_t index : {-1, 3}) {
        Playback.Start(Model.get(), index, true, 1.0f, ZRAnimation::kForward, 2.0f);
        Playback.Play(nullptr, 0);
        EXPECT_EQ(Playback.AnimationIndex, 1);
        EXPECT_EQ(Playback.Time, 1.0f);
    }
}

TEST_F(AnimationPlayback, RebindFindsTheAnimationByNameAndAnUndefinedDirectionIsReported)
{
    Playback.Play(Model.get(), 2);
    Playback.Time = 2.0f;
    Playback.Reset();
    EXPECT_EQ(Playback.AnimationIndex, 2);
    EXPECT_EQ(Playback.Time, 1.0f);
    Playback.AnimationName = "gone";
    Playback.Reset();
    EXPECT_FALSE(Playback.HasAnimation());

    Playback.Play(Model.get(), 1);
    Playback.Direction = 5;
    Playback.Update();
    Playback.Update();
    EXPECT_EQ(Playback.Time, 1.0f);
    EXPECT_EQ(LogCount("  ERROR: ZC_Animation: Undefined animation playback direction!"), 2);
}
