#include "platform/platform_audio.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>
#include <sndfile.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <vector>

namespace platform {

namespace {

constexpr int32_t kMaxVolume = 100;
// Samples are held whole in memory: about six minutes of stereo at 44.1 kHz.
// A longer file is refused rather than read to the end.
constexpr size_t kMaxSampleValues = size_t(1) << 25;
constexpr int kMaxChannels = 64;
constexpr int kMaxRate = 384000;
constexpr sf_count_t kReadFrames = 4096;

const char* const kNoDevice = "no audio device is open";

std::string AlErrorName(ALenum error)
{
    switch (error) {
    case AL_INVALID_NAME: return "AL_INVALID_NAME";
    case AL_INVALID_ENUM: return "AL_INVALID_ENUM";
    case AL_INVALID_VALUE: return "AL_INVALID_VALUE";
    case AL_INVALID_OPERATION: return "AL_INVALID_OPERATION";
    case AL_OUT_OF_MEMORY: return "AL_OUT_OF_MEMORY";
    default: return "AL error " + std::to_string(error);
    }
}

std::string AlcErrorName(ALCenum error)
{
    switch (error) {
    case ALC_INVALID_DEVICE: return "ALC_INVALID_DEVICE";
    case ALC_INVALID_CONTEXT: return "ALC_INVALID_CONTEXT";
    case ALC_INVALID_ENUM: return "ALC_INVALID_ENUM";
    case ALC_INVALID_VALUE: return "ALC_INVALID_VALUE";
    case ALC_OUT_OF_MEMORY: return "ALC_OUT_OF_MEMORY";
    default: return "ALC error " + std::to_string(error);
    }
}

// ALSA and OpenAL complain about a missing device straight on standard error.
// While the device is opened that goes to a scratch file instead, so a machine
// without sound starts quietly and the complaint can become the reported reason.
class StandardErrorCapture {
public:
    StandardErrorCapture()
    {
        std::fflush(stderr);
        Saved = dup(STDERR_FILENO);
        Scratch = std::tmpfile();
        if (Saved >= 0 && Scratch && dup2(fileno(Scratch), STDERR_FILENO) >= 0)
            return;
        Release();
    }
    ~StandardErrorCapture() { Release(); }
    StandardErrorCapture(const StandardErrorCapture&) = delete;
    StandardErrorCapture& operator=(const StandardErrorCapture&) = delete;

    // Ends the capture; the last line that was written, or an empty text.
    std::string LastLine()
    {
        std::string text;
        if (Scratch) {
            std::fflush(stderr);
            dup2(Saved, STDERR_FILENO);
            std::rewind(Scratch);
            char line[512];
            while (std::fgets(line, sizeof line, Scratch)) {
                std::string current(line);
                current.erase(current.find_last_not_of(" \r\n") + 1);
                if (!current.empty())
                    text = current;
            }
        }
        Release();
        return text;
    }

private:
    int Saved = -1;
    std::FILE* Scratch = nullptr;

