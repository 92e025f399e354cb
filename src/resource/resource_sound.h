// A sound sample read from "<name>.wav", or "<name>.mp3" when there is no WAV,
// in the program directory, held by the sound module's output.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform_audio.h"
#include "resource/resource_main.h"

class ZRSound : public ZOTResource {
public:
    explicit ZRSound(const std::string& fileName = std::string(), ZOTOwner* owner = nullptr);
    ~ZRSound() override;

    void LoadFromFile(const std::string& fileName) override;
    void Unload() override;

    // Starts one playback; false without a sample or when all the playbacks
    // the sample allows are sounding.
    bool Play();
    int32_t PlayingCount() const;

    platform::SampleHandle Sample = 0;
};
