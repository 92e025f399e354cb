// The font engine: the fonts loaded for 2D text and the routine that draws a
// line of text with one of them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/zot_object.h"
#include "math/math_types.h"

class GL_2DSystem;
class ZRFont;

using TFonts = std::vector<ZRFont*>;

class GLFont : public ZOTObject {
public:
    static constexpr int32_t kAlignLeft = 0;
    static constexpr int32_t kAlignRight = 1;
    static constexpr int32_t kAlignCenter = 2;

    explicit GLFont(GL_2DSystem* parent);
    ~GLFont() override;

    void Init();

    // The font loads at once; it is named name whatever its file is called.
    ZRFont* LoadFont(const std::string& fileName, const std::string& name);
    // The first font of that name, or none.
    ZRFont* FindFont(std::string_view name) const;
    // An index outside the list deletes nothing.
    void DeleteFont(int32_t index);
    // Every font whose parent is owner; every font when owner is this engine.
    void DeleteFontsOf(const ZOTOwner* owner);

    static float TextWidth(const ZRFont* font, std::string_view text, float scale);
    // align: x is the left edge (kAlignLeft), the right edge or the centre of
    // the text; y is the middle of the glyph boxes.
    void DrawText(ZRFont* font, int32_t align, float x, float y, const Color3& colour, float alpha, float scale,
                  std::string_view text) const;

    TFonts FontList;
    int32_t LastFont = -1;

private:
    GL_2DSystem* System;

    static float AlignedStart(const ZRFont& font, int32_t align, float x, float scale, std::string_view text);
    static void EmitGlyph(uint8_t code, float x, float y, float scale);
    void DestroyFont(std::size_t index);
};
