// What the picture readers and writers share: whole-file reads, little-endian
// numbers and the error handling installed into libjpeg and libpng, which
// must never end the process.
#pragma once

#include <array>
#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// libjpeg's header needs size_t and FILE declared before it.
#include <jpeglib.h>
#include <png.h>

namespace platform {

// Reads a picture file no larger than kMaxImageFileBytes.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error);
bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes);
// Prefixes error with the file it is about; always false.
bool Failed(const std::string& path, std::string& error);

uint32_t ReadLE(const uint8_t* at, int byteCount);

template <size_t N>
void PutLE(std::array<uint8_t, N>& bytes, size_t at, uint32_t value, int byteCount)
{
    for (int i = 0; i < byteCount; ++i)
        bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// libjpeg reports through this; its error exit jumps back to Jump with the
// text in Message.
struct JpegErrorManager {
    jpeg_error_mgr Base;  // first member, so libjpeg's pointer leads back here
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
};

// Installs the jumping error exit and silences libjpeg's own messages.
jpeg_error_mgr* UseJpegErrors(JpegErrorManager& errors);
JpegErrorManager& ErrorsOf(j_common_ptr info);

void PngSilence(png_structp, png_const_charp);

}  // namespace platform
