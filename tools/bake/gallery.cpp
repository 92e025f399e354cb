#include "gallery.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace bake {

namespace {

constexpr int kTile = 256;
constexpr int kColumns = 6;
constexpr int kMargin = 24;
constexpr int kLabelHeight = 44;
constexpr float kNameCell = 20.0f;
constexpr float kInfoCell = 16.0f;
constexpr int kChecker = 16;
const Color kBackground{0.11f, 0.11f, 0.12f, 1.0f};

// Averages n x n bilinear samples over each destination pixel's footprint,
// so large pictures shrink without aliasing and small ones grow smoothly.
Color Footprint(const Canvas& source, float x0, float y0, float step)
{
    const int n = std::max(1, static_cast<int>(std::ceil(step)));
    Color sum{0, 0, 0, 0};
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
            const Color c = source.Sample(x0 + (i + 0.5f) * step / n, y0 + (j + 0.5f) * step / n);
            sum = {sum.r + c.r * c.a, sum.g + c.g * c.a, sum.b + c.b * c.a, sum.a + c.a};
        }
    }
    if (sum.a <= 0.0f)
        return {0, 0, 0, 0};
    return {sum.r / sum.a, sum.g / sum.a, sum.b / sum.a, sum.a / (n * n)};
}

Color Checker(int x, int y)
{
    const bool light = ((x / kChecker) + (y / kChecker)) % 2 == 0;
    const float v = light ? 0.42f : 0.3f;
    return {v, v, v, 1.0f};
}

// Pictures whose alpha is their shape show it over the checker board.
void PaintTile(Canvas& sheet, const Picture& picture, int left, int top)
{
    const Canvas& image = picture.Image;
    const float step = static_cast<float>(std::max(image.Width(), image.Height())) / kTile;
    const int width = static_cast<int>(std::lround(image.Width() / step));
    const int height = static_cast<int>(std::lround(image.Height() / step));
    const int x0 = left + (kTile - width) / 2, y0 = top + (kTile - height) / 2;
    const bool alpha = picture.Channels != 3;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            Color c = Footprint(image, x * step, y * step, step);
            if (picture.Channels == 1)
                c = {1.0f, 1.0f, 1.0f, c.a};
            sheet.At(x0 + x, y0 + y) = alpha ? Over(Checker(x, y), c, 1.0f) : Color{c.r, c.g, c.b, 1.0f};
        }
    }
}

std::string Layout(int channels)
{
    if (channels == 1)
        return "A";
    return channels == 3 ? "RGB" : "RGBA";
}

std::string InfoLine(const Picture& picture)
{
    return std::string(Extension(picture.Format)) + "  " + std::to_string(picture.Image.Width()) + "x" +
           std::to_string(picture.Image.Height()) + "  " + Layout(picture.Channels);
}

void PaintLabel(Canvas& sheet, const Font& font, const Picture& picture, int left, int top)
{
    const float centre = left + kTile * 0.5f;
    const float room = kTile + kMargin - 4.0f;
    const float cell = std::min(kNameCell, kNameCell * room / font.TextWidth(picture.Name, kNameCell));
    font.DrawText(sheet, centre, top + kTile + 12.0f, cell, picture.Name, {1.0f, 0.92f, 0.7f, 1.0f},
                  Font::Align::Centre);
    font.DrawText(sheet, centre, top + kTile + 32.0f, kInfoCell, InfoLine(picture), {0.6f, 0.65f, 0.7f, 1.0f},
                  Font::Align::Centre);
}

}  // namespace

Canvas ContactSheet(const Bake& bake, const Font& font)
{
    const int count = static_cast<int>(bake.Pictures.size());
    const int rows = (count + kColumns - 1) / kColumns;
    const int cellWidth = kTile + kMargin, cellHeight = kTile + kLabelHeight + kMargin;
    Canvas sheet(kColumns * cellWidth + kMargin, rows * cellHeight + kMargin, kBackground);
    for (int i = 0; i < count; ++i) {
        const int left = kMargin + (i % kColumns) * cellWidth, top = kMargin + (i / kColumns) * cellHeight;
        PaintTile(sheet, bake.Pictures[i], left, top);
        PaintLabel(sheet, font, bake.Pictures[i], left, top);
    }
    return sheet;
}

}  // namespace bake
