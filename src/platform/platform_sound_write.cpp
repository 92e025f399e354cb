#include "platform/platform_sound_write.h"

#include <sndfile.h>

namespace platform {

namespace {

int FormatOf(SoundFileKind kind)
{
    return kind == SoundFileKind::Mp3 ? SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III : SF_FORMAT_WAV | SF_FORMAT_PCM_16;
}

}  // namespace

bool SaveSound(const std::string& nativePath, SoundFileKind kind, const std::vector<int16_t>& values, int channels,
               int rate)
{
    if (channels < 1 || values.size() % static_cast<size_t>(channels) != 0)
        return false;
    SF_INFO format{};
    format.channels = channels;
    format.samplerate = rate;
    format.format = FormatOf(kind);
    if (!sf_format_check(&format))
        return false;
    SNDFILE* file = sf_open(nativePath.c_str(), SFM_WRITE, &format);
    if (!file)
        return false;
    const sf_count_t frames = static_cast<sf_count_t>(values.size() / channels);
    const bool written = sf_writef_short(file, values.data(), frames) == frames;
    return sf_close(file) == 0 && written;
}

}  // namespace platform
