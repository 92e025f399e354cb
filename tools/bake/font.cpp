#include "font.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "font_glyphs.h"

namespace bake {

namespace {

// Dots are this many baked pixels apart; the dot matrix spans 15 x 27 of a
// 32-pixel cell, leaving room against bleeding into neighbours when mipmapped.
constexpr float kPitch = 3.0f * Font::kCellSize / 32.0f;
// Half the side of a dot and the radius of its corners, in pitches.
constexpr float kDotHalf = 0.42f;
constexpr float kDotCorner = 0.2f;
// Ink below this brightness does not count towards a glyph's width.
constexpr float kInkThreshold = 0.1f;
// Between two glyphs one dot pitch stays dark; a word space is four pitches.
constexpr float kGlyphGap = kPitch;
constexpr float kWordSpace = 4.0f * kPitch;

using Rows = std::array<uint8_t, kGlyphRows>;

Rows ParseRows(const char* text)
{
    Rows rows{};
    int row = 0, column = 0;
    for (const char* c = text; *c && row < kGlyphRows; ++c) {
        if (*c == '|') {
            ++row;
            column = 0;
            continue;
        }
        if (*c == '#')
            rows[row] |= static_cast<uint8_t>(1u << column);
        ++column;
    }
    return rows;
}

const GlyphPattern* FindPattern(unsigned char c)
{
    for (const GlyphPattern& pattern : kGlyphPatterns) {
        if (static_cast<unsigned char>(pattern.Code) == c)
            return &pattern;
    }
    return nullptr;
}

// Lowest and highest lit column; first > last when no dot is lit.
void InkColumns(const Rows& rows, int& first, int& last)
{
    first = kGlyphColumns;
    last = -1;
    for (uint8_t row : rows) {
        for (int column = 0; column < kGlyphColumns; ++column) {
            if (row & (1u << column)) {
                first = std::min(first, column);
                last = std::max(last, column);
            }
        }
    }
}

// A rounded square of side 2 * kDotHalf pitches, edges smoothed over a pixel.
void PaintDot(Canvas& canvas, float x, float y, float pitch, const Color& color, float opacity)
{
    const float half = kDotHalf * pitch, corner = kDotCorner * pitch;
    const int x0 = std::max(0, static_cast<int>(std::floor(x - half - 1.0f)));
    const int y0 = std::max(0, static_cast<int>(std::floor(y - half - 1.0f)));
    const int x1 = std::min(canvas.Width() - 1, static_cast<int>(std::ceil(x + half + 1.0f)));
    const int y1 = std::min(canvas.Height() - 1, static_cast<int>(std::ceil(y + half + 1.0f)));
    for (int py = y0; py <= y1; ++py) {
        for (int px = x0; px <= x1; ++px) {
            const float qx = std::max(std::fabs(px + 0.5f - x) - (half - corner), 0.0f);
            const float qy = std::max(std::fabs(py + 0.5f - y) - (half - corner), 0.0f);
            const float coverage = Clamp01(0.5f - (std::hypot(qx, qy) - corner));
            if (coverage > 0.0f)
                canvas.At(px, py) = Over(canvas.At(px, py), color, coverage * opacity);
        }
    }
}

}  // namespace

Font::Font()
{
    BakeSheet();
    MeasureWidths();
}

void Font::PaintGlyph(Canvas& canvas, unsigned char c, float x, float y, float pitch, const Color& color,
                      float unlit) const
{
    const GlyphPattern* pattern = FindPattern(c);
    if (!pattern)
        return;
    const Rows rows = ParseRows(pattern->Rows);
    int first = 0, last = 0;
    InkColumns(rows, first, last);
    const float centreColumn = (first + last) * 0.5f;
    const float centreRow = (kGlyphRows - 1) * 0.5f;
    for (int row = 0; row < kGlyphRows; ++row) {
        for (int column = first; column <= last; ++column) {
            const bool lit = (rows[row] & (1u << column)) != 0;
            if (!lit && (unlit <= 0.0f || row >= 7))
                continue;
            PaintDot(canvas, x + (column - centreColumn) * pitch, y + (row - centreRow) * pitch, pitch, color,
                     lit ? 1.0f : unlit);
        }
    }
}

void Font::BakeSheet()
{
    GlyphSheet = Canvas(kSheetSize, kSheetSize, Color{0.0f, 0.0f, 0.0f, 1.0f});
    const Color white{1.0f, 1.0f, 1.0f, 1.0f};
    for (int c = 0; c < 256; ++c) {
        const float x = (c % 16 + 0.5f) * kCellSize, y = (c / 16 + 0.5f) * kCellSize;
        PaintGlyph(GlyphSheet, static_cast<unsigned char>(c), x, y, kPitch, white, 0.0f);
    }
}

void Font::MeasureWidths()
{
    for (int c = 0; c < 256; ++c) {
        if (!FindPattern(static_cast<unsigned char>(c)))
            continue;
        const int left = (c % 16) * kCellSize, top = (c / 16) * kCellSize;
        int first = kCellSize, last = -1;
        for (int x = 0; x < kCellSize; ++x) {
            for (int y = 0; y < kCellSize; ++y) {
                if (Luma(GlyphSheet.At(left + x, top + y)) > kInkThreshold) {
                    first = std::min(first, x);
                    last = std::max(last, x);
                }
            }
        }
        const float advance = last >= first ? static_cast<float>(last - first + 1) + kGlyphGap : kWordSpace;
        Widths[c] = static_cast<int>(std::lround(2.0f * advance * kUnitsPerCell / kCellSize));
    }
}

std::string Font::WidthFile() const
{
    std::string text = "[FONT_CHARWIDTH]\n";
    for (int row = 0; row < 16; ++row) {
        for (int column = 0; column < 16; ++column) {
            char field[12];
            std::snprintf(field, sizeof field, "%02d", std::clamp(Widths[row * 16 + column], 0, 99));
            text += field;
            text += column < 15 ? " " : "\n";
        }
    }
    return text;
}

float Font::TextWidth(const std::string& text, float cellSize) const
{
    float width = 0.0f;
    for (char c : text)
        width += Widths[static_cast<unsigned char>(c)] * 0.5f * cellSize / kUnitsPerCell;
    return width;
}

void Font::DrawText(Canvas& canvas, float x, float y, float cellSize, const std::string& text, const Color& color,
                    Align align, float unlit) const
{
    if (align == Align::Right)
        x -= TextWidth(text, cellSize);
    else if (align == Align::Centre)
        x -= TextWidth(text, cellSize) * 0.5f;
    const float pitch = kPitch * cellSize / kCellSize;
    for (char c : text) {
        const unsigned char code = static_cast<unsigned char>(c);
        const float half = Widths[code] * 0.25f * cellSize / kUnitsPerCell;
        x += half;
        PaintGlyph(canvas, code, x, y, pitch, color, unlit);
        x += half;
    }
}

}  // namespace bake
