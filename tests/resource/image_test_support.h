// Picture files built byte by byte for the image tests: TGA and BMP writers,
// little-endian numbers, and a bitmap's pixels as plain rows.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>

#include "platform/platform_image.h"

namespace image_files {

struct Rgb {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
};

// A picture given pixel by pixel; y = 0 is the top row.
using PixelFunction = std::function<Rgb(int x, int y)>;

inline std::string Pack(std::initializer_list<int> values)
{
    std::string bytes;
    for (int v : values)
        bytes += static_cast<char>(v);
    return bytes;
}

inline std::string Le16(int64_t v) { return Pack({static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF)}); }
inline std::string Le32(int64_t v) { return Le16(v & 0xFFFF) + Le16((v >> 16) & 0xFFFF); }

// An 18-byte TGA header followed by pixels exactly as given.
inline std::string Tga(int type, int depth, int width, int height, const std::string& pixels, int idLength = 0,
                       int colourMapType = 0)
{
    return Pack({idLength, colourMapType, type, 0, 0, 0, 0, 0}) + Le16(0) + Le16(0) + Le16(width) + Le16(height) +
           Pack({depth, 0}) + pixels;
}

inline Rgb Gradient(int x, int y)
{
    return {static_cast<uint8_t>(x * 40 + y), static_cast<uint8_t>(100 + y * 10 + x),
            static_cast<uint8_t>(200 - x - y)};
}

// The colours of the 8-bit bitmaps: a palette and the index of each pixel.
inline Rgb PaletteColour(int i)
{
    return {static_cast<uint8_t>(i * 3), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i)};
}
inline int PaletteIndex(int x, int y) { return (x * 7 + y * 31) % 256; }
inline Rgb PaletteGradient(int x, int y) { return PaletteColour(PaletteIndex(x, y)); }

// A bottom-up Windows bitmap of 8 (PaletteGradient only), 24 or 32 bits.
inline std::string Bmp(int width, int height, int bits, const PixelFunction& pixel)
{
    std::string palette;
    for (int i = 0; bits == 8 && i < 256; ++i) {
        const Rgb c = PaletteColour(i);
        palette += Pack({c.b, c.g, c.r, 0});
    }
    const size_t rowSize = static_cast<size_t>((width * bits / 8 + 3) / 4 * 4);
    std::string rows;
    for (int y = height - 1; y >= 0; --y) {
        std::string row;
        for (int x = 0; x < width; ++x) {
            const Rgb c = pixel(x, y);
            row += bits == 8 ? Pack({PaletteIndex(x, y)}) : Pack({c.b, c.g, c.r});
            if (bits == 32)
                row += '\xFF';
        }
        rows += row + std::string(rowSize - row.size(), '\0');
    }
    const int64_t offset = 54 + static_cast<int64_t>(palette.size());
    const int64_t imageSize = static_cast<int64_t>(rows.size());
    return "BM" + Le32(offset + imageSize) + Le32(0) + Le32(offset) + Le32(40) + Le32(width) + Le32(height) +
           Le16(1) + Le16(bits) + Le32(0) + Le32(imageSize) + Le32(0) + Le32(0) + Le32(bits == 8 ? 256 : 0) +
           Le32(0) + palette + rows;
}

// Rows top first, pixels blue, green, red, no padding: the engine's order.
inline std::string BgrRows(int width, int height, const PixelFunction& pixel)
{
    std::string bytes;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Rgb c = pixel(x, y);
            bytes += Pack({c.b, c.g, c.r});
        }
    }
    return bytes;
}

inline std::string BitmapRows(const platform::Bitmap24& bitmap)
{
    std::string bytes;
    for (int y = 0; y < bitmap.Height(); ++y)
        bytes.append(reinterpret_cast<const char*>(bitmap.Row(y)), static_cast<size_t>(bitmap.Width()) * 3);
    return bytes;
}

}  // namespace image_files
