#include "platform/platform_image.h"

#include <SDL.h>
#include <jpeglib.h>
#include <jerror.h>
#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>

namespace platform {

namespace {

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error)
{
    std::error_code failure;
    const auto size = std::filesystem::file_size(path, failure);
    if (failure) {
        error = "cannot open file (" + failure.message() + ")";
        return false;
    }
    if (size > kMaxImageFileBytes) {
        error = "file of " + std::to_string(size) + " bytes is too large";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    bytes.resize(static_cast<size_t>(size));
    if (!in || !in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()))) {
        error = "cannot read file";
        return false;
    }
    return true;
}

// Every reader's messages name the file they are about.
bool Failed(const std::string& path, std::string& error)
{
    error = path + ": " + error;
    return false;
}

bool SideInRange(int64_t side) { return side >= 1 && side <= kMaxImageSide; }

uint32_t ReadLE(const uint8_t* at, int byteCount)
{
    uint32_t value = 0;
    for (int i = byteCount - 1; i >= 0; --i)
        value = (value << 8) | at[i];
    return value;
}

template <size_t N>
void PutLE(std::array<uint8_t, N>& bytes, size_t at, uint32_t value, int byteCount)
{
    for (int i = 0; i < byteCount; ++i)
        bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

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
    if (!SideInRange(layout.Width) || !SideInRange(std::abs(layout.Height))) {
        error = "BMP size " + std::to_string(layout.Width) + " x " + std::to_string(layout.Height) + " out of range";
        return false;
    }
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

// Progressive files may repeat scans without end; real ones need a handful.
constexpr int kMaxJpegScans = 500;

struct JpegErrorManager {
    jpeg_error_mgr Base;  // first member, so libjpeg's pointer leads back here
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
    bool Truncated;
};

JpegErrorManager& ErrorsOf(j_common_ptr info) { return *reinterpret_cast<JpegErrorManager*>(info->err); }

[[noreturn]] void JpegErrorExit(j_common_ptr info)
{
    (*info->err->format_message)(info, ErrorsOf(info).Message);
    std::longjmp(ErrorsOf(info).Jump, 1);
}

void JpegSilence(j_common_ptr) {}

// libjpeg completes a cut-off stream with grey and only warns; that is damage here.
void JpegEmitMessage(j_common_ptr info, int level)
{
    if (level >= 0)
        return;
    JpegErrorManager& errors = ErrorsOf(info);
    ++errors.Base.num_warnings;
    const int code = errors.Base.msg_code;
    if ((code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER) && !errors.Truncated) {
        errors.Truncated = true;
        (*errors.Base.format_message)(info, errors.Message);
    }
}

void JpegLimitScans(j_common_ptr info)
{
    if (!info->is_decompressor || reinterpret_cast<j_decompress_ptr>(info)->input_scan_number <= kMaxJpegScans)
        return;
    JpegErrorManager& errors = ErrorsOf(info);
    std::snprintf(errors.Message, sizeof errors.Message, "JPEG has more than %d scans", kMaxJpegScans);
    std::longjmp(errors.Jump, 1);
}

// Holds libjpeg's state outside the frame that calls setjmp, so a jump back
// skips no destructor.
class JpegDecoder {
public:
    explicit JpegDecoder(const std::vector<uint8_t>& file) : File(file)
    {
        Info.err = jpeg_std_error(&Errors.Base);
        Errors.Base.error_exit = JpegErrorExit;
        Errors.Base.output_message = JpegSilence;
        Errors.Base.emit_message = JpegEmitMessage;
        Progress.progress_monitor = JpegLimitScans;
    }
    ~JpegDecoder() { jpeg_destroy_decompress(&Info); }
    JpegDecoder(const JpegDecoder&) = delete;
    JpegDecoder& operator=(const JpegDecoder&) = delete;

    bool Decode(Bitmap24& out, std::string& error);

private:
    bool Start(std::string& error);
    bool ReadRows(Bitmap24& out, std::string& error);

    const std::vector<uint8_t>& File;
    jpeg_decompress_struct Info{};
    JpegErrorManager Errors{};
    jpeg_progress_mgr Progress{};
};

bool JpegDecoder::Decode(Bitmap24& out, std::string& error)
{
    if (setjmp(Errors.Jump)) {
        error = Errors.Message;
        return false;
    }
    jpeg_create_decompress(&Info);
    Info.progress = &Progress;
    jpeg_mem_src(&Info, File.data(), static_cast<unsigned long>(File.size()));
    if (!Start(error) || !ReadRows(out, error))
        return false;
    jpeg_finish_decompress(&Info);
    if (Errors.Truncated) {
        error = Errors.Message;
        return false;
    }
    return true;
}

bool JpegDecoder::Start(std::string& error)
{
    jpeg_read_header(&Info, TRUE);
    if (!SideInRange(Info.image_width) || !SideInRange(Info.image_height)) {
        error = "JPEG size " + std::to_string(Info.image_width) + " x " + std::to_string(Info.image_height) +
                " out of range";
        return false;
    }
    Info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&Info);
    if (Info.output_components != 3) {
        error = "JPEG does not decode to three channels";
        return false;
    }
    return true;
}

