// Pictures in memory: a 24-bit bitmap surface (BMP, JPEG and blank images; the
// only store that can be saved) and a raw byte buffer with a channel layout
// (TGA and PNG files, SetData). Each loader fills one of the two.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "math/math_types.h"
#include "platform/platform_bitmap.h"
#include "resource/resource_main.h"

enum ImageFormat : int32_t { kImageRGB = 0, kImageRGBA = 1, kImageAlpha = 2 };

// 3, 4 or 1; any other format counts as 3 where a row length is needed.
int32_t BytesPerPixel(int32_t format);

struct TIData {
    int32_t Format = kImageRGB;
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<uint8_t> Pixels;
};

class ZRImage : public ZOTResource {
public:
    explicit ZRImage(ZOTOwner* owner = nullptr);
    ZRImage(const std::string& fileName, ZOTOwner* owner);
    ~ZRImage() override;

    // Looks for the file as BMP, JPEG, TGA and PNG, in that order.
    void LoadFromFile(const std::string& fileName) override;
    // Loads <fileName>.<extension> and no other file, for callers that picked the file themselves.
    void LoadFromFile(const std::string& fileName, std::string_view extension);
    void Unload() override;

    void CreateBlank(int32_t width, int32_t height, const Color3& colour);
    void SetData(int32_t width, int32_t height, uint8_t fillValue, int32_t format);
    // Writes the bitmap as <resource root><name>.bmp; false when it cannot.
    bool SaveToFile(const std::string& name);
    void FlipBitmapRows();
    void FlipDataRows();

    std::unique_ptr<platform::Bitmap24> Bitmap;
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t BitsPerPixel = 0;
    TIData Data;

private:
    using Loader = void (ZRImage::*)(const std::string& path);
    using BitmapReader = bool (*)(const std::string& nativePath, platform::Bitmap24& out, std::string& error);

    void Load(const std::string& fileName, std::string_view onlyExtension);
    // False when no file of the loaders asked for exists; an empty extension asks for all four.
    bool LoadFirstFound(const std::string& fileName, std::string_view onlyExtension);
    void LoadBMP(const std::string& path);
    void LoadJPEG(const std::string& path);
    void LoadTGA(const std::string& path);
    void LoadPNG(const std::string& path);
    void LoadBitmapWith(const std::string& path, BitmapReader read);
    void AdoptBitmap(std::unique_ptr<platform::Bitmap24> bitmap);
    void AdoptData(TIData data, int32_t bitsPerPixel);
    void ReleasePixels();
};
