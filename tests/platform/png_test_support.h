// PNG files assembled chunk by chunk, so tests control every header field.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

inline std::string BigEndian32(uint32_t value)
{
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16), static_cast<char>(value >> 8),
            static_cast<char>(value)};
}

inline std::string PngChunk(const std::string& type, const std::string& data)
{
    const std::string body = type + data;
    const auto crc = crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()));
    return BigEndian32(static_cast<uint32_t>(data.size())) + body + BigEndian32(static_cast<uint32_t>(crc));
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
    uint32_t Width;
    uint32_t Height;
    int BitDepth;
    int ColourType;
    int Interlace = 0;
};

// extraChunks go between the header and the image data (PLTE, tRNS).
inline std::string PngFile(const PngHeader& header, const std::string& scanlines, const std::string& extraChunks = "")
{
    const std::string ihdr = BigEndian32(header.Width) + BigEndian32(header.Height) +
                             static_cast<char>(header.BitDepth) + static_cast<char>(header.ColourType) + '\0' +
                             '\0' + static_cast<char>(header.Interlace);
    std::vector<Bytef> packed(compressBound(static_cast<uLong>(scanlines.size())));
    uLongf packedSize = static_cast<uLongf>(packed.size());
    compress(packed.data(), &packedSize, reinterpret_cast<const Bytef*>(scanlines.data()),
             static_cast<uLong>(scanlines.size()));
    return std::string("\x89PNG\r\n\x1a\n") + PngChunk("IHDR", ihdr) + extraChunks +
           PngChunk("IDAT", std::string(packed.begin(), packed.begin() + packedSize)) + PngChunk("IEND", "");
}