bool JpegDecoder::ReadRows(Bitmap24& out, std::string& error)
{
    if (!out.Create(static_cast<int>(Info.output_width), static_cast<int>(Info.output_height))) {
        error = "JPEG size out of range";
        return false;
    }
    while (Info.output_scanline < Info.output_height) {
        JSAMPROW row = out.Row(static_cast<int>(Info.output_scanline));
        if (jpeg_read_scanlines(&Info, &row, 1) != 1) {
            error = "JPEG data ended early";
            return false;
        }
        for (int x = 0; x < out.Width(); ++x)
            std::swap(row[3 * x], row[3 * x + 2]);
    }
    return true;
}

struct PngInput {
    const uint8_t* Data;
    size_t Size;
    size_t Position;
    char Message[160];
};

PngInput& InputOf(png_structp png) { return *static_cast<PngInput*>(png_get_error_ptr(png)); }

void PngErrorExit(png_structp png, png_const_charp message)
{
    std::snprintf(InputOf(png).Message, sizeof InputOf(png).Message, "%s", message);
    png_longjmp(png, 1);
}

void PngSilence(png_structp, png_const_charp) {}

void PngRead(png_structp png, png_bytep destination, size_t length)
{
    PngInput& input = InputOf(png);
    if (length > input.Size - input.Position)
        png_error(png, "PNG file truncated");
    std::memcpy(destination, input.Data + input.Position, length);
    input.Position += length;
}

// Holds libpng's state outside the frame that calls setjmp, so a jump back
// skips no destructor.
class PngDecoder {
public:
    explicit PngDecoder(const std::vector<uint8_t>& file)
        : Input{file.data(), file.size(), 0, ""},
          Png(png_create_read_struct(PNG_LIBPNG_VER_STRING, &Input, PngErrorExit, PngSilence)),
          Info(Png ? png_create_info_struct(Png) : nullptr)
    {
        if (Png)
            png_set_read_fn(Png, &Input, PngRead);
    }
    ~PngDecoder() { png_destroy_read_struct(&Png, &Info, nullptr); }
    PngDecoder(const PngDecoder&) = delete;
    PngDecoder& operator=(const PngDecoder&) = delete;

    bool Decode(RawImage& out, std::string& error);

private:
    bool CheckSize(std::string& error);
    void RequestEightBitChannels();
    bool CheckOutputLayout(RawImage& out, std::string& error);
    void ReadRows(RawImage& out, int passes);

    PngInput Input;
    png_structp Png;
    png_infop Info;
};

bool PngDecoder::Decode(RawImage& out, std::string& error)
{
    if (!Info) {
        error = "out of memory for the PNG decoder";
        return false;
    }
    if (setjmp(png_jmpbuf(Png))) {
        error = Input.Message;
        return false;
    }
    png_read_info(Png, Info);
    if (!CheckSize(error))
        return false;
    RequestEightBitChannels();
    const int passes = png_set_interlace_handling(Png);
    png_read_update_info(Png, Info);
    if (!CheckOutputLayout(out, error))
        return false;
    ReadRows(out, passes);
    png_read_end(Png, nullptr);
    return true;
}

bool PngDecoder::CheckSize(std::string& error)
{
    const png_uint_32 width = png_get_image_width(Png, Info);
    const png_uint_32 height = png_get_image_height(Png, Info);
    if (SideInRange(width) && SideInRange(height))
        return true;
    error = "PNG size " + std::to_string(width) + " x " + std::to_string(height) + " out of range";
    return false;
}