    void Release()
    {
        if (Saved >= 0) {
            std::fflush(stderr);
            dup2(Saved, STDERR_FILENO);
            close(Saved);
            Saved = -1;
        }
        if (Scratch) {
            std::fclose(Scratch);
            Scratch = nullptr;
        }
    }
};

struct DecodedSound {
    std::vector<int16_t> Values;
    int Channels = 0;
    int Rate = 0;
};

struct SoundFileCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};

// Appends frames of `channels` values each, averaged down to one channel when
// the sound is kept in mono.
void AppendFrames(DecodedSound& sound, const std::vector<int16_t>& frames, sf_count_t count, int channels)
{
    if (sound.Channels == channels) {
        sound.Values.insert(sound.Values.end(), frames.begin(), frames.begin() + count * channels);
        return;
    }
    for (sf_count_t frame = 0; frame < count; ++frame) {
        int32_t sum = 0;
        for (int channel = 0; channel < channels; ++channel)
            sum += frames[frame * channels + channel];
        sound.Values.push_back(static_cast<int16_t>(sum / channels));
    }
}

// OpenAL places only mono sounds in space, and plays no more than two channels.
bool ReadSoundFile(const std::string& path, bool mono, DecodedSound& sound, std::string& error)
{
    SF_INFO format{};
    const std::unique_ptr<SNDFILE, SoundFileCloser> file(sf_open(path.c_str(), SFM_READ, &format));
    if (!file) {
        error = sf_strerror(nullptr);
        return false;
    }
    if (format.channels < 1 || format.channels > kMaxChannels) {
        error = "unsupported channel count " + std::to_string(format.channels);
        return false;
    }
    if (format.samplerate < 1 || format.samplerate > kMaxRate) {
        error = "unsupported sample rate " + std::to_string(format.samplerate);
        return false;
    }
    sound.Channels = (mono || format.channels > 2) ? 1 : format.channels;
    sound.Rate = format.samplerate;
    std::vector<int16_t> frames(static_cast<size_t>(kReadFrames * format.channels));
    sf_count_t count;
    while ((count = sf_readf_short(file.get(), frames.data(), kReadFrames)) > 0) {
        if (sound.Values.size() + static_cast<size_t>(count) * sound.Channels > kMaxSampleValues) {
            error = "the sound is too long to be held in memory";
            return false;
        }
        AppendFrames(sound, frames, count, format.channels);
    }
    if (sf_error(file.get()) != SF_ERR_NO_ERROR) {
        error = sf_strerror(file.get());
        return false;
    }
    if (sound.Values.empty()) {
        error = "the file holds no sound";
        return false;
    }
    return true;
}

struct Playback {
    ALuint Source = 0;
    uint64_t Order = 0;
};

struct Sample {
    ALuint Buffer = 0;
    SampleInfo Info;
    bool Spatial = false;
    std::vector<Playback> Playbacks;
};

ALint SourceState(ALuint source)
{
    ALint state = AL_STOPPED;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state;
}

void ApplyDistances(ALuint source, const SampleInfo& info)
{
    alSourcef(source, AL_REFERENCE_DISTANCE, info.MinDistance);
    alSourcef(source, AL_MAX_DISTANCE, info.MaxDistance);
}

void DeletePlaybacks(Sample& sample)
{
    for (const Playback& playback : sample.Playbacks) {
        alSourceStop(playback.Source);
        alDeleteSources(1, &playback.Source);
    }
    sample.Playbacks.clear();
}

}  // namespace

struct AudioSystem::Device {
    ALCdevice* Handle = nullptr;
    ALCcontext* Context = nullptr;
    bool Mix3D = false;
    LPALCDEVICEPAUSESOFT Pause = nullptr;
    LPALCDEVICERESUMESOFT Resume = nullptr;
    ListenerPlacement Pending;
    std::map<SampleHandle, Sample> Samples;
    uint64_t Plays = 0;

    ~Device()
    {
        for (auto& [handle, sample] : Samples) {
            DeletePlaybacks(sample);
            alDeleteBuffers(1, &sample.Buffer);
        }
        alcMakeContextCurrent(nullptr);
        if (Context)
            alcDestroyContext(Context);
        if (Handle)
            alcCloseDevice(Handle);
    }

    Sample* Find(SampleHandle handle)
    {
        const auto found = Samples.find(handle);
        return found == Samples.end() ? nullptr : &found->second;
    }

    // A playback that has ended, a new one while the limit allows, or with
    // kSampleOverOldest the one that started first; 0 when none may play.
    ALuint FreeSource(Sample& sample)
    {
        for (Playback& playback : sample.Playbacks) {
            if (SourceState(playback.Source) != AL_PLAYING && SourceState(playback.Source) != AL_PAUSED)
                return Claim(playback);
        }
        if (sample.Playbacks.size() < sample.Info.MaxPlaybacks)
            return NewSource(sample);
        if (!(sample.Info.Flags & kSampleOverOldest) || sample.Playbacks.empty())
            return 0;
        const auto oldest = std::min_element(sample.Playbacks.begin(), sample.Playbacks.end(),
                                             [](const Playback& a, const Playback& b) { return a.Order < b.Order; });
        return Claim(*oldest);
    }

    ALuint Claim(Playback& playback)
    {
        playback.Order = ++Plays;
        return playback.Source;
    }

