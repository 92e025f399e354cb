#include "gl/gl_2D_font.h"

#include <GL/gl.h>

#include "core/zot_console.h"
#include "core/zot_main.h"
#include "gl/gl_2D.h"
#include "gl/gl_2D_console.h"
#include "gl/gl_main.h"
#include "resource/resource_font.h"

namespace {

// Half the side of the square glyph box at scale 1: every glyph is 13 units
// square whatever its advance.
constexpr float kGlyphHalfSize = 6.5f;
constexpr float kCellSize = 1.0f / ZRFont::kCells;

}  // namespace

GLFont::GLFont(GL_2DSystem* parent) : ZOTObject(parent, "ZOT GL 2D Font", "GLFont"), System(parent) {}

GLFont::~GLFont() { DeleteFontsOf(this); }

void GLFont::Init() { LogLine("ZOT GL: GL 2D Font initialized!"); }

ZRFont* GLFont::LoadFont(const std::string& fileName, const std::string& name)
{
    auto* font = new ZRFont(fileName, 0, this);
    font->SetName(name);
    FontList.push_back(font);
    LastFont = static_cast<int32_t>(FontList.size()) - 1;
    return font;
}

ZRFont* GLFont::FindFont(std::string_view name) const
{
    for (ZRFont* font : FontList) {
        if (font->GetName() == name)
            return font;
    }
    return nullptr;
}

void GLFont::DeleteFont(int32_t index)
{
    if (index < 0 || index > LastFont)
        return;
    DestroyFont(static_cast<std::size_t>(index));
}

void GLFont::DeleteFontsOf(const ZOTOwner* owner)
{
    for (std::size_t i = FontList.size(); i-- > 0;) {
        if (owner == this || FontList[i]->GetParent() == owner)
            DestroyFont(i);
    }
}

void GLFont::DestroyFont(std::size_t index)
{
    ZRFont* font = FontList[index];
    // The console only borrows its font; it must not keep drawing with a deleted one.
    if (System && System->Console && System->Console->Font == font)
        System->Console->Font = nullptr;
    FontList.erase(FontList.begin() + static_cast<std::ptrdiff_t>(index));
    LastFont = static_cast<int32_t>(FontList.size()) - 1;
    delete font;
}

float GLFont::TextWidth(const ZRFont* font, std::string_view text, float scale)
{
    if (!font)
        return 0.0f;
    float sum = 0.0f;
    for (const char c : text)
        sum += font->CharWidths[static_cast<uint8_t>(c)];
    return sum * 0.5f * scale;
}

float GLFont::AlignedStart(const ZRFont& font, int32_t align, float x, float scale, std::string_view text)
{
    if (align == kAlignRight)
        return x - TextWidth(&font, text, scale);
    if (align == kAlignCenter)
        return x - TextWidth(&font, text, scale) / 2;
    return x;
}

void GLFont::DrawText(ZRFont* font, int32_t align, float x, float y, const Color3& colour, float alpha, float scale,
                      std::string_view text) const
{
    if (!font || !font->IsLoaded())
        return;
    const int32_t blendMode = font->BlendStyle == ZRFont::kBlendDarken ? ZOTGL::kBlendNegative : ZOTGL::kBlendAdditive;
    GL_2DSystem::ApplyFlatMaterial(blendMode, colour, alpha, font->FontTexture);
    x = AlignedStart(*font, align, x, scale, text);
    glBegin(GL_QUADS);
    for (const char c : text) {
        const auto code = static_cast<uint8_t>(c);
        const float halfAdvance = font->CharWidths[code] * scale * 0.5f / 2;
        x += halfAdvance;
        EmitGlyph(code, x, y, scale);
        x += halfAdvance;
    }
    glEnd();
}

void GLFont::EmitGlyph(uint8_t code, float x, float y, float scale)
{
    const float half = kGlyphHalfSize * scale;
    const float column = static_cast<float>(code % ZRFont::kCells);
    const float row = static_cast<float>(code / ZRFont::kCells);
    TQuad2D quad;
    quad.X1 = x - half;
    quad.Y1 = y - half;
    quad.X2 = x + half;
    quad.Y2 = y + half;
    quad.SLeft = column * kCellSize;
    quad.SRight = (column + 1) * kCellSize;
    quad.TTop = 1.0f - row * kCellSize;
    quad.TBottom = 1.0f - (row + 1) * kCellSize;
    GL_2DSystem::EmitQuad(quad);
}
