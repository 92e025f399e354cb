#include <gtest/gtest.h>

#include "resource/resource_sound.h"
#include "sound/sound_test_support.h"

namespace {

// An audio library that reports another version than the module needs.
class OtherVersionAudio : public platform::AudioSystem {
public:
    uint32_t Version() const override { return platform::MakeAudioVersion(1, 0); }
};

void ExpectVector(const platform::AudioVector& v, float x, float y, float z)
{
    EXPECT_NEAR(v[0], x, 1e-5f);
    EXPECT_NEAR(v[1], y, 1e-5f);
    EXPECT_NEAR(v[2], z, 1e-5f);
}

}  // namespace

TEST_F(SoundTest, StartsTheOutputAndPlacesTheListenerFacingBackwards)
{
    StartAsTheApplication();
    ASSERT_TRUE(Sound->Audio->Ready());
    EXPECT_TRUE(Logged("  ERROR: ZOT_Sound: Could not find a Device handle!"));
    EXPECT_TRUE(Logged("ZOT Sound: BASS Sound System initialized!"));
    EXPECT_EQ(Sound->SampleFlags, 136u);
    EXPECT_EQ(Sound->Audio->GetVolume(), 100);

    Sound->Update();
    platform::ListenerPlacement placement;
    ASSERT_TRUE(Sound->Audio->Get3DPosition(placement));
    ExpectVector(placement.Position, 0, 0, 0);
    ExpectVector(placement.Front, 0, 0, 1);
    ExpectVector(placement.Top, 0, 1, 0);

    Sound->KeepListenerYaw = true;
    Sound->ListenerPosition = {1, 2, 3};
    Sound->Update();
    ASSERT_TRUE(Sound->Audio->Get3DPosition(placement));
    ExpectVector(placement.Position, 1, 2, 3);
    ExpectVector(placement.Front, 0, 0, -1);
    ExpectVector(placement.Top, 0, 1, 0);
}

TEST_F(SoundTest, AnotherLibraryVersionIsReportedAndTheOutputStillOpens)
{
    Sound->Audio = std::make_unique<OtherVersionAudio>();
    StartAsTheApplication();
    EXPECT_TRUE(Logged("  ERROR: ZOT_Sound: BASS not loaded!"));
    EXPECT_TRUE(Logged("ZOT Sound: BASS Sound System initialized!"));
    EXPECT_TRUE(Sound->Audio->Ready());
}

TEST_F(SoundTest, VolumeIsTheListenersGain)
{
    StartAsTheApplication();
    Sound->SetVolume(0.5f);
    EXPECT_EQ(Sound->Volume, 0.5f);
    EXPECT_EQ(Sound->Audio->GetVolume(), 50);
    Sound->SetVolume(0.004f);
    EXPECT_EQ(Sound->Audio->GetVolume(), 0);
}

TEST_F(SoundTest, ASampleNeverSoundsMoreOftenThanItsPlaybackLimit)
{
    ASSERT_TRUE(WriteTone("tone.wav", 3.0f));
    Sound->Start(nullptr, true, 2, 1.0f, 44100, true, false);
    ZRSound tone("tone");
    ASSERT_TRUE(tone.IsLoaded());
    platform::SampleInfo info;
    ASSERT_TRUE(Sound->Audio->SampleGetInfo(tone.Sample, info));
    EXPECT_EQ(info.MinDistance, 10.0f);
    EXPECT_EQ(info.MaxDistance, 50.0f);
    EXPECT_EQ(info.MaxPlaybacks, 2u);

    for (int play = 0; play < 3; ++play)
        EXPECT_TRUE(tone.Play());
    EXPECT_EQ(tone.PlayingCount(), 2);

    // Without taking over the oldest playback, the third is refused.
    Sound->SampleFlags &= ~platform::kSampleOverOldest;
    tone.LoadFromFile("tone");
    EXPECT_TRUE(tone.Play());
    EXPECT_TRUE(tone.Play());
    EXPECT_FALSE(tone.Play());
    EXPECT_EQ(tone.PlayingCount(), 2);
}

TEST_F(SoundTest, WithoutAnOutputEveryCallIsHarmlessAndSilent)
{
    ASSERT_TRUE(WriteTone("tone.wav", 0.1f));
    // No device takes a rate of 0, as none would be found on a machine without sound.
    Sound->Start(nullptr, true, 32, 1.0f, 0, true, false);
    EXPECT_TRUE(Logged("  ERROR: ZOT_Sound: Could not initialize BASS!"));
    EXPECT_FALSE(Logged("ZOT Sound: BASS Sound System initialized!"));
    const size_t linesAfterStart = ConsoleLines().size();

    Sound->Update();
    Sound->SetVolume(0.5f);
    EXPECT_EQ(Sound->Audio->GetVolume(), -1);
    ZRSound tone("tone");
    EXPECT_FALSE(tone.IsLoaded());
    EXPECT_FALSE(tone.Play());
    // Only the resource's own line follows: no error for each call.
    EXPECT_EQ(ConsoleLines().size(), linesAfterStart + 1);
}

TEST_F(SoundTest, RemovingTheSoundsOfAnOwnerLeavesTheOthers)
{
    StartAsTheApplication();
    ZOTObject first(nullptr, "first", "ZOTObject");
    ZOTObject second(nullptr, "second", "ZOTObject");
    for (ZOTObject* owner : {&first, &second, &first, &second})
        Sound->AddSound(new ZRSound("", owner));
    ZRSound* kept = Sound->Sounds.Items[1];

    Sound->RemoveSoundsOf(&first);
    ASSERT_EQ(Sound->Sounds.Last, 1);
    EXPECT_EQ(Sound->Sounds.Items[0], kept);
    EXPECT_EQ(first.LastChildIndex(), -1);
    EXPECT_EQ(second.LastChildIndex(), 1);

    // A sound its owner destroys leaves the module's list.
    delete kept;
    ASSERT_EQ(Sound->Sounds.Last, 0);

    Sound->AddSound(new ZRSound("", &first));
    Sound->RemoveSoundsOf(Sound.get());
    EXPECT_EQ(Sound->Sounds.Last, -1);
    EXPECT_TRUE(Sound->Sounds.Items.empty());
    EXPECT_EQ(second.LastChildIndex(), -1);
}

TEST_F(SoundTest, ShuttingDownFreesTheSoundsAndLogsInOrder)
{
    ASSERT_TRUE(WriteTone("tone.wav", 0.1f));
    StartAsTheApplication();
    Sound->AddSound(new ZRSound("tone", Sound.get()));
    Sound.reset();
    const std::vector<std::string> lines = ConsoleLines();
    const auto at = [&](const std::string& line) { return std::find(lines.begin(), lines.end(), line); };
    ASSERT_NE(at("ZOT Sound: Shut down..."), lines.end());
    EXPECT_LT(at("ZOT Sound: Shut down..."), at("Deleting Sound: \"tone\""));
    EXPECT_LT(at("Deleting Sound: \"tone\""), at("ZOT Sound: Shutting down BASS"));
    EXPECT_EQ(CurrentSound, nullptr);
}
