// Sound file writers for tools and tests: 16-bit PCM WAV, and MP3 where the
// installed libsndfile can encode it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

enum class SoundFileKind { Wav, Mp3 };

// values holds interleaved frames of `channels` values each. False when the
// library refuses the format or the file cannot be written.
bool SaveSound(const std::string& nativePath, SoundFileKind kind, const std::vector<int16_t>& values, int channels,
               int rate);

}  // namespace platform
