#include "resource/resource_image.h"

#include <algorithm>
#include <utility>

#include "core/file_file.h"
#include "core/zot_console.h"
#include "core/zot_convert.h"
#include "core/zot_file.h"
#include "core/zot_main.h"
#include "platform/platform_image.h"
#include "platform/platform_system.h"
#include "resource/imgload.h"

namespace {

constexpr const char* kDefaultName = "RESOURCE IMAGE";
constexpr const char* kKind = "Image";
constexpr const char* kErrorSource = "ZR_IMAGE";

constexpr int64_t kTgaHeaderSize = 18;
constexpr uint8_t kTgaTrueColour = 2;
constexpr uint8_t kTgaGrey = 3;
// The colour map fields (5 bytes) and the X and Y origins (2 bytes each).
constexpr int kTgaSkippedHeaderBytes = 9;

struct TgaHeader {
    uint8_t IdLength = 0;
    uint8_t ColorMapType = 0;
    uint8_t ImageType = 0;
    uint16_t Width = 0;
    uint16_t Height = 0;
    uint8_t Depth = 0;
};

void ReportBadImage(const std::string& path, const std::string& why)
{
    ReportError(kErrorSource, "Can't load image \"" + path + "\": " + why);
}


// Resource root + name + "." + extension; without an engine the name stays relative.
std::string ResourcePath(const std::string& name, std::string_view extension)
{
    if (!CurrentEngine || !CurrentEngine->FileSystem)
        return name + "." + std::string(extension);
    return CurrentEngine->FileSystem->MakePath(name, extension);
}

bool IsValidSide(int64_t side) { return side >= 1 && side <= platform::kMaxImageSide; }

std::string SizeText(int64_t width, int64_t height) { return std::to_string(width) + "*" + std::to_string(height); }

bool IsKnownFormat(int32_t format) { return format == kImageRGB || format == kImageRGBA || format == kImageAlpha; }

int32_t FormatOfChannels(int channels)
{
    if (channels == 1)
        return kImageAlpha;
    return channels == 3 ? kImageRGB : kImageRGBA;
}

TgaHeader ReadTgaHeader(ZOTFile& file)
{
    TgaHeader header;
    header.IdLength = file.ReadByte();
    header.ColorMapType = file.ReadByte();
    header.ImageType = file.ReadByte();
    uint8_t skipped[kTgaSkippedHeaderBytes];
    file.ReadBuffer(skipped, sizeof skipped);
    header.Width = file.ReadWord();
    header.Height = file.ReadWord();
    header.Depth = file.ReadByte();
    file.ReadByte();  // The descriptor's origin bits are not consulted.
    return header;
}

// Why the loader cannot take a file with this header; empty when it can.
std::string TgaHeaderFault(const TgaHeader& header)
{
    if (header.IdLength != 0)
        return "image ID not supported";
    if (header.ColorMapType != 0)
        return "colour-mapped image not supported";
    if (header.ImageType != kTgaTrueColour && header.ImageType != kTgaGrey)
        return "image type " + std::to_string(header.ImageType) + " not supported";
    if (header.Depth != 8 && header.Depth != 24 && header.Depth != 32)
        return "pixel depth " + std::to_string(header.Depth) + " not supported";
    if ((header.ImageType == kTgaGrey) != (header.Depth == 8))
        return "pixel depth " + std::to_string(header.Depth) + " does not match image type " +
               std::to_string(header.ImageType);
    if (!IsValidSide(header.Width) || !IsValidSide(header.Height))
        return "bad size " + SizeText(header.Width, header.Height);
    std::string areaFault;
    if (!platform::CheckImageArea(header.Width, header.Height, areaFault))
        return areaFault;
    return {};
}

int32_t TgaFormat(uint8_t depth)
{
    if (depth == 8)
        return kImageAlpha;
    return depth == 24 ? kImageRGB : kImageRGBA;
}

// Fills data and depth from an open TGA file; gives why it cannot, or empty.
// Read failures of the file surface as ZOTIOError.
std::string ReadTga(ZOTFile& file, TIData& data, int32_t& depth)
{
    if (file.Remaining() < kTgaHeaderSize)
        return "truncated header";
    const TgaHeader header = ReadTgaHeader(file);
    const std::string fault = TgaHeaderFault(header);
    if (!fault.empty())
        return fault;
    const int64_t bytes = int64_t{header.Width} * header.Height * (header.Depth / 8);
    if (bytes > file.Remaining())
        return "truncated pixel data";
    data.Format = TgaFormat(header.Depth);
    data.Width = header.Width;
    data.Height = header.Height;
    data.Pixels.resize(static_cast<size_t>(bytes));
    file.ReadBuffer(data.Pixels.data(), bytes);
    depth = header.Depth;
    return {};
}

// The file's blue, green, red order becomes red, green, blue; one-byte pixels stay.
void SwapRedAndBlue(TIData& data)
{
    const size_t step = static_cast<size_t>(BytesPerPixel(data.Format));
    if (step < 3)
        return;
    for (size_t i = 0; i + step <= data.Pixels.size(); i += step)
        std::swap(data.Pixels[i], data.Pixels[i + 2]);
}

// Hands the image library's buffer back however the PNG loader leaves.
struct PngBuffer {
    unsigned char* Data = nullptr;
    PngBuffer() = default;
    PngBuffer(const PngBuffer&) = delete;
    PngBuffer& operator=(const PngBuffer&) = delete;
    ~PngBuffer()
    {
        if (Data)
            imgload_FreeData(&Data);
    }
};

}  // namespace

