// Picture files of the host system: a 24-bit bitmap surface, BMP reading and
// writing, JPEG and PNG decoding, and the CRC-32 of the zlib library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Neither side of a picture may exceed this; larger sizes are taken as damage.
constexpr int kMaxImageSide = 16384;
// Picture files larger than this are refused unread.
constexpr size_t kMaxImageFileBytes = size_t{256} << 20;

// A 24-bit surface: rows from the top row (0) down, pixels blue, green, red,
// each row padded to a multiple of 4 bytes.
class Bitmap24 {
public:
    // False (and an empty surface) for a side below 1 or above kMaxImageSide.
    bool Create(int width, int height);
    void Clear();

    int Width() const { return W; }
    int Height() const { return H; }
    // Bytes from one row to the next, padding included.
    int RowSize() const { return Stride; }
    bool Empty() const { return W == 0; }

    uint8_t* Row(int row) { return Pixels.data() + static_cast<size_t>(row) * Stride; }
    const uint8_t* Row(int row) const { return Pixels.data() + static_cast<size_t>(row) * Stride; }

    void Fill(uint8_t red, uint8_t green, uint8_t blue);
    void FlipRows();

private:
    int W = 0;
    int H = 0;
    int Stride = 0;
    std::vector<uint8_t> Pixels;
};

// Tightly packed 8-bit channels, rows top first. Channels is 1 (grey), 3 (RGB) or 4 (RGBA).
struct RawImage {
    int Width = 0;
    int Height = 0;
    int Channels = 0;
    std::vector<uint8_t> Pixels;
};

// Each reader returns false and says why in error when the file is missing,
// damaged, truncated or of an absurd size; it never reads past the file and
// allocates no more than the picture's stated size (after checking it).
bool LoadBMP(const std::string& nativePath, Bitmap24& out, std::string& error);
bool LoadJPEG(const std::string& nativePath, Bitmap24& out, std::string& error);
bool LoadPNG(const std::string& nativePath, RawImage& out, std::string& error);

// Writes an uncompressed 24-bit BMP: 54-byte headers, no colour table, bottom row first.
bool SaveBMP(const std::string& nativePath, const Bitmap24& bitmap);

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0);

// The writers below return false when the picture is empty or malformed for
// its format, or the file cannot be written. The same picture always gives
// the same bytes: no time stamps, fixed encoder settings.

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
