#include "sound/sound_main.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "core/zot_console.h"
#include "core/zot_constant.h"
#include "core/zot_file.h"
#include "core/zot_main.h"
#include "math/zot_math.h"
#include "platform/platform_system.h"
#include "platform/platform_window.h"
#include "resource/resource_sound.h"

ZOTSound* CurrentSound = nullptr;

namespace {

void SoundError(std::string_view message) { ReportError("ZOT_Sound", message); }

platform::AudioVector ToAudio(const Vector3& v) { return {v.x, v.y, v.z}; }

Vector3 DirectionFromAngles(const Vector3& angles)
{
    return CurrentEngine && CurrentEngine->Math ? CurrentEngine->Math->DirectionFromAngles(angles) : Vector3{};
}

}  // namespace

ZOTSound::ZOTSound(ZOTOwner* parent)
    : ZOTObject(parent, "ZOT Sound Main", "ZOTSound"), Audio(std::make_unique<platform::AudioSystem>())
{
    CurrentSound = this;
}

ZOTSound::~ZOTSound()
{
    LogLine(kSeparatorLine);
    LogLine("ZOT Sound: Shut down...");
    RemoveSoundsOf(this);
    Enabled = false;
    LogLine("ZOT Sound: Shutting down BASS");
    Audio->Stop();
    Audio->Free();
    Sounds = TSounds();
    LogLine(kSeparatorLine);
    LogLine(kEmptyLine);
    if (CurrentSound == this)
        CurrentSound = nullptr;
}

void ZOTSound::Start(platform::Window* window, bool use3D, int32_t maxPlaybacks, float volume, int32_t frequency,
                     bool useHardware, bool keepListenerYaw)
{
    WindowHandle = window;
    if (!window || !window->Handle())
        SoundError("Could not find a Device handle!");
    Use3D = use3D;
    KeepListenerYaw = keepListenerYaw;
    UseHardware = useHardware;
    Frequency = frequency;
    Volume = volume;
    MaxPlaybacks = maxPlaybacks;
    LogLine(kSeparatorLine);
    LogLine("Initializing Module: ZOT Sound");
    LogLine(kEmptyLine);
    LogLine("ZOT Sound: Initializing...");
    if (Audio->Version() != kRequiredVersion)
        SoundError("BASS not loaded!");
    StartOutput();
    SampleFlags = platform::kSampleOverOldest;
    if (Use3D)
        SampleFlags |= platform::kSample3D;
    if (!UseHardware)
        SampleFlags |= platform::kSampleSoftware;
    LogLine(kSeparatorLine);
    LogLine(kEmptyLine);
    SetVolume(Volume);
}

// Without an output the module says so once and stays silent.
void ZOTSound::StartOutput()
{
    if (!Audio->Init(Frequency, Use3D ? platform::kAudioInit3D : 0)) {
        SoundError("Could not initialize BASS!");
        LogLine("ZOT Sound: " + Audio->LastError());
        return;
    }
    Audio->Start();
    LogLine("ZOT Sound: BASS Sound System initialized!");
}

void ZOTSound::Update()
{
    if (!Enabled)
        return;
    SetListener(ListenerPosition, ListenerAngles);
    Audio->Apply3D();
}

void ZOTSound::SetVolume(float v)
{
    Volume = v;
    Audio->SetVolume(static_cast<int32_t>(std::lround(v * 100.0f)));
}

void ZOTSound::SetListener(const Vector3& position, const Vector3& angles)
{
    ListenerPosition = position;
    ListenerAngles = angles;
    if (!Use3D)
        return;
    Vector3 facing = angles;
    if (!KeepListenerYaw)
        facing.y += 180.0f;
    platform::ListenerPlacement placement;
    placement.Position = ToAudio(position);
    placement.Front = ToAudio(DirectionFromAngles(facing));
    placement.Top = ToAudio(DirectionFromAngles({facing.x + 90.0f, facing.y, facing.z}));
    Audio->Set3DPosition(placement);
}

platform::SampleHandle ZOTSound::LoadSample(const std::string& path)
{
    if (!CurrentEngine || !CurrentEngine->FileSystem || !CurrentEngine->FileSystem->Exists(path, true))
        return 0;
    if (!Audio->Ready())
        return 0;
    const platform::SampleHandle sample = Audio->SampleLoad(platform::NativePath(path), MaxPlaybacks, SampleFlags);
    if (!sample) {
        SoundError("Could not load sound \"" + path + "\": " + Audio->LastError());
        return 0;
    }
    platform::SampleInfo info;
    Audio->SampleGetInfo(sample, info);
    info.MinDistance = MinDistance;
    info.MaxDistance = MaxDistance;
    Audio->SampleSetInfo(sample, info);
    return sample;
}

void ZOTSound::FreeSample(platform::SampleHandle sample) { Audio->SampleFree(sample); }

bool ZOTSound::PlaySample(platform::SampleHandle sample) { return Audio->SamplePlay(sample); }

int32_t ZOTSound::PlayingCount(platform::SampleHandle sample) const { return Audio->SamplePlaying(sample); }

int32_t ZOTSound::AddSound(ZRSound* sound)
{
    Sounds.Items.push_back(sound);
    return ++Sounds.Last;
}

void ZOTSound::RemoveSound(int32_t index)
{
    if (index < 0 || index > Sounds.Last)
        return;
    ZRSound* sound = Sounds.Items[index];
    Sounds.Items.erase(Sounds.Items.begin() + index);
    --Sounds.Last;
    delete sound;
}

void ZOTSound::RemoveSoundsOf(const ZOTOwner* owner)
{
    for (int32_t i = Sounds.Last; i >= 0; --i) {
        if (owner == this || Sounds.Items[i]->GetParent() == owner)
            RemoveSound(i);
    }
}

void ZOTSound::ForgetSound(const ZRSound* sound)
{
    const auto found = std::find(Sounds.Items.begin(), Sounds.Items.end(), sound);
    if (found == Sounds.Items.end())
        return;
    Sounds.Items.erase(found);
    --Sounds.Last;
}
