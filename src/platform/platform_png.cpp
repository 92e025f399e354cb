#include <cstdio>
#include <cstring>

#include "platform/platform_image.h"
#include "platform/platform_image_codec.h"

namespace platform {

namespace {

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
    if (!IsImageSide(width) || !IsImageSide(height)) {
        error = "PNG size " + std::to_string(width) + " x " + std::to_string(height) + " out of range";
        return false;
    }
    return CheckImageArea(width, height, error);
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
    out.Width = static_cast<int>(width);
    out.Height = static_cast<int>(height);
    out.Channels = channels;
    out.Pixels.clear();
    return true;
}

// The pixels grow row by row in the first pass, so a file whose data ends
// early costs the rows it holds, not the size its header claims.
void PngDecoder::ReadRows(RawImage& out, int passes)
{
    const size_t rowBytes = static_cast<size_t>(out.Width) * out.Channels;
    for (int pass = 0; pass < passes; ++pass) {
        for (size_t y = 0; y < static_cast<size_t>(out.Height); ++y) {
            if (pass == 0)
                out.Pixels.resize((y + 1) * rowBytes);
            png_read_row(Png, out.Pixels.data() + y * rowBytes, nullptr);
        }
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

}  // namespace

bool LoadPNG(const std::string& nativePath, RawImage& out, std::string& error)
{
    out = RawImage();
    std::vector<uint8_t> file;
    if (ReadWholeFile(nativePath, file, error) && DecodePng(file, out, error))
        return true;
    out = RawImage();
    return Failed(nativePath, error);
}

}  // namespace platform