void PngDecoder::RequestEightBitChannels()
{
    const int colourType = png_get_color_type(Png, Info);
    const bool transparentColour = png_get_valid(Png, Info, PNG_INFO_tRNS) != 0;
    if (colourType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(Png);
    if (colourType == PNG_COLOR_TYPE_GRAY && png_get_bit_depth(Png, Info) < 8)
        png_set_expand_gray_1_2_4_to_8(Png);
    if (transparentColour)
        png_set_tRNS_to_alpha(Png);
    if (png_get_bit_depth(Png, Info) == 16)
        png_set_strip_16(Png);
    // Callers know one channel as alpha only, so grey with alpha becomes RGBA.
    if (colourType == PNG_COLOR_TYPE_GRAY_ALPHA || (colourType == PNG_COLOR_TYPE_GRAY && transparentColour))
        png_set_gray_to_rgb(Png);
}

bool PngDecoder::CheckOutputLayout(RawImage& out, std::string& error)
{
    const uint64_t width = png_get_image_width(Png, Info);
    const uint64_t height = png_get_image_height(Png, Info);
    const int channels = png_get_channels(Png, Info);
    const bool knownLayout = (channels == 1 || channels == 3 || channels == 4) && png_get_bit_depth(Png, Info) == 8 &&
                             png_get_rowbytes(Png, Info) == width * channels;
    if (!knownLayout) {
        error = "PNG does not decode to 1, 3 or 4 channels of 8 bits";
        return false;
    }
    const uint64_t bytes = width * height * static_cast<uint64_t>(channels);
    if (bytes > out.Pixels.max_size()) {
        error = "PNG too large for memory";
        return false;
    }
    out.Width = static_cast<int>(width);
    out.Height = static_cast<int>(height);
    out.Channels = channels;
    out.Pixels.assign(static_cast<size_t>(bytes), 0);
    return true;
}

void PngDecoder::ReadRows(RawImage& out, int passes)
{
    const size_t rowBytes = static_cast<size_t>(out.Width) * out.Channels;
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < out.Height; ++y)
            png_read_row(Png, out.Pixels.data() + y * rowBytes, nullptr);
    }
}

bool DecodePng(const std::vector<uint8_t>& file, RawImage& out, std::string& error)
{
    constexpr size_t kSignatureBytes = 8;
    if (file.size() < kSignatureBytes || png_sig_cmp(file.data(), 0, kSignatureBytes) != 0) {
        error = "not a PNG file";
        return false;
    }
    PngDecoder decoder(file);
    return decoder.Decode(out, error);
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

bool Bitmap24::Create(int width, int height)
{
    Clear();
    if (!SideInRange(width) || !SideInRange(height))
        return false;
    W = width;
    H = height;
    Stride = (3 * width + 3) / 4 * 4;
    Pixels.assign(static_cast<size_t>(Stride) * height, 0);
    return true;
}

void Bitmap24::Clear()
{
    W = 0;
    H = 0;
    Stride = 0;
    std::vector<uint8_t>().swap(Pixels);
}

void Bitmap24::Fill(uint8_t red, uint8_t green, uint8_t blue)
{
    for (int y = 0; y < H; ++y) {
        uint8_t* pixel = Row(y);
        for (int x = 0; x < W; ++x, pixel += 3) {
            pixel[0] = blue;
            pixel[1] = green;
            pixel[2] = red;
        }
    }
}

void Bitmap24::FlipRows()
{
    for (int top = 0, bottom = H - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(Row(top), Row(top) + Stride, Row(bottom));
}

bool LoadBMP(const std::string& nativePath, Bitmap24& out, std::string& error)
{
    out.Clear();
    std::vector<uint8_t> file;
    if (ReadWholeFile(nativePath, file, error) && DecodeBmp(file, out, error))
        return true;
    out.Clear();
    return Failed(nativePath, error);
}

bool LoadJPEG(const std::string& nativePath, Bitmap24& out, std::string& error)
{
    out.Clear();
    std::vector<uint8_t> file;
    if (ReadWholeFile(nativePath, file, error) && JpegDecoder(file).Decode(out, error))
        return true;
    out.Clear();
    return Failed(nativePath, error);
}

bool LoadPNG(const std::string& nativePath, RawImage& out, std::string& error)
{
    out = RawImage();
    std::vector<uint8_t> file;
    if (ReadWholeFile(nativePath, file, error) && DecodePng(file, out, error))
        return true;
    out = RawImage();
    return Failed(nativePath, error);
}

bool SaveBMP(const std::string& nativePath, const Bitmap24& bitmap)
{
    if (bitmap.Empty())
        return false;
    std::ofstream file(nativePath, std::ios::binary | std::ios::trunc);
    if (!file)
        return false;
    const auto header = BmpHeaders(bitmap);
    file.write(reinterpret_cast<const char*>(header.data()), header.size());
    // The surface's own padding bytes may hold anything a caller wrote there.
    const std::vector<char> padding(static_cast<size_t>(bitmap.RowSize() - 3 * bitmap.Width()), 0);
    for (int y = bitmap.Height() - 1; y >= 0 && file; --y) {
        file.write(reinterpret_cast<const char*>(bitmap.Row(y)), 3 * bitmap.Width());
        file.write(padding.data(), static_cast<std::streamsize>(padding.size()));
    }
    file.close();
    return !file.fail();
}

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc)
{
    // zlib answers a null buffer with the initial value, whatever crc it was given.
    if (size == 0)
        return crc;
    return static_cast<uint32_t>(crc32_z(crc, data, size));
}

}  // namespace platform

