#include "picture.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>

namespace bake {

namespace fs = std::filesystem;

namespace {

constexpr FileFormat kAllFormats[] = {FileFormat::Bmp, FileFormat::Jpeg, FileFormat::Tga, FileFormat::Png};

uint8_t ToByte(float v) { return static_cast<uint8_t>(std::lround(Clamp01(v) * 255.0f)); }

fs::path TreePath(const std::string& root, const std::string& name)
{
    std::string relative = name;
    for (char& c : relative) {
        if (c == '\\')
            c = '/';
    }
    return fs::path(root) / relative;
}

std::string ReadBytes(const fs::path& path)
{
    std::error_code failure;
    const auto size = fs::file_size(path, failure);
    std::string bytes(failure ? 0 : static_cast<size_t>(size), '\0');
    std::ifstream(path, std::ios::binary).read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

// Writes through `save` into a staging file beside the target and keeps it
// only when it differs, so an unchanged file keeps its time stamp.
bool WriteIfChanged(const fs::path& target, const std::function<bool(const std::string&)>& save, std::string& error)
{
    std::error_code failure;
    fs::create_directories(target.parent_path(), failure);
    const fs::path staged = target.string() + ".baking";
    if (failure || !save(staged.string())) {
        error = "cannot write " + staged.string();
        fs::remove(staged, failure);
        return false;
    }
    if (fs::exists(target) && ReadBytes(staged) == ReadBytes(target)) {
        fs::remove(staged, failure);
        return true;
    }
    fs::rename(staged, target, failure);
    if (failure)
        error = "cannot replace " + target.string() + " (" + failure.message() + ")";
    return !failure;
}

bool SavePicture(const std::string& path, const Picture& picture)
{
    switch (picture.Format) {
    case FileFormat::Bmp:
        return platform::SaveBMP(path, ToBitmap(picture.Image));
    case FileFormat::Jpeg:
        return platform::SaveJPEG(path, ToBitmap(picture.Image));
    case FileFormat::Tga:
        return platform::SaveTGA(path, ToRaw(picture.Image, picture.Channels));
    case FileFormat::Png:
        return platform::SavePNG(path, ToRaw(picture.Image, picture.Channels));
    }
    return false;
}

bool RemoveOtherFormats(const std::string& root, const Picture& picture, std::string& error)
{
    for (FileFormat format : kAllFormats) {
        if (format == picture.Format)
            continue;
        std::error_code failure;
        const fs::path other = TreePath(root, picture.Name + "." + Extension(format));
        fs::remove(other, failure);
        if (failure) {
            error = "cannot remove " + other.string();
            return false;
        }
    }
    return true;
}

}  // namespace

const char* Extension(FileFormat format)
{
    switch (format) {
    case FileFormat::Bmp:
        return "bmp";
    case FileFormat::Jpeg:
        return "jpg";
    case FileFormat::Tga:
        return "tga";
    case FileFormat::Png:
        return "png";
    }
    return "";
}

platform::RawImage ToRaw(const Canvas& canvas, int channels)
{
    platform::RawImage raw;
    raw.Width = canvas.Width();
    raw.Height = canvas.Height();
    raw.Channels = channels;
    raw.Pixels.resize(static_cast<size_t>(raw.Width) * raw.Height * channels);
    uint8_t* out = raw.Pixels.data();
    for (int y = 0; y < raw.Height; ++y) {
        for (int x = 0; x < raw.Width; ++x) {
            const Color& c = canvas.At(x, y);
            if (channels == 1) {
                *out++ = ToByte(c.a);
                continue;
            }
            *out++ = ToByte(c.r);
            *out++ = ToByte(c.g);
            *out++ = ToByte(c.b);
            if (channels == 4)
                *out++ = ToByte(c.a);
        }
    }
    return raw;
}

platform::Bitmap24 ToBitmap(const Canvas& canvas)
{
    platform::Bitmap24 bitmap;
    bitmap.Create(canvas.Width(), canvas.Height());
    for (int y = 0; y < bitmap.Height(); ++y) {
        uint8_t* pixel = bitmap.Row(y);
        for (int x = 0; x < bitmap.Width(); ++x, pixel += 3) {
            const Color& c = canvas.At(x, y);
            pixel[0] = ToByte(c.b);
            pixel[1] = ToByte(c.g);
            pixel[2] = ToByte(c.r);
        }
    }
    return bitmap;
}

bool WritePicture(const std::string& root, const Picture& picture, std::string& error)
{
    const fs::path target = TreePath(root, picture.Name + "." + Extension(picture.Format));
    const auto save = [&picture](const std::string& path) { return SavePicture(path, picture); };
    return RemoveOtherFormats(root, picture, error) && WriteIfChanged(target, save, error);
}

bool WriteText(const std::string& root, const TextFile& text, std::string& error)
{
    const auto save = [&text](const std::string& path) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << text.Text;
        out.close();
        return !out.fail();
    };
    return WriteIfChanged(TreePath(root, text.Name), save, error);
}

bool WriteModel(const std::string& root, const ModelFile& model, std::string& error)
{
    const auto save = [&model](const std::string& path) { return ztm::Write(path, model.Model); };
    return WriteIfChanged(TreePath(root, model.Name + ".ztm"), save, error);
}

bool WritePng(const std::string& path, const Canvas& canvas, std::string& error)
{
    if (platform::SavePNG(path, ToRaw(canvas, 3)))
        return true;
    error = "cannot write " + path;
    return false;
}

}  // namespace bake
