// Picture files built byte by byte for the image tests, so every header field
// is under the test's control: BMP, TGA, PNG and JPEG writers, numbers in
// either byte order, and a bitmap's pixels as plain rows. The PNG and JPEG
// writers use zlib and libjpeg directly, never the readers under test.
#pragma once

#include <jpeglib.h>
#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "platform/platform_image.h"

namespace image_files {

// The pixel limit is 4096 x 4096; errors name it by its count.
constexpr int kLimitSide = 4096;
inline const std::string kPixelLimit = std::to_string(platform::kMaxImagePixels);

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
};

// A picture given pixel by pixel; y = 0 is the top row.
using PixelFunction = std::function<Rgb(int x, int y)>;

inline std::string Pack(std::initializer_list<int> values) { return std::string(values.begin(), values.end()); }

inline std::string Le16(int64_t v) { return Pack({static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF)}); }
inline std::string Le32(int64_t v) { return Le16(v & 0xFFFF) + Le16((v >> 16) & 0xFFFF); }
inline std::string Be32(uint32_t v)
{
    const std::string le = Le32(v);
    return {le.rbegin(), le.rend()};
}

// An 18-byte TGA header followed by pixels exactly as given.
inline std::string Tga(int type, int depth, int width, int height, const std::string& pixels, int idLength = 0,
                       int colourMapType = 0)
{
    return Pack({idLength, colourMapType, type, 0, 0, 0, 0, 0}) + Le16(0) + Le16(0) + Le16(width) + Le16(height) +
           Pack({depth, 0}) + pixels;
}

// A BMP with a 40-byte info header; palette holds 4-byte entries, pixels the
// rows exactly as stored (padding included).
inline std::string BmpFile(int64_t width, int64_t height, int bits, const std::string& palette,
                           const std::string& pixels, int compression = 0)
{
    const auto offset = static_cast<int64_t>(54 + palette.size());
    const auto size = static_cast<int64_t>(pixels.size());
    return "BM" + Le32(offset + size) + Le32(0) + Le32(offset) + Le32(40) + Le32(width) + Le32(height) + Le16(1) +
           Le16(bits) + Le32(compression) + Le32(size) + Le32(0) + Le32(0) +
           Le32(static_cast<int64_t>(palette.size() / 4)) + Le32(0) + palette + pixels;
}

inline Rgb Gradient(int x, int y)
{
    return {static_cast<uint8_t>(x * 40 + y), static_cast<uint8_t>(100 + y * 10 + x),
            static_cast<uint8_t>(200 - x - y)};
}

// Row y of a picture as blue, green, red bytes without padding, the engine's
// order; with alpha, each pixel gets an opaque fourth byte.
inline std::string BgrRow(int width, int y, const PixelFunction& pixel, bool alpha = false)
{
    std::string row;
    for (int x = 0; x < width; ++x) {
        const Rgb c = pixel(x, y);
        row += Pack({c.b, c.g, c.r}) + std::string(alpha, '\xFF');
    }
    return row;
}

// A bottom-up Windows bitmap of 24 or 32 (opaque) bits, rows padded to 4 bytes.
inline std::string Bmp(int width, int height, int bits, const PixelFunction& pixel)
{
    std::string rows;
    for (int y = height - 1; y >= 0; --y) {
        const std::string row = BgrRow(width, y, pixel, bits == 32);
        rows += row + std::string((4 - row.size() % 4) % 4, '\0');
    }
    return BmpFile(width, height, bits, "", rows);
}

inline std::string PngChunk(const std::string& type, const std::string& data)
{
    const std::string body = type + data;
    const auto crc = crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()));
    return Be32(static_cast<uint32_t>(data.size())) + body + Be32(static_cast<uint32_t>(crc));
}

// Each row behind a filter byte of 0 (none), as the image data expects.
inline std::string PngRows(std::initializer_list<std::string> rows)
{
    std::string scanlines;
    for (const std::string& row : rows)
        scanlines += '\0' + row;
    return scanlines;
}

struct PngHeader {
    uint32_t Width, Height;
    int BitDepth, ColourType, Interlace = 0;
};

// extraChunks go between the header and the image data (PLTE, tRNS).
inline std::string PngFile(const PngHeader& header, const std::string& scanlines, const std::string& extraChunks = "")
{
    const std::string ihdr = Be32(header.Width) + Be32(header.Height) +
                             Pack({header.BitDepth, header.ColourType, 0, 0, header.Interlace});
    std::vector<Bytef> packed(compressBound(static_cast<uLong>(scanlines.size())));
    uLongf packedSize = static_cast<uLongf>(packed.size());
    compress(packed.data(), &packedSize, reinterpret_cast<const Bytef*>(scanlines.data()),
             static_cast<uLong>(scanlines.size()));
    return "\x89PNG\r\n\x1a\n" + PngChunk("IHDR", ihdr) + extraChunks +
           PngChunk("IDAT", std::string(packed.begin(), packed.begin() + packedSize)) + PngChunk("IEND", "");
}

// samples: rows top first, 3 (RGB) or 1 (grey) bytes a pixel.
inline std::string Jpeg(int width, int height, int components, const std::vector<uint8_t>& samples,
                        bool progressive = false)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = components;
    info.in_color_space = components == 3 ? JCS_RGB : JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    if (progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(samples.data() + info.next_scanline * width * components);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::string encoded(reinterpret_cast<char*>(buffer), size);
    std::free(buffer);
    return encoded;
}

// 13 x 32 RGB samples: the upper half orange (E67814), the lower half teal
// (148C96). The bands meet on a block boundary, so the colours survive JPEG.
inline std::vector<uint8_t> TwoBands()
{
    const uint8_t bands[2][3] = {{230, 120, 20}, {20, 140, 150}};
    std::vector<uint8_t> samples;
    for (int i = 0; i < 13 * 32; ++i)
        samples.insert(samples.end(), bands[i / (13 * 16)], bands[i / (13 * 16)] + 3);
    return samples;
}

// A bitmap pixel as 0xRRGGBB.
inline uint32_t PixelAt(const platform::Bitmap24& bitmap, int x, int y)
{
    const uint8_t* pixel = bitmap.Row(y) + 3 * x;
    return uint32_t(pixel[2]) << 16 | uint32_t(pixel[1]) << 8 | pixel[0];
}

// Each channel within JPEG's rounding of the other.
inline bool Near(uint32_t actual, uint32_t expected)
{
    for (int shift : {0, 8, 16}) {
        if (std::abs(int((actual >> shift) & 255) - int((expected >> shift) & 255)) > 12)
            return false;
    }
    return true;
}

inline std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace image_files
