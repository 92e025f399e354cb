// A started engine with the sound module on OpenAL Soft's null output, which
// mixes like a real device without one, and a writer of test tones.
#pragma once

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform_sound_write.h"
#include "sound/sound_main.h"
#include "test_support.h"

class SoundTest : public EngineTest {
protected:
    void SetUp() override
    {
        // Keeps a run of the suite quiet on a machine with speakers; an
        // explicit choice of driver wins.
        setenv("ALSOFT_DRIVERS", "null", 0);
        EngineTest::SetUp();
        Sound = std::make_unique<ZOTSound>(nullptr);
    }
    void TearDown() override
    {
        Sound.reset();
        EngineTest::TearDown();
    }

    // As the application starts the module.
    void StartAsTheApplication() { Sound->Start(nullptr, true, 32, 1.0f, 44100, true, false); }

    // A 440 Hz tone in the program directory, in the given format.
    bool WriteTone(const std::string& fileName, float seconds,
                   platform::SoundFileKind kind = platform::SoundFileKind::Wav) const
    {
        constexpr int kRate = 22050;
        std::vector<int16_t> values(static_cast<size_t>(seconds * kRate));
        for (size_t i = 0; i < values.size(); ++i)
            values[i] = static_cast<int16_t>(8000.0 * std::sin(2.0 * M_PI * 440.0 * i / kRate));
        return platform::SaveSound(Dir.File(fileName), kind, values, 1, kRate);
    }

    std::unique_ptr<ZOTSound> Sound;
};
