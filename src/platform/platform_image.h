// Picture files of the host system that the program reads and writes: BMP,
// JPEG and PNG decoding and the BMP writer screenshots use.
#pragma once

#include <string>

#include "platform/platform_bitmap.h"

namespace platform {

// Each reader returns false and says why in error when the file is missing,
// damaged, truncated or of an absurd size; it never reads past the file and
// allocates no more than the picture's stated size (after checking it).
bool LoadBMP(const std::string& nativePath, Bitmap24& out, std::string& error);
bool LoadJPEG(const std::string& nativePath, Bitmap24& out, std::string& error);
bool LoadPNG(const std::string& nativePath, RawImage& out, std::string& error);

// Writes an uncompressed 24-bit BMP: 54-byte headers, no colour table, bottom row first.
bool SaveBMP(const std::string& nativePath, const Bitmap24& bitmap);

}  // namespace platform