    ALuint NewSource(Sample& sample)
    {
        ALuint source = 0;
        alGetError();
        alGenSources(1, &source);
        if (alGetError() != AL_NO_ERROR)
            return 0;
        alSourcei(source, AL_BUFFER, static_cast<ALint>(sample.Buffer));
        // A sound that is not placed in space plays at the listener, undimmed.
        alSourcei(source, AL_SOURCE_RELATIVE, sample.Spatial ? AL_FALSE : AL_TRUE);
        if (!sample.Spatial)
            alSourcef(source, AL_ROLLOFF_FACTOR, 0.0f);
        ApplyDistances(source, sample.Info);
        sample.Playbacks.push_back({source, 0});
        return Claim(sample.Playbacks.back());
    }
};

AudioSystem::AudioSystem() = default;

AudioSystem::~AudioSystem() = default;

uint32_t AudioSystem::Version() const
{
    ALCint major = 0;
    ALCint minor = 0;
    alcGetIntegerv(nullptr, ALC_MAJOR_VERSION, 1, &major);
    alcGetIntegerv(nullptr, ALC_MINOR_VERSION, 1, &minor);
    return MakeAudioVersion(static_cast<uint16_t>(major), static_cast<uint16_t>(minor));
}

bool AudioSystem::Init(int32_t frequency, uint32_t flags)
{
    if (Open) {
        Error = "the audio device is open already";
        return false;
    }
    if (frequency <= 0 || frequency > kMaxRate) {
        Error = "unsupported output rate " + std::to_string(frequency);
        return false;
    }
    auto device = std::make_unique<Device>();
    StandardErrorCapture capture;
    device->Handle = alcOpenDevice(nullptr);
    const std::string complaint = capture.LastLine();
    if (!device->Handle) {
        Error = complaint.empty() ? "no audio device could be opened" : complaint;
        return false;
    }
    const ALCint attributes[] = {ALC_FREQUENCY, frequency, 0};
    device->Context = alcCreateContext(device->Handle, attributes);
    if (!device->Context || !alcMakeContextCurrent(device->Context)) {
        Error = "the audio context could not be made: " + AlcErrorName(alcGetError(device->Handle));
        return false;
    }
    if (alcIsExtensionPresent(device->Handle, "ALC_SOFT_pause_device")) {
        device->Pause = reinterpret_cast<LPALCDEVICEPAUSESOFT>(alcGetProcAddress(device->Handle, "alcDevicePauseSOFT"));
        device->Resume =
            reinterpret_cast<LPALCDEVICERESUMESOFT>(alcGetProcAddress(device->Handle, "alcDeviceResumeSOFT"));
    }
    device->Mix3D = (flags & kAudioInit3D) != 0;
    Open = std::move(device);
    return true;
}

bool AudioSystem::Start()
{
    if (!Open || !Open->Resume)
        return false;
    Open->Resume(Open->Handle);
    return true;
}

bool AudioSystem::Stop()
{
    if (!Open || !Open->Pause)
        return false;
    Open->Pause(Open->Handle);
    return true;
}

void AudioSystem::Free() { Open.reset(); }

bool AudioSystem::Ready() const { return Open != nullptr; }

bool AudioSystem::SetVolume(int32_t volume)
{
    if (!Open || volume < 0 || volume > kMaxVolume)
        return false;
    alListenerf(AL_GAIN, static_cast<float>(volume) / kMaxVolume);
    return true;
}

int32_t AudioSystem::GetVolume() const
{
    if (!Open)
        return -1;
    ALfloat gain = 0.0f;
    alGetListenerf(AL_GAIN, &gain);
    return static_cast<int32_t>(std::lround(gain * kMaxVolume));
}

bool AudioSystem::Set3DPosition(const ListenerPlacement& placement)
{
    if (!Open)
        return false;
    Open->Pending = placement;
    return true;
}

