#include <gtest/gtest.h>

#include "resource/resource_sound.h"
#include "sound/sound_test_support.h"

using SoundResource = SoundTest;

TEST_F(SoundResource, AnMp3IsTakenWhenThereIsNoWavWithoutReportingTheWav)
{
    StartAsTheApplication();
    // A WAV under the MP3's name stands in where this libsndfile cannot encode MP3.
    if (!WriteTone("x.mp3", 0.5f, platform::SoundFileKind::Mp3)) {
        ASSERT_TRUE(WriteTone("x.mp3", 0.5f));
    }
    const ZRSound sound("x");
    EXPECT_TRUE(sound.IsLoaded());
    EXPECT_EQ(sound.GetName(), "x");
    EXPECT_TRUE(Logged("Creating Sound: \"x\""));
    for (const std::string& line : ConsoleLines())
        EXPECT_EQ(line.find("not found"), std::string::npos) << line;
}

TEST_F(SoundResource, AMissingSoundIsReportedOnceByItsMp3Name)
{
    StartAsTheApplication();
    const ZRSound sound("sounds\\none");
    EXPECT_FALSE(sound.IsLoaded());
    EXPECT_EQ(ConsoleLines().back(), "  ERROR: ZT_FILE: File \"" + EngineFile("sounds\\none.mp3") + "\" not found!");
    EXPECT_EQ(LogCount("  ERROR: ZT_FILE: File \"" + EngineFile("sounds\\none.wav") + "\" not found!"), 0);
    EXPECT_FALSE(Logged("Creating Sound: \"sounds\\none\""));
}

TEST_F(SoundResource, DamagedFilesAreReportedByNameAndMakeNoSample)
{
    StartAsTheApplication();
    ASSERT_TRUE(WriteTone("good.wav", 0.2f));
    std::ifstream in(Dir.File("good.wav"), std::ios::binary);
    const std::string good((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string manyChannels = good;
    manyChannels[22] = '\xff';  // channel count 0x??ff
    manyChannels[23] = '\x7f';
    const std::vector<std::pair<std::string, std::string>> files = {
        {"empty", ""},
        {"noise", std::string(300, '\x5a')},
        {"header only", good.substr(0, 44)},
        {"channels", manyChannels},
    };
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        Dir.Write(name + ".wav", bytes);
        const ZRSound sound(name);
        EXPECT_FALSE(sound.IsLoaded());
        EXPECT_EQ(ConsoleLines().back().rfind("  ERROR: ZOT_Sound: Could not load sound \"" +
                                                  EngineFile(name + ".wav") + "\": ",
                                              0),
                  0u);
    }
    // A file cut short in its data keeps what is there.
    Dir.Write("cut.wav", good.substr(0, good.size() / 2));
    EXPECT_TRUE(ZRSound("cut").IsLoaded());
}

TEST_F(SoundResource, ReloadingFreesTheOldSampleAndUnloadingLogsOnlyNamedSounds)
{
    StartAsTheApplication();
    ASSERT_TRUE(WriteTone("tone.wav", 0.1f));
    ZRSound sound("tone");
    const platform::SampleHandle first = sound.Sample;
    sound.LoadFromFile("tone");
    platform::SampleInfo info;
    EXPECT_FALSE(Sound->Audio->SampleGetInfo(first, info));
    EXPECT_NE(sound.Sample, first);
    sound.Unload();
    EXPECT_FALSE(sound.IsLoaded());
    EXPECT_EQ(LogCount("Deleting Sound: \"tone\""), 2);
    sound.Unload();
    EXPECT_EQ(LogCount("Deleting Sound: \"tone\""), 2);
}