int32_t BytesPerPixel(int32_t format)
{
    if (format == kImageRGBA)
        return 4;
    return format == kImageAlpha ? 1 : 3;
}

ZRImage::ZRImage(ZOTOwner* owner) : ZRImage(std::string(), owner) {}

ZRImage::ZRImage(const std::string& fileName, ZOTOwner* owner) : ZOTResource(owner, kDefaultName, "ZRImage")
{
    Settings.Tag = 0;
    if (owner)
        SetParent(owner);
    if (!fileName.empty())
        LoadFromFile(fileName);
    Reset();
}

ZRImage::~ZRImage() { ZRImage::Unload(); }

void ZRImage::LoadFromFile(const std::string& fileName) { Load(fileName, {}); }

void ZRImage::LoadFromFile(const std::string& fileName, std::string_view extension) { Load(fileName, extension); }

void ZRImage::Load(const std::string& fileName, std::string_view onlyExtension)
{
    Unload();
    NameAfterFile(fileName, kDefaultName, true);
    LogResource("Creating", kKind);
    if (!LoadFirstFound(fileName, onlyExtension))
        ReportError("ZT_FILE", "File \"" + fileName + "\" not found!");
}

bool ZRImage::LoadFirstFound(const std::string& fileName, std::string_view onlyExtension)
{
    if (!CurrentEngine || !CurrentEngine->FileSystem)
        return false;
    // The search order and the loader of each extension.
    const std::pair<std::string_view, Loader> loaders[] = {
        {"bmp", &ZRImage::LoadBMP},
        {"jpg", &ZRImage::LoadJPEG},
        {"tga", &ZRImage::LoadTGA},
        {"png", &ZRImage::LoadPNG},
    };
    for (const auto& [extension, load] : loaders) {
        if (!onlyExtension.empty() && extension != onlyExtension)
            continue;
        const std::string path = ResourcePath(fileName, extension);
        if (!CurrentEngine->FileSystem->Exists(path, false))
            continue;
        (this->*load)(path);
        return true;
    }
    return false;
}

void ZRImage::LoadBMP(const std::string& path) { LoadBitmapWith(path, platform::LoadBMP); }

void ZRImage::LoadJPEG(const std::string& path) { LoadBitmapWith(path, platform::LoadJPEG); }

void ZRImage::LoadBitmapWith(const std::string& path, BitmapReader read)
{
    auto bitmap = std::make_unique<platform::Bitmap24>();
    std::string why;
    if (!read(platform::NativePath(path), *bitmap, why)) {
        ReportBadImage(path, why);
        return;
    }
    if (bitmap->Empty()) {
        ReportBadImage(path, "no pixels");
        return;
    }
    AdoptBitmap(std::move(bitmap));
}

void ZRImage::LoadTGA(const std::string& path)
{
    TIData data;
    int32_t depth = 0;
    std::string why;
    try {
        std::unique_ptr<ZOTFile> file = CurrentEngine->FileSystem->OpenForReading(path, kFileBinary);
        why = ReadTga(*file, data, depth);
    } catch (const ZOTIOError& error) {
        why = error.what();
    }
    if (!why.empty()) {
        ReportBadImage(path, why);
        return;
    }
    SwapRedAndBlue(data);
    AdoptData(std::move(data), depth);
    FlipDataRows();
}

