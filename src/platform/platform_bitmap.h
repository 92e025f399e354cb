// Pictures in memory: the 24-bit bitmap surface and tightly packed channels,
// with the size limits every picture reader and writer holds to.
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

inline bool IsImageSide(int64_t side) { return side >= 1 && side <= kMaxImageSide; }

// No reader takes a picture of more pixels than this (4096 x 4096): a file of
// a few bytes can claim any size, and decoding follows the claim.
constexpr int64_t kMaxImagePixels = int64_t{4096} * 4096;

// False, with why in error, when a picture of these sides has more pixels than kMaxImagePixels.
bool CheckImageArea(int64_t width, int64_t height, std::string& error);

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

}  // namespace platform
