#include <algorithm>
#include <csetjmp>
#include <cstdio>

#include "platform/platform_image.h"
#include "platform/platform_image_codec.h"

#include <jerror.h>

namespace platform {

namespace {

// Progressive files may repeat scans without end; real ones need a handful.
constexpr int kMaxJpegScans = 500;
// libjpeg's own memory. A progressive picture keeps every coefficient until
// its last scan: two bytes a pixel for each of up to four components (CMYK)
// at the pixel limit, and room to spare for tables and rows.
constexpr long kJpegCoefficientBytesPerPixel = 2 * 4;
constexpr long kJpegSpareBytes = long{16} << 20;
constexpr long kMaxJpegMemoryBytes = kMaxImagePixels * kJpegCoefficientBytesPerPixel + kJpegSpareBytes;

// libjpeg completes a cut-off stream with grey and only warns; that is damage
// here, so decoding stops at once instead of making up the rest of the picture.
void JpegEmitMessage(j_common_ptr info, int level)
{
    if (level >= 0)
        return;
    JpegErrorManager& errors = ErrorsOf(info);
    ++errors.Base.num_warnings;
    const int code = errors.Base.msg_code;
    if (code != JWRN_JPEG_EOF && code != JWRN_HIT_MARKER)
        return;
    (*errors.Base.format_message)(info, errors.Message);
    std::longjmp(errors.Jump, 1);
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
        Info.err = UseJpegErrors(Errors);
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
    Info.mem->max_memory_to_use = kMaxJpegMemoryBytes;
    Info.progress = &Progress;
    jpeg_mem_src(&Info, File.data(), static_cast<unsigned long>(File.size()));
    if (!Start(error) || !ReadRows(out, error))
        return false;
    jpeg_finish_decompress(&Info);
    return true;
}

bool JpegDecoder::Start(std::string& error)
{
    jpeg_read_header(&Info, TRUE);
    if (!IsImageSide(Info.image_width) || !IsImageSide(Info.image_height)) {
        error = "JPEG size " + std::to_string(Info.image_width) + " x " + std::to_string(Info.image_height) +
                " out of range";
        return false;
    }
    // Checked before libjpeg sets up its buffers, which follow the claimed size.
    if (!CheckImageArea(Info.image_width, Info.image_height, error))
        return false;
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

}  // namespace

bool LoadJPEG(const std::string& nativePath, Bitmap24& out, std::string& error)
{
    out.Clear();
    std::vector<uint8_t> file;
    if (ReadWholeFile(nativePath, file, error) && JpegDecoder(file).Decode(out, error))
        return true;
    out.Clear();
    return Failed(nativePath, error);
}

}  // namespace platform
