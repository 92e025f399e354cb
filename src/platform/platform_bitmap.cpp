#include "platform/platform_bitmap.h"

#include <algorithm>

namespace platform {

bool CheckImageArea(int64_t width, int64_t height, std::string& error)
{
    // Divided rather than multiplied, so no pair of sides can overflow.
    if (width <= 0 || height <= 0 || height <= kMaxImagePixels / width)
        return true;
    error = "picture of " + std::to_string(width) + " x " + std::to_string(height) + " pixels exceeds the limit of " +
            std::to_string(kMaxImagePixels) + " pixels";
    return false;
}

bool Bitmap24::Create(int width, int height)
{
    Clear();
    if (!IsImageSide(width) || !IsImageSide(height))
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

}  // namespace platform
