// The 2D overlay's pictures: the LCD font with its width file, the logo the
// overlay fades out, and the loading picture shown while the scene loads.
#include <algorithm>
#include <cmath>

#include "families.h"
#include "noise.h"

namespace bake {

namespace {

constexpr int kLogoWidth = 128;
constexpr int kLogoHeight = 32;
constexpr int kLoadingSize = 512;
constexpr float kHalfPi = 1.5707963f;

// --- The logo: the letters "qel" as thick rounded strokes, outlined and
// softly glowing so they read over sky and grass alike.

constexpr float kStrokeHalf = 2.6f;
constexpr float kOutline = 1.4f;
constexpr float kBowl = 7.5f;
constexpr float kXCentre = 17.5f;

float Ring(float x, float y, float cx, float cy, float r) { return std::fabs(std::hypot(x - cx, y - cy) - r); }

float Segment(float x, float y, float x0, float y0, float x1, float y1)
{
    float along = 0.0f;
    return SegmentDistance(x, y, x0, y0, x1, y1, along);
}

// An "e" is a ring opened at its lower right, closed by a bar across.
float LetterE(float x, float y, float cx)
{
    constexpr float kOpenFrom = 0.25f, kOpenTo = 0.95f;
    const float angle = std::atan2(y - kXCentre, x - cx);
    float ring = Ring(x, y, cx, kXCentre, kBowl);
    if (angle > kOpenFrom && angle < kOpenTo) {
        ring = std::min(std::hypot(x - cx - kBowl * std::cos(kOpenFrom), y - kXCentre - kBowl * std::sin(kOpenFrom)),
                        std::hypot(x - cx - kBowl * std::cos(kOpenTo), y - kXCentre - kBowl * std::sin(kOpenTo)));
    }
    return std::min(ring, Segment(x, y, cx - kBowl, kXCentre, cx + kBowl, kXCentre));
}

float LogoDistance(float x, float y)
{
    constexpr float q = 40.0f, e = 66.0f, l = 86.0f;
    const float letterQ = std::min(Ring(x, y, q, kXCentre, kBowl), Segment(x, y, q + kBowl, 11.0f, q + kBowl, 27.6f));
    const float letterL = Segment(x, y, l, 4.2f, l, 22.0f);
    const float foot = Segment(x, y, l, 22.0f, l + 2.0f, kXCentre + kBowl);
    return std::min({letterQ, LetterE(x, y, e), letterL, foot});
}

Color LogoAt(float x, float y)
{
    const float d = LogoDistance(x, y);
    const Color fill = Mix(Color{1.0f, 0.95f, 0.78f, 1.0f}, Color{1.0f, 0.62f, 0.2f, 1.0f}, Smoothstep(6.0f, 28.0f, y));
    const Color line{0.16f, 0.08f, 0.03f, 1.0f};
    const float inside = Clamp01(kStrokeHalf + 0.5f - d), ink = Clamp01(kStrokeHalf + kOutline + 0.5f - d);
    const float glow = 0.45f * std::exp(-std::max(0.0f, d - kStrokeHalf - kOutline) / 2.0f);
    Color c = Mix(line, fill, inside);
    c.a = std::max(ink, glow * (1.0f - ink));
    return c;
}

Picture Logo()
{
    Picture picture{"textures\\interface\\qel", FileFormat::Png, 4, {}};
    picture.Image = PaintEach(kLogoWidth, kLogoHeight, LogoAt);
    return picture;
}

// --- The loading picture: a garden at dusk with a cat on the hill, and the
// title in the LCD font, lit and glowing.

constexpr float kHorizon = 392.0f;
constexpr float kSunX = 372.0f;
constexpr float kSunY = 388.0f;

Color DuskSky(float x, float y)
{
    const Color night{0.04f, 0.05f, 0.16f}, violet{0.3f, 0.2f, 0.42f}, glow{0.98f, 0.56f, 0.28f};
    const float t = y / kHorizon;
    Color sky =
        t < 0.55f ? Mix(night, violet, Smoothstep(0.0f, 0.55f, t)) : Mix(violet, glow, Smoothstep(0.55f, 1.0f, t));
    const float sun = std::hypot(x - kSunX, (y - kSunY) * 1.6f);
    sky = Mix(sky, Color{1.0f, 0.8f, 0.45f}, 0.55f * std::exp(-sun / 60.0f));
    return Mix(sky, Color{1.0f, 0.95f, 0.8f}, 1.0f - Smoothstep(24.0f, 27.0f, std::hypot(x - kSunX, y - kSunY)));
}

float HillTop(float x) { return kHorizon + 14.0f * std::sin(x * 0.011f + 0.6f) + 5.0f * std::sin(x * 0.037f); }

Color HillAt(const Color& sky, float x, float y)
{
    const float top = HillTop(x);
    const Color hill = Mix(Color{0.05f, 0.1f, 0.06f}, Color{0.01f, 0.02f, 0.02f}, Smoothstep(top, kLoadingSize, y));
    return Mix(sky, hill, Clamp01(y - top + 0.5f));
}

void PaintStarsAbove(Canvas& canvas)
{
    Random random(0x5EED5);
    for (int i = 0; i < 110; ++i) {
        const float x = random.Range(0.0f, kLoadingSize), y = random.Range(0.0f, kHorizon * 0.6f);
        const float radius = random.Range(0.4f, 1.2f), brightness = random.Range(0.4f, 1.0f);
        const float fade = 1.0f - y / (kHorizon * 0.6f);
        PaintDisc(canvas, Edges::Clip, x, y, radius, 0.6f, {1.0f, 0.97f, 0.9f, 1.0f}, fade * brightness);
    }
}

void PaintHillGrass(Canvas& canvas)
{
    Random random(0x6A55);
    const Color blade{0.02f, 0.05f, 0.03f, 1.0f};
    for (int i = 0; i < 700; ++i) {
        const float x = random.Range(0.0f, kLoadingSize), base = HillTop(x) + 3.0f;
        const float length = random.Range(5.0f, 16.0f), lean = random.Range(-0.5f, 0.5f);
        PaintStroke(canvas, Edges::Clip, {x, base, x + lean * length, base - length, 1.2f, 0.2f, blade, blade});
    }
}

// A cat sitting on the hill, seen from the side, its tail curled round.
void PaintCat(Canvas& canvas, float x)
{
    const Color shadow{0.01f, 0.02f, 0.02f, 1.0f};
    const float ground = HillTop(x) + 4.0f;
    PaintDisc(canvas, Edges::Clip, x, ground - 20.0f, 21.0f, 0.8f, shadow);
    PaintDisc(canvas, Edges::Clip, x + 4.0f, ground - 40.0f, 15.0f, 0.8f, shadow);
    PaintDisc(canvas, Edges::Clip, x + 7.0f, ground - 62.0f, 13.0f, 0.8f, shadow);
    PaintStroke(canvas, Edges::Clip, {x - 1.0f, ground - 68.0f, x - 3.0f, ground - 87.0f, 6.0f, 0.6f, shadow, shadow});
    PaintStroke(canvas, Edges::Clip,
                {x + 15.0f, ground - 68.0f, x + 17.0f, ground - 87.0f, 6.0f, 0.6f, shadow, shadow});
    PaintCurve(canvas, Edges::Clip,
               {x - 14.0f, ground - 4.0f, x - 50.0f, ground, x - 40.0f, ground - 32.0f, 4.5f, 2.5f, shadow, shadow});
}

// The title's glow: the text blurred, painted under the lit text. Only the
// box around the title is blurred.
void PaintTitleGlow(Canvas& canvas, const Font& font, float y, float cell)
{
    constexpr int kTop = 100, kHeight = 136;
    const Color orange{1.0f, 0.6f, 0.2f, 0.0f};
    Canvas glow(kLoadingSize, kHeight, orange);
    font.DrawText(glow, kLoadingSize * 0.5f, y - kTop, cell, "Tamsel", {1.0f, 0.6f, 0.2f, 1.0f}, Font::Align::Centre);
    glow = Blur(glow, 6);
    for (int row = 0; row < kHeight; ++row) {
        for (int x = 0; x < kLoadingSize; ++x)
            canvas.At(x, kTop + row) = Over(canvas.At(x, kTop + row), glow.At(x, row), 0.9f);
    }
}

void PaintTitle(Canvas& canvas, const Font& font)
{
    constexpr float kTitleY = 168.0f, kTitleCell = 96.0f;
    const Color amber{1.0f, 0.78f, 0.32f, 1.0f};
    PaintTitleGlow(canvas, font, kTitleY, kTitleCell);
    font.DrawText(canvas, kLoadingSize * 0.5f, kTitleY, kTitleCell, "Tamsel", amber, Font::Align::Centre, 0.07f);
    font.DrawText(canvas, kLoadingSize * 0.5f, 236.0f, 24.0f, "a garden, any time of day", {0.85f, 0.8f, 1.0f, 1.0f},
                  Font::Align::Centre);
    font.DrawText(canvas, kLoadingSize * 0.5f, 478.0f, 22.0f, "loading ...", amber, Font::Align::Centre);
}

Picture Loading(const Font& font)
{
    Picture picture{"textures\\interface\\loading", FileFormat::Png, 3, {}};
    picture.Image = PaintEach(kLoadingSize, kLoadingSize, [](float x, float y) { return HillAt(DuskSky(x, y), x, y); });
    PaintStarsAbove(picture.Image);
    PaintHillGrass(picture.Image);
    PaintCat(picture.Image, 150.0f);
    PaintTitle(picture.Image, font);
    return picture;
}

}  // namespace

void BakeInterface(Bake& bake, const Font& font)
{
    bake.Pictures.push_back({"textures\\fonts\\lcd", FileFormat::Png, 3, font.Sheet()});
    bake.Texts.push_back({"textures\\fonts\\lcd.txt", font.WidthFile()});
    bake.Pictures.push_back(Logo());
    bake.Pictures.push_back(Loading(font));
}

}  // namespace bake
