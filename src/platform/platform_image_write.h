// Picture writers that only the asset tools need: JPEG, PNG and TGA files.
// Each returns false when the picture is empty or malformed for its format,
// or the file cannot be written. The same picture always gives the same
// bytes: no time stamps, fixed encoder settings.
#pragma once

#include <string>

#include "platform/platform_bitmap.h"

namespace platform {

// libjpeg at this quality, full-resolution colour, top row first.
constexpr int kJpegSaveQuality = 92;
bool SaveJPEG(const std::string& nativePath, const Bitmap24& bitmap);
// 8-bit grey, RGB or RGBA as the channel count says (1, 3 or 4).
bool SavePNG(const std::string& nativePath, const RawImage& image);
// Uncompressed, no image ID, no colour map: 1 channel as 8-bit grey, 3 as
// 24-bit and 4 as 32-bit true colour, stored bottom row first as blue, green,
// red (, alpha).
bool SaveTGA(const std::string& nativePath, const RawImage& image);

}  // namespace platform