void ZRImage::LoadPNG(const std::string& path)
{
    int width = 0;
    int height = 0;
    int channels = 0;
    PngBuffer buffer;
    if (!imgload_LoadPNG(platform::NativePath(path).c_str(), &width, &height, &channels, &buffer.Data)) {
        ReportBadImage(path, "Error in DLL function \"imgload_LoadPNG\"");
        return;
    }
    if (!buffer.Data || !IsValidSide(width) || !IsValidSide(height) ||
        (channels != 1 && channels != 3 && channels != 4)) {
        ReportBadImage(path, "bad size " + SizeText(width, height) + " of " + std::to_string(channels) + " channels");
        return;
    }
    TIData data;
    data.Format = FormatOfChannels(channels);
    data.Width = width;
    data.Height = height;
    const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * static_cast<size_t>(channels);
    data.Pixels.assign(buffer.Data, buffer.Data + bytes);
    AdoptData(std::move(data), channels * 8);
}

void ZRImage::AdoptBitmap(std::unique_ptr<platform::Bitmap24> bitmap)
{
    Bitmap = std::move(bitmap);
    Width = Bitmap->Width();
    Height = Bitmap->Height();
    BitsPerPixel = 24;
    Empty = false;
}

void ZRImage::AdoptData(TIData data, int32_t bitsPerPixel)
{
    Data = std::move(data);
    BitsPerPixel = bitsPerPixel;
    Empty = false;
}

void ZRImage::Unload()
{
    if (!Empty && Name != kDefaultName)
        LogResource("Deleting", kKind);
    ReleasePixels();
    ZOTResource::Unload();
}

void ZRImage::ReleasePixels()
{
    Data.Pixels.clear();
    Data.Pixels.shrink_to_fit();
    Bitmap.reset();
    Data.Width = 0;
    Data.Height = 0;
    Width = 0;
    Height = 0;
}

void ZRImage::CreateBlank(int32_t width, int32_t height, const Color3& colour)
{
    Unload();
    auto bitmap = std::make_unique<platform::Bitmap24>();
    if (!bitmap->Create(width, height)) {
        ReportError(kErrorSource, "Can't create a blank image of " + SizeText(width, height) + " pixels");
        return;
    }
    const int32_t rgb = ZOTConvert::ColorToRGB(colour);
    bitmap->Fill(static_cast<uint8_t>(rgb & 0xFF), static_cast<uint8_t>((rgb >> 8) & 0xFF),
                 static_cast<uint8_t>((rgb >> 16) & 0xFF));
    AdoptBitmap(std::move(bitmap));
    Reset();
}

void ZRImage::SetData(int32_t width, int32_t height, uint8_t fillValue, int32_t format)
{
    Unload();
    if (width < 0 || height < 0 || width > platform::kMaxImageSide || height > platform::kMaxImageSide) {
        ReportError(kErrorSource, "Can't size image data of " + SizeText(width, height) + " pixels");
        return;
    }
    Data.Width = width;
    Data.Height = height;
    Data.Format = format;
    const size_t bytesPerPixel = IsKnownFormat(format) ? static_cast<size_t>(BytesPerPixel(format)) : 0;
    Data.Pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height) * bytesPerPixel, fillValue);
}

bool ZRImage::SaveToFile(const std::string& name)
{
    LogLine("Saving Bitmap to File: \"" + name + "\"");
    const std::string path = ResourcePath(name, "bmp");
    if (!Bitmap || Bitmap->Empty()) {
        ReportError(kErrorSource, "No bitmap to save as \"" + path + "\"");
        return false;
    }
    if (!platform::SaveBMP(platform::NativePath(path), *Bitmap)) {
        ReportError(kErrorSource, "Can't write bitmap file \"" + path + "\"");
        return false;
    }
    return true;
}

void ZRImage::FlipBitmapRows()
{
    if (Bitmap)
        Bitmap->FlipRows();
}

void ZRImage::FlipDataRows()
{
    if (Data.Width <= 0 || Data.Height < 2)
        return;
    const size_t row = static_cast<size_t>(Data.Width) * static_cast<size_t>(BytesPerPixel(Data.Format));
    const size_t rows = static_cast<size_t>(Data.Height);
    // A buffer shorter than its stated size (SetData of an unknown format) is left alone.
    if (Data.Pixels.size() < row * rows)
        return;
    uint8_t* pixels = Data.Pixels.data();
    for (size_t top = 0, bottom = rows - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(pixels + top * row, pixels + (top + 1) * row, pixels + bottom * row);
}
