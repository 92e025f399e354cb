// The LCD font: a 5 x 7 dot matrix (two more rows for descenders) drawn as
// rounded dots, baked into the engine's 16 x 16 cell layout with a width
// table measured from the baked cells. Text is drawn the way the engine's
// text routine draws it, so a picture that shows text shows the font as the
// program will.
#pragma once

#include <array>
#include <string>

#include "shapes.h"

namespace bake {

class Font {
public:
    // Side of the glyph picture, and of one of its 16 x 16 cells.
    static constexpr int kSheetSize = 512;
    static constexpr int kCellSize = kSheetSize / 16;
    // The engine draws a cell 13 units wide at scale 1.
    static constexpr float kUnitsPerCell = 13.0f;

    Font();

    // White glyphs on black, character c in column c % 16, row c / 16 from the top.
    const Canvas& Sheet() const { return GlyphSheet; }
    // The engine's width entry: the advance at scale 1, in units, times 2.
    int CharWidth(unsigned char c) const { return Widths[c]; }
    // The width file: the section header, then 16 rows of 16 two-digit fields.
    std::string WidthFile() const;

    enum class Align { Left, Right, Centre };
    // The engine's text layout with glyph cells of `cellSize` pixels centred
    // on the line y. `unlit` > 0 also paints the dots that are off, faintly.
    void DrawText(Canvas& canvas, float x, float y, float cellSize, const std::string& text, const Color& color,
                  Align align = Align::Left, float unlit = 0.0f) const;
    float TextWidth(const std::string& text, float cellSize) const;

private:
    void BakeSheet();
    void MeasureWidths();
    // Paints the glyph of c centred at (x, y) with dots `pitch` apart.
    void PaintGlyph(Canvas& canvas, unsigned char c, float x, float y, float pitch, const Color& color,
                    float unlit) const;

    Canvas GlyphSheet;
    std::array<int, 256> Widths{};
};

}  // namespace bake