namespace platform {

namespace {

bool WriteWholeFile(const std::string& nativePath, const std::vector<uint8_t>& bytes)
{
    std::ofstream file(nativePath, std::ios::binary | std::ios::trunc);
    if (!file)
        return false;
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    file.close();
    return !file.fail();
}

bool RawImageValid(const RawImage& image)
{
    const bool knownChannels = image.Channels == 1 || image.Channels == 3 || image.Channels == 4;
    return knownChannels && SideInRange(image.Width) && SideInRange(image.Height) &&
           image.Pixels.size() ==
               static_cast<size_t>(image.Width) * static_cast<size_t>(image.Height) * image.Channels;
}

// Holds libjpeg's state outside the frame that calls setjmp, so a jump back
// skips no destructor.
class JpegEncoder {
public:
    JpegEncoder()
    {
        Info.err = jpeg_std_error(&Errors.Base);
        Errors.Base.error_exit = JpegErrorExit;
        Errors.Base.output_message = JpegSilence;
    }
    ~JpegEncoder()
    {
        jpeg_destroy_compress(&Info);
        std::free(Buffer);
    }
    JpegEncoder(const JpegEncoder&) = delete;
    JpegEncoder& operator=(const JpegEncoder&) = delete;

    bool Encode(const Bitmap24& bitmap, std::vector<uint8_t>& bytes);

private:
    void Configure(const Bitmap24& bitmap);
    void WriteRows(const Bitmap24& bitmap);

    jpeg_compress_struct Info{};
    JpegErrorManager Errors{};
    unsigned char* Buffer = nullptr;
    unsigned long BufferSize = 0;
    std::vector<uint8_t> Row;
};

bool JpegEncoder::Encode(const Bitmap24& bitmap, std::vector<uint8_t>& bytes)
{
    if (setjmp(Errors.Jump))
        return false;
    jpeg_create_compress(&Info);
    jpeg_mem_dest(&Info, &Buffer, &BufferSize);
    Configure(bitmap);
    jpeg_start_compress(&Info, TRUE);
    WriteRows(bitmap);
    jpeg_finish_compress(&Info);
    bytes.assign(Buffer, Buffer + BufferSize);
    return true;
}

void JpegEncoder::Configure(const Bitmap24& bitmap)
{
    Info.image_width = static_cast<JDIMENSION>(bitmap.Width());
    Info.image_height = static_cast<JDIMENSION>(bitmap.Height());
    Info.input_components = 3;
    Info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&Info);
    jpeg_set_quality(&Info, kJpegSaveQuality, TRUE);
    Info.dct_method = JDCT_ISLOW;
    // Fine texture detail suffers most from halved colour resolution.
    for (int component = 0; component < Info.num_components; ++component) {
        Info.comp_info[component].h_samp_factor = 1;
        Info.comp_info[component].v_samp_factor = 1;
    }
}

void JpegEncoder::WriteRows(const Bitmap24& bitmap)
{
    Row.resize(static_cast<size_t>(bitmap.Width()) * 3);
    while (Info.next_scanline < Info.image_height) {
        const uint8_t* pixel = bitmap.Row(static_cast<int>(Info.next_scanline));
        for (size_t x = 0; x < Row.size(); x += 3) {
            Row[x] = pixel[x + 2];
            Row[x + 1] = pixel[x + 1];
            Row[x + 2] = pixel[x];
        }
        JSAMPROW row = Row.data();
        jpeg_write_scanlines(&Info, &row, 1);
    }
}

struct PngOutput {
    std::vector<uint8_t> Bytes;
};

void PngWriteFailed(png_structp png, png_const_charp) { png_longjmp(png, 1); }

void PngWrite(png_structp png, png_bytep data, size_t length)
{
    auto& output = *static_cast<PngOutput*>(png_get_io_ptr(png));
    output.Bytes.insert(output.Bytes.end(), data, data + length);
}

void PngFlush(png_structp) {}

int PngColourType(int channels)
{
    if (channels == 1)
        return PNG_COLOR_TYPE_GRAY;
    return channels == 3 ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGB_ALPHA;
}

// Holds libpng's state outside the frame that calls setjmp, so a jump back
// skips no destructor.
class PngEncoder {
public:
    PngEncoder()
        : Png(png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, PngWriteFailed, PngSilence)),
          Info(Png ? png_create_info_struct(Png) : nullptr)
    {
        if (Png)
            png_set_write_fn(Png, &Output, PngWrite, PngFlush);
    }
    ~PngEncoder() { png_destroy_write_struct(&Png, &Info); }
    PngEncoder(const PngEncoder&) = delete;
    PngEncoder& operator=(const PngEncoder&) = delete;

