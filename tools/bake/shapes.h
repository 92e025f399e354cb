// The canvas every picture is painted on, its colours, and the shapes the
// painters share: soft discs, tapered strokes and smooth steps.
#pragma once

#include <cstddef>
#include <vector>

namespace bake {

// Channels in 0..1; colour is not premultiplied by alpha. Opaque unless an
// alpha is given; Color{} is transparent black.
struct Color {
    // Trivial, so that large pictures fill and copy as plain memory.
    Color() = default;
    constexpr Color(float red, float green, float blue, float alpha = 1.0f) : r(red), g(green), b(blue), a(alpha) {}

    float r;
    float g;
    float b;
    float a;
};

float Clamp01(float v);
float Mix(float a, float b, float t);
Color Mix(const Color& a, const Color& b, float t);
Color Scale(const Color& c, float factor);
float Smoothstep(float edge0, float edge1, float v);
// Rec. 601 luma.
float Luma(const Color& c);
// Paints `top` with coverage `amount` over `base` (alpha compositing).
Color Over(const Color& base, const Color& top, float amount);

class Canvas {
public:
    Canvas() = default;
    Canvas(int width, int height, const Color& fill = Color{});

    int Width() const { return W; }
    int Height() const { return H; }

    Color& At(int x, int y) { return Pixels[Index(x, y)]; }
    const Color& At(int x, int y) const { return Pixels[Index(x, y)]; }
    // Coordinates taken modulo the size, for pictures that tile.
    Color& Wrapped(int x, int y);
    const Color& Wrapped(int x, int y) const;
    // Bilinear, centres of pixels at half-integers, clamped at the border.
    Color Sample(float x, float y) const;

private:
    size_t Index(int x, int y) const { return static_cast<size_t>(y) * W + x; }

    int W = 0;
    int H = 0;
    std::vector<Color> Pixels;
};

// Whether shapes that cross the border come back on the other side.
enum class Edges { Clip, Wrap };

// A disc of radius `radius` at (x, y), edge softened over `soft` pixels,
// painted with `color` at coverage times `opacity`.
void PaintDisc(Canvas& canvas, Edges edges, float x, float y, float radius, float soft, const Color& color,
               float opacity = 1.0f);

// A stroke from (x0, y0) to (x1, y1) whose half-width runs from `width0` to
// `width1`; its colour runs from `color0` to `color1` along it.
struct Stroke {
    float X0 = 0.0f;
    float Y0 = 0.0f;
    float X1 = 0.0f;
    float Y1 = 0.0f;
    float Width0 = 1.0f;
    float Width1 = 1.0f;
    Color Color0{};
    Color Color1{};
};
void PaintStroke(Canvas& canvas, Edges edges, const Stroke& stroke);

// A tapered stroke along the quadratic curve from (x0, y0) through the
// control point (cx, cy) to (x1, y1), drawn as short straight pieces.
struct Curve {
    float X0 = 0.0f;
    float Y0 = 0.0f;
    float CX = 0.0f;
    float CY = 0.0f;
    float X1 = 0.0f;
    float Y1 = 0.0f;
    float Width0 = 1.0f;
    float Width1 = 0.0f;
    Color Color0{};
    Color Color1{};
};
void PaintCurve(Canvas& canvas, Edges edges, const Curve& curve);

// A box blur of the given radius, three times over (close to a Gaussian);
// the border repeats its edge pixels.
Canvas Blur(const Canvas& source, int radius);

// Distance from (px, py) to the segment, and how far along it (0..1) the
// nearest point lies.
float SegmentDistance(float px, float py, float x0, float y0, float x1, float y1, float& along);

// A picture whose every pixel is colorAt(x, y) at the pixel centre.
template <typename ColorAt>
Canvas PaintEach(int width, int height, ColorAt colorAt)
{
    Canvas canvas(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            canvas.At(x, y) = colorAt(x + 0.5f, y + 0.5f);
    }
    return canvas;
}

}  // namespace bake
