#include "platform/platform_image_write.h"

#include <array>
#include <csetjmp>
#include <cstdlib>

#include "platform/platform_image_codec.h"

namespace platform {

namespace {

bool RawImageValid(const RawImage& image)
{
    const bool knownChannels = image.Channels == 1 || image.Channels == 3 || image.Channels == 4;
    return knownChannels && IsImageSide(image.Width) && IsImageSide(image.Height) &&
           image.Pixels.size() ==
               static_cast<size_t>(image.Width) * static_cast<size_t>(image.Height) * image.Channels;
}

// Holds libjpeg's state outside the frame that calls setjmp, so a jump back
// skips no destructor.
class JpegEncoder {
public:
    JpegEncoder()
    {
        Info.err = UseJpegErrors(Errors);
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