    bool Encode(const RawImage& image, std::vector<uint8_t>& bytes);

private:
    PngOutput Output;
    png_structp Png;
    png_infop Info;
};

bool PngEncoder::Encode(const RawImage& image, std::vector<uint8_t>& bytes)
{
    if (!Info)
        return false;
    if (setjmp(png_jmpbuf(Png)))
        return false;
    png_set_IHDR(Png, Info, static_cast<png_uint_32>(image.Width), static_cast<png_uint_32>(image.Height), 8,
                 PngColourType(image.Channels), PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(Png, Info);
    const size_t rowBytes = static_cast<size_t>(image.Width) * image.Channels;
    for (int y = 0; y < image.Height; ++y)
        png_write_row(Png, image.Pixels.data() + y * rowBytes);
    png_write_end(Png, nullptr);
    bytes.swap(Output.Bytes);
    return true;
}

constexpr uint8_t kTgaSavedTrueColour = 2;
constexpr uint8_t kTgaSavedGrey = 3;
constexpr size_t kTgaSavedHeaderBytes = 18;
// Descriptor bits 0-3: alpha bits per pixel; bit 5 clear: bottom row first.
constexpr uint8_t kTgaEightAlphaBits = 8;

std::array<uint8_t, kTgaSavedHeaderBytes> TgaHeaders(const RawImage& image)
{
    std::array<uint8_t, kTgaSavedHeaderBytes> header{};
    header[2] = image.Channels == 1 ? kTgaSavedGrey : kTgaSavedTrueColour;
    PutLE(header, 12, static_cast<uint32_t>(image.Width), 2);
    PutLE(header, 14, static_cast<uint32_t>(image.Height), 2);
    header[16] = static_cast<uint8_t>(8 * image.Channels);
    header[17] = image.Channels == 4 ? kTgaEightAlphaBits : 0;
    return header;
}

std::vector<uint8_t> TgaFile(const RawImage& image)
{
    const auto header = TgaHeaders(image);
    std::vector<uint8_t> bytes(header.begin(), header.end());
    const size_t rowBytes = static_cast<size_t>(image.Width) * image.Channels;
    bytes.reserve(bytes.size() + rowBytes * image.Height);
    for (int y = image.Height - 1; y >= 0; --y) {
        const uint8_t* row = image.Pixels.data() + y * rowBytes;
        const size_t start = bytes.size();
        bytes.insert(bytes.end(), row, row + rowBytes);
        if (image.Channels == 1)
            continue;
        for (size_t x = start; x < bytes.size(); x += image.Channels)
            std::swap(bytes[x], bytes[x + 2]);
    }
    return bytes;
}

}  // namespace

bool SaveJPEG(const std::string& nativePath, const Bitmap24& bitmap)
{
    std::vector<uint8_t> bytes;
    return !bitmap.Empty() && JpegEncoder().Encode(bitmap, bytes) && WriteWholeFile(nativePath, bytes);
}

bool SavePNG(const std::string& nativePath, const RawImage& image)
{
    std::vector<uint8_t> bytes;
    return RawImageValid(image) && PngEncoder().Encode(image, bytes) && WriteWholeFile(nativePath, bytes);
}

bool SaveTGA(const std::string& nativePath, const RawImage& image)
{
    return RawImageValid(image) && WriteWholeFile(nativePath, TgaFile(image));
}

}  // namespace platform
