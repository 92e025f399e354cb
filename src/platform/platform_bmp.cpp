#include <SDL.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/platform_image.h"
#include "platform/platform_image_codec.h"

namespace platform {

namespace {

constexpr size_t kBmpFileHeaderBytes = 14;
constexpr uint32_t kBmpCoreHeaderBytes = 12;
constexpr uint32_t kBmpInfoHeaderBytes = 40;
constexpr uint32_t kBmpLargestHeaderBytes = 124;
constexpr uint32_t kBmpMaskBytes = 12;

enum BmpCompression : uint32_t { kBmpRgb = 0, kBmpRle8 = 1, kBmpRle4 = 2, kBmpBitFields = 3 };

struct BmpLayout {
    uint32_t PixelOffset = 0;
    uint32_t HeaderSize = 0;
    int64_t Width = 0;
    // Negative when the rows are stored top row first.
    int64_t Height = 0;
    uint32_t BitsPerPixel = 0;
    uint32_t Compression = kBmpRgb;
};

bool ReadBmpLayout(const std::vector<uint8_t>& file, BmpLayout& layout, std::string& error)
{
    if (file.size() < kBmpFileHeaderBytes + 4 || file[0] != 'B' || file[1] != 'M') {
        error = "not a BMP file";
        return false;
    }
    const uint8_t* bytes = file.data();
    layout.PixelOffset = ReadLE(bytes + 10, 4);
    layout.HeaderSize = ReadLE(bytes + 14, 4);
    const uint32_t headerSize = layout.HeaderSize;
    if (headerSize != kBmpCoreHeaderBytes && (headerSize < kBmpInfoHeaderBytes || headerSize > kBmpLargestHeaderBytes)) {
        error = "unknown BMP header of " + std::to_string(headerSize) + " bytes";
        return false;
    }
    if (file.size() < kBmpFileHeaderBytes + headerSize) {
        error = "BMP headers truncated";
        return false;
    }
    if (headerSize == kBmpCoreHeaderBytes) {
        layout.Width = ReadLE(bytes + 18, 2);
        layout.Height = ReadLE(bytes + 20, 2);
        layout.BitsPerPixel = ReadLE(bytes + 24, 2);
        return true;
    }
    layout.Width = static_cast<int32_t>(ReadLE(bytes + 18, 4));
    layout.Height = static_cast<int32_t>(ReadLE(bytes + 22, 4));
    layout.BitsPerPixel = ReadLE(bytes + 28, 2);
    layout.Compression = ReadLE(bytes + 30, 4);
    return true;
}

bool CheckBmpEncoding(const BmpLayout& layout, std::string& error)
{
    const uint32_t bits = layout.BitsPerPixel;
    bool valid = false;
    switch (layout.Compression) {
    case kBmpRgb:
        valid = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
        break;
    case kBmpRle8:
        valid = bits == 8 && layout.Height > 0;
        break;
    case kBmpRle4:
        valid = bits == 4 && layout.Height > 0;
        break;
    case kBmpBitFields:
        valid = bits == 16 || bits == 32;
        break;
    }
    if (!valid)
        error = "unsupported BMP encoding (" + std::to_string(bits) + " bits, compression " +
                std::to_string(layout.Compression) + ")";
    return valid;
}

uint64_t BmpUncompressedBytes(const BmpLayout& layout)
{
    const uint64_t rowBytes = (static_cast<uint64_t>(layout.Width) * layout.BitsPerPixel + 31) / 32 * 4;
    return rowBytes * static_cast<uint64_t>(std::abs(layout.Height));
}

// SDL reads whatever the headers promise, so the file must really hold it.
bool CheckBmpExtent(const BmpLayout& layout, size_t fileSize, std::string& error)
{
    uint64_t headersEnd = kBmpFileHeaderBytes + layout.HeaderSize;
    if (layout.Compression == kBmpBitFields && layout.HeaderSize == kBmpInfoHeaderBytes)
        headersEnd += kBmpMaskBytes;
    if (layout.PixelOffset < headersEnd || layout.PixelOffset >= fileSize) {
        error = "BMP pixel offset " + std::to_string(layout.PixelOffset) + " lies inside the headers or past the file";
        return false;
    }
    const bool compressed = layout.Compression == kBmpRle8 || layout.Compression == kBmpRle4;
    const uint64_t needed = compressed ? 1 : BmpUncompressedBytes(layout);
    if (fileSize - layout.PixelOffset < needed) {
        error = "BMP pixel data truncated (" + std::to_string(fileSize - layout.PixelOffset) + " of " +
                std::to_string(needed) + " bytes)";
        return false;
    }
    return true;
}

bool CheckBmpHeaders(const std::vector<uint8_t>& file, std::string& error)
{
    BmpLayout layout;
    if (!ReadBmpLayout(file, layout, error))
        return false;
    if (!IsImageSide(layout.Width) || !IsImageSide(std::abs(layout.Height))) {
        error = "BMP size " + std::to_string(layout.Width) + " x " + std::to_string(layout.Height) + " out of range";
        return false;
    }
    // A run-length file of a few bytes may legally describe the largest picture.
    if (!CheckImageArea(layout.Width, std::abs(layout.Height), error))
        return false;
    return CheckBmpEncoding(layout, error) && CheckBmpExtent(layout, file.size(), error);
}

struct SurfaceDeleter {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

// SDL's colour conversion looks indices up in a table as long as the palette,
// and its RLE reader does not check them.
bool PaletteIndicesValid(const SDL_Surface& surface)
{
    const SDL_Palette* palette = surface.format->palette;
    if (!palette)
        return true;
    for (int y = 0; y < surface.h; ++y) {
        const auto* row = static_cast<const uint8_t*>(surface.pixels) + static_cast<size_t>(y) * surface.pitch;
        if (std::any_of(row, row + surface.w, [palette](uint8_t index) { return index >= palette->ncolors; }))
            return false;
    }
    return true;
}

SurfacePtr ReadBmpSurface(const std::vector<uint8_t>& file, std::string& error)
{
    SDL_RWops* source = SDL_RWFromConstMem(file.data(), static_cast<int>(file.size()));
    SurfacePtr surface(source ? SDL_LoadBMP_RW(source, 1) : nullptr);
    if (!surface) {
        error = std::string("BMP not readable (") + SDL_GetError() + ")";
        return nullptr;
    }
    if (!PaletteIndicesValid(*surface)) {
        error = "BMP pixel refers to a colour outside its palette";
        return nullptr;
    }
    SurfacePtr converted(SDL_ConvertSurfaceFormat(surface.get(), SDL_PIXELFORMAT_BGR24, 0));
    if (!converted)
        error = std::string("BMP not convertible to 24 bits (") + SDL_GetError() + ")";
    return converted;
}

bool CopySurface(const SDL_Surface& surface, Bitmap24& out, std::string& error)
{
    if (!out.Create(surface.w, surface.h)) {
        error = "BMP size out of range";
        return false;
    }
    const size_t rowBytes = static_cast<size_t>(surface.w) * 3;
    for (int y = 0; y < surface.h; ++y)
        std::memcpy(out.Row(y), static_cast<const uint8_t*>(surface.pixels) + static_cast<size_t>(y) * surface.pitch,
                    rowBytes);
    return true;
}

bool DecodeBmp(const std::vector<uint8_t>& file, Bitmap24& out, std::string& error)
{
    if (!CheckBmpHeaders(file, error))
        return false;
    const SurfacePtr surface = ReadBmpSurface(file, error);
    return surface && CopySurface(*surface, out, error);
}

constexpr uint32_t kBmpSavedHeaderBytes = kBmpFileHeaderBytes + kBmpInfoHeaderBytes;

std::array<uint8_t, kBmpSavedHeaderBytes> BmpHeaders(const Bitmap24& bitmap)
{
    const uint32_t imageBytes = static_cast<uint32_t>(bitmap.RowSize()) * static_cast<uint32_t>(bitmap.Height());
    std::array<uint8_t, kBmpSavedHeaderBytes> header{};
    header[0] = 'B';
    header[1] = 'M';
    PutLE(header, 2, kBmpSavedHeaderBytes + imageBytes, 4);
    PutLE(header, 10, kBmpSavedHeaderBytes, 4);
    PutLE(header, 14, kBmpInfoHeaderBytes, 4);
    PutLE(header, 18, static_cast<uint32_t>(bitmap.Width()), 4);
    PutLE(header, 22, static_cast<uint32_t>(bitmap.Height()), 4);
    PutLE(header, 26, 1, 2);
    PutLE(header, 28, 24, 2);
    PutLE(header, 34, imageBytes, 4);
    return header;
}

}  // namespace

bool LoadBMP(const std::string& nativePath, Bitmap24& out, std::string& error)
{
    out.Clear();
    std::vector<uint8_t> file;
    if (ReadWholeFile(nativePath, file, error) && DecodeBmp(file, out, error))
        return true;
    out.Clear();
    return Failed(nativePath, error);
}

bool SaveBMP(const std::string& nativePath, const Bitmap24& bitmap)
{
    if (bitmap.Empty())
        return false;
    const auto header = BmpHeaders(bitmap);
    std::vector<uint8_t> bytes(header.begin(), header.end());
    const size_t rowBytes = static_cast<size_t>(3 * bitmap.Width());
    // The surface's own padding bytes may hold anything a caller wrote there.
    const size_t padding = static_cast<size_t>(bitmap.RowSize()) - rowBytes;
    for (int y = bitmap.Height() - 1; y >= 0; --y) {
        bytes.insert(bytes.end(), bitmap.Row(y), bitmap.Row(y) + rowBytes);
        bytes.insert(bytes.end(), padding, 0);
    }
    return WriteWholeFile(nativePath, bytes);
}

}  // namespace platform