bool AudioSystem::Apply3D()
{
    if (!Open)
        return false;
    const ListenerPlacement& placement = Open->Pending;
    alListenerfv(AL_POSITION, placement.Position.data());
    alListenerfv(AL_VELOCITY, placement.Velocity.data());
    const ALfloat orientation[] = {placement.Front[0], placement.Front[1], placement.Front[2],
                                   placement.Top[0],   placement.Top[1],   placement.Top[2]};
    alListenerfv(AL_ORIENTATION, orientation);
    return true;
}

bool AudioSystem::Get3DPosition(ListenerPlacement& placement) const
{
    if (!Open)
        return false;
    alGetListenerfv(AL_POSITION, placement.Position.data());
    alGetListenerfv(AL_VELOCITY, placement.Velocity.data());
    ALfloat orientation[6] = {};
    alGetListenerfv(AL_ORIENTATION, orientation);
    std::copy(orientation, orientation + 3, placement.Front.begin());
    std::copy(orientation + 3, orientation + 6, placement.Top.begin());
    return true;
}

SampleHandle AudioSystem::SampleLoad(const std::string& nativePath, uint32_t maxPlaybacks, uint32_t flags)
{
    if (!Open) {
        Error = kNoDevice;
        return 0;
    }
    if (maxPlaybacks < 1) {
        Error = "a sample needs a playback limit of at least 1";
        return 0;
    }
    Sample sample;
    sample.Spatial = Open->Mix3D && (flags & kSample3D) != 0;
    DecodedSound sound;
    if (!ReadSoundFile(nativePath, sample.Spatial, sound, Error))
        return 0;
    const ALsizei bytes = static_cast<ALsizei>(sound.Values.size() * sizeof(int16_t));
    alGetError();
    alGenBuffers(1, &sample.Buffer);
    alBufferData(sample.Buffer, sound.Channels == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16, sound.Values.data(),
                 bytes, sound.Rate);
    if (const ALenum error = alGetError(); error != AL_NO_ERROR) {
        alDeleteBuffers(1, &sample.Buffer);
        Error = "the sound could not be handed to OpenAL: " + AlErrorName(error);
        return 0;
    }
    sample.Info.Frequency = static_cast<uint32_t>(sound.Rate);
    sample.Info.Length = static_cast<uint32_t>(bytes);
    sample.Info.Flags = flags;
    sample.Info.MaxPlaybacks = maxPlaybacks;
    const SampleHandle handle = ++LastHandle;
    Open->Samples.emplace(handle, std::move(sample));
    return handle;
}

bool AudioSystem::SampleGetInfo(SampleHandle handle, SampleInfo& info) const
{
    const Sample* sample = Open ? Open->Find(handle) : nullptr;
    if (!sample)
        return false;
    info = sample->Info;
    return true;
}

bool AudioSystem::SampleSetInfo(SampleHandle handle, const SampleInfo& info)
{
    Sample* sample = Open ? Open->Find(handle) : nullptr;
    if (!sample || !(info.MinDistance >= 0.0f) || !(info.MaxDistance >= 0.0f))
        return false;
    sample->Info.MinDistance = info.MinDistance;
    sample->Info.MaxDistance = info.MaxDistance;
    for (const Playback& playback : sample->Playbacks)
        ApplyDistances(playback.Source, sample->Info);
    return true;
}

bool AudioSystem::SampleFree(SampleHandle handle)
{
    Sample* sample = Open ? Open->Find(handle) : nullptr;
    if (!sample)
        return false;
    DeletePlaybacks(*sample);
    alDeleteBuffers(1, &sample->Buffer);
    Open->Samples.erase(handle);
    return true;
}

bool AudioSystem::SamplePlay(SampleHandle handle)
{
    Sample* sample = Open ? Open->Find(handle) : nullptr;
    const ALuint source = sample ? Open->FreeSource(*sample) : 0;
    if (!source)
        return false;
    alSourcePlay(source);
    return true;
}

int32_t AudioSystem::SamplePlaying(SampleHandle handle) const
{
    const Sample* sample = Open ? Open->Find(handle) : nullptr;
    if (!sample)
        return 0;
    return static_cast<int32_t>(std::count_if(sample->Playbacks.begin(), sample->Playbacks.end(),
                                              [](const Playback& p) { return SourceState(p.Source) == AL_PLAYING; }));
}

}  // namespace platform
