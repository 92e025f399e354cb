#include "platform/platform_image_codec.h"

#include <filesystem>
#include <fstream>

#include "platform/platform_bitmap.h"

namespace platform {

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

bool WriteWholeFile(const std::string& nativePath, const std::vector<uint8_t>& bytes)
{
    std::ofstream file(nativePath, std::ios::binary | std::ios::trunc);
    if (!file)
        return false;
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    file.close();
    return !file.fail();
}

bool Failed(const std::string& path, std::string& error)
{
    error = path + ": " + error;
    return false;
}

uint32_t ReadLE(const uint8_t* at, int byteCount)
{
    uint32_t value = 0;
    for (int i = byteCount - 1; i >= 0; --i)
        value = (value << 8) | at[i];
    return value;
}

JpegErrorManager& ErrorsOf(j_common_ptr info) { return *reinterpret_cast<JpegErrorManager*>(info->err); }

namespace {

[[noreturn]] void JpegErrorExit(j_common_ptr info)
{
    (*info->err->format_message)(info, ErrorsOf(info).Message);
    std::longjmp(ErrorsOf(info).Jump, 1);
}

void JpegSilence(j_common_ptr) {}

}  // namespace

jpeg_error_mgr* UseJpegErrors(JpegErrorManager& errors)
{
    jpeg_error_mgr* manager = jpeg_std_error(&errors.Base);
    manager->error_exit = JpegErrorExit;
    manager->output_message = JpegSilence;
    return manager;
}

void PngSilence(png_structp, png_const_charp) {}

}  // namespace platform
