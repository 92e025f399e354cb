// The sound module: opens the audio output, sets the master volume, keeps the
// 3D listener up to date once a frame, and loads samples for sound resources.
// Without an audio device every operation has no effect.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/zot_object.h"
#include "math/math_types.h"
#include "platform/platform_audio.h"

namespace platform {
class Window;
}

class ZRSound;

// Sounds the module owns.
struct TSounds {
    std::vector<ZRSound*> Items;
    int32_t Last = -1;
};

class ZOTSound : public ZOTObject {
public:
    // The audio library version the module is written for.
    static constexpr uint32_t kRequiredVersion = platform::MakeAudioVersion(1, 1);

    explicit ZOTSound(ZOTOwner* parent);
    ~ZOTSound() override;

    // Failures are reported and start-up goes on; the module then stays silent.
    void Start(platform::Window* window, bool use3D, int32_t maxPlaybacks, float volume, int32_t frequency,
               bool useHardware, bool keepListenerYaw);
    void Update();
    // v from 0 to 1.
    void SetVolume(float v);
    void SetListener(const Vector3& position, const Vector3& angles);

    // 0 when the file is missing or cannot be read as sound; both are reported.
    platform::SampleHandle LoadSample(const std::string& path);
    void FreeSample(platform::SampleHandle sample);
    bool PlaySample(platform::SampleHandle sample);
    int32_t PlayingCount(platform::SampleHandle sample) const;

    // The module takes the sound over; its index in Sounds.
    int32_t AddSound(ZRSound* sound);
    void RemoveSound(int32_t index);
    // Every sound whose parent is owner; the module itself as owner means all.
    void RemoveSoundsOf(const ZOTOwner* owner);
    // Drops a sound that is being destroyed from Sounds without destroying it.
    void ForgetSound(const ZRSound* sound);

    bool Use3D = true;
    bool KeepListenerYaw = false;
    bool UseHardware = false;
    int32_t Frequency = 44100;
    float Volume = 1.0f;
    int32_t MaxPlaybacks = 32;
    float MinDistance = 10.0f;
    float MaxDistance = 50.0f;
    Vector3 ListenerPosition{0.0f, 0.0f, 0.0f};
    Vector3 ListenerAngles{0.0f, 0.0f, 0.0f};
    uint32_t SampleFlags = 0;
    TSounds Sounds;
    platform::Window* WindowHandle = nullptr;
    bool Enabled = true;
    // The output; a test may put a stand-in in its place before Start.
    std::unique_ptr<platform::AudioSystem> Audio;

private:
    void StartOutput();
};

// The sound module of this process, or none.
extern ZOTSound* CurrentSound;
