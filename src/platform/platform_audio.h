// Sound output over OpenAL Soft with samples read by libsndfile, offered as the
// operations the sound module is written against: a device opened at a rate,
// started and stopped, a master volume, one 3D listener, and samples loaded
// whole into memory, each played by up to its playback limit at once.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

// Versions as the sound module compares them: major number in the low 16
// bits, minor number in the high 16 bits.
constexpr uint32_t MakeAudioVersion(uint16_t major, uint16_t minor)
{
    return static_cast<uint32_t>(major) | (static_cast<uint32_t>(minor) << 16);
}

// Init flag: the device mixes 3D sources.
constexpr uint32_t kAudioInit3D = 4;
// Sample flags.
constexpr uint32_t kSample3D = 8;
constexpr uint32_t kSampleSoftware = 16;
// A play beyond the playback limit restarts the playback that has run longest;
// without it such a play is refused.
constexpr uint32_t kSampleOverOldest = 128;

// 0 names no sample; handles are never reused by the same audio system.
using SampleHandle = uint32_t;

using AudioVector = std::array<float, 3>;

struct ListenerPlacement {
    AudioVector Position{};
    AudioVector Velocity{};
    AudioVector Front{0.0f, 0.0f, 1.0f};
    AudioVector Top{0.0f, 1.0f, 0.0f};
};

struct SampleInfo {
    uint32_t Frequency = 0;
    // Bytes of decoded sound data.
    uint32_t Length = 0;
    uint32_t Flags = 0;
    uint32_t MaxPlaybacks = 0;
    float MinDistance = 1.0f;
    float MaxDistance = 1000.0f;
};

// One output device. Every operation fails quietly (false, 0 or nothing)
// while the device is not open, so a machine without sound runs on without it.
class AudioSystem {
public:
    AudioSystem();
    virtual ~AudioSystem();

    AudioSystem(const AudioSystem&) = delete;
    AudioSystem& operator=(const AudioSystem&) = delete;

    // The OpenAL version the library offers.
    virtual uint32_t Version() const;

    // Opens the default device at frequency Hz. On failure LastError says why,
    // in the library's words where it gave any.
    bool Init(int32_t frequency, uint32_t flags);
    bool Start();
    // Pauses the whole output, playing samples included, until Start.
    bool Stop();
    // Frees every sample and closes the device.
    void Free();
    bool Ready() const;

    // 0 to 100; other values are refused.
    bool SetVolume(int32_t volume);
    // The listener's gain as a volume of 0 to 100, or -1 without a device.
    int32_t GetVolume() const;

    // The listener takes a new placement at the next Apply3D.
    bool Set3DPosition(const ListenerPlacement& placement);
    bool Apply3D();
    // The placement the library holds now.
    bool Get3DPosition(ListenerPlacement& placement) const;

    // Reads a whole sound file; 0 when it cannot be read (LastError says why).
    SampleHandle SampleLoad(const std::string& nativePath, uint32_t maxPlaybacks, uint32_t flags);
    bool SampleGetInfo(SampleHandle sample, SampleInfo& info) const;
    // Only the 3D distances can be changed; they apply to the sample's
    // playbacks from then on, running ones included.
    bool SampleSetInfo(SampleHandle sample, const SampleInfo& info);
    bool SampleFree(SampleHandle sample);
    // Starts one playback at the listener's origin; false when the sample is
    // unknown or its playback limit is reached without kSampleOverOldest.
    bool SamplePlay(SampleHandle sample);
    // How many playbacks of the sample are sounding now.
    int32_t SamplePlaying(SampleHandle sample) const;

    const std::string& LastError() const { return Error; }

private:
    struct Device;
    std::unique_ptr<Device> Open;
    std::string Error;
    SampleHandle LastHandle = 0;
};

}  // namespace platform
