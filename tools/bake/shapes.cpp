#include "shapes.h"

#include <algorithm>
#include <cmath>

namespace bake {

float Clamp01(float v) { return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v); }

float Mix(float a, float b, float t) { return a + (b - a) * t; }

Color Mix(const Color& a, const Color& b, float t)
{
    return {Mix(a.r, b.r, t), Mix(a.g, b.g, t), Mix(a.b, b.b, t), Mix(a.a, b.a, t)};
}

Color Scale(const Color& c, float factor) { return {c.r * factor, c.g * factor, c.b * factor, c.a}; }

float Smoothstep(float edge0, float edge1, float v)
{
    const float t = Clamp01((v - edge0) / (edge1 - edge0));
    return t * t * (3.0f - 2.0f * t);
}

float Luma(const Color& c) { return 0.299f * c.r + 0.587f * c.g + 0.114f * c.b; }

Color Over(const Color& base, const Color& top, float amount)
{
    const float a = Clamp01(top.a * amount);
    const float outAlpha = a + base.a * (1.0f - a);
    if (outAlpha <= 0.0f)
        return {base.r, base.g, base.b, 0.0f};
    const float keep = base.a * (1.0f - a);
    return {(top.r * a + base.r * keep) / outAlpha, (top.g * a + base.g * keep) / outAlpha,
            (top.b * a + base.b * keep) / outAlpha, outAlpha};
}

Canvas::Canvas(int width, int height, const Color& fill)
    : W(width), H(height), Pixels(static_cast<size_t>(width) * height, fill)
{
}

Color& Canvas::Wrapped(int x, int y) { return At(((x % W) + W) % W, ((y % H) + H) % H); }

const Color& Canvas::Wrapped(int x, int y) const { return At(((x % W) + W) % W, ((y % H) + H) % H); }

Color Canvas::Sample(float x, float y) const
{
    const float sx = std::min(std::max(x - 0.5f, 0.0f), static_cast<float>(W - 1));
    const float sy = std::min(std::max(y - 0.5f, 0.0f), static_cast<float>(H - 1));
    const int x0 = static_cast<int>(sx), y0 = static_cast<int>(sy);
    const int x1 = std::min(x0 + 1, W - 1), y1 = std::min(y0 + 1, H - 1);
    const float fx = sx - x0, fy = sy - y0;
    return Mix(Mix(At(x0, y0), At(x1, y0), fx), Mix(At(x0, y1), At(x1, y1), fx), fy);
}

namespace {

// Calls paint(pixel, px, py) for every pixel of the box, with (px, py) the
// pixel centre in the unwrapped coordinates of the box.
template <typename Paint>
void ForEachPixel(Canvas& canvas, Edges edges, float left, float top, float right, float bottom, Paint paint)
{
    int x0 = static_cast<int>(std::floor(left)), x1 = static_cast<int>(std::ceil(right));
    int y0 = static_cast<int>(std::floor(top)), y1 = static_cast<int>(std::ceil(bottom));
    if (edges == Edges::Clip) {
        x0 = std::max(x0, 0);
        y0 = std::max(y0, 0);
        x1 = std::min(x1, canvas.Width() - 1);
        y1 = std::min(y1, canvas.Height() - 1);
    }
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x)
            paint(canvas.Wrapped(x, y), x + 0.5f, y + 0.5f);
    }
}

}  // namespace

void PaintDisc(Canvas& canvas, Edges edges, float x, float y, float radius, float soft, const Color& color,
               float opacity)
{
    const float reach = radius + soft;
    ForEachPixel(canvas, edges, x - reach, y - reach, x + reach, y + reach, [&](Color& pixel, float px, float py) {
        const float d = std::sqrt((px - x) * (px - x) + (py - y) * (py - y));
        const float coverage = 1.0f - Smoothstep(radius - soft, radius + soft, d);
        if (coverage > 0.0f)
            pixel = Over(pixel, color, coverage * opacity);
    });
}

float SegmentDistance(float px, float py, float x0, float y0, float x1, float y1, float& along)
{
    const float dx = x1 - x0, dy = y1 - y0;
    const float length2 = dx * dx + dy * dy;
    along = length2 > 0.0f ? Clamp01(((px - x0) * dx + (py - y0) * dy) / length2) : 0.0f;
    const float ex = px - (x0 + along * dx), ey = py - (y0 + along * dy);
    return std::sqrt(ex * ex + ey * ey);
}

void PaintStroke(Canvas& canvas, Edges edges, const Stroke& s)
{
    const float reach = std::max(s.Width0, s.Width1) + 1.0f;
    const float left = std::min(s.X0, s.X1) - reach, right = std::max(s.X0, s.X1) + reach;
    const float top = std::min(s.Y0, s.Y1) - reach, bottom = std::max(s.Y0, s.Y1) + reach;
    ForEachPixel(canvas, edges, left, top, right, bottom, [&](Color& pixel, float px, float py) {
        float along = 0.0f;
        const float d = SegmentDistance(px, py, s.X0, s.Y0, s.X1, s.Y1, along);
        const float halfWidth = Mix(s.Width0, s.Width1, along);
        const float coverage = Clamp01(halfWidth + 0.5f - d) * std::min(1.0f, halfWidth * 2.0f);
        if (coverage > 0.0f)
            pixel = Over(pixel, Mix(s.Color0, s.Color1, along), coverage);
    });
}

void PaintCurve(Canvas& canvas, Edges edges, const Curve& c)
{
    constexpr int kPieces = 14;
    float lastX = c.X0, lastY = c.Y0;
    for (int i = 1; i <= kPieces; ++i) {
        const float t0 = static_cast<float>(i - 1) / kPieces, t = static_cast<float>(i) / kPieces;
        const float x = Mix(Mix(c.X0, c.CX, t), Mix(c.CX, c.X1, t), t);
        const float y = Mix(Mix(c.Y0, c.CY, t), Mix(c.CY, c.Y1, t), t);
        PaintStroke(canvas, edges,
                    {lastX, lastY, x, y, Mix(c.Width0, c.Width1, t0), Mix(c.Width0, c.Width1, t),
                     Mix(c.Color0, c.Color1, t0), Mix(c.Color0, c.Color1, t)});
        lastX = x;
        lastY = y;
    }
}

namespace {

// One pass of a running box average along rows (or columns, transposed).
Canvas BoxPass(const Canvas& source, int radius, bool alongRows)
{
    const int w = source.Width(), h = source.Height();
    const int lines = alongRows ? h : w, length = alongRows ? w : h;
    Canvas out(w, h);
    const auto at = [&](int line, int i) -> const Color& {
        i = std::min(std::max(i, 0), length - 1);
        return alongRows ? source.At(i, line) : source.At(line, i);
    };
    const float scale = 1.0f / (2 * radius + 1);
    for (int line = 0; line < lines; ++line) {
        Color sum{0, 0, 0, 0};
        for (int i = -radius; i <= radius; ++i) {
            const Color& c = at(line, i);
            sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b, sum.a + c.a};
        }
        for (int i = 0; i < length; ++i) {
            (alongRows ? out.At(i, line) : out.At(line, i)) =
                Color{sum.r * scale, sum.g * scale, sum.b * scale, sum.a * scale};
            const Color& in = at(line, i + radius + 1);
            const Color& gone = at(line, i - radius);
            sum = {sum.r + in.r - gone.r, sum.g + in.g - gone.g, sum.b + in.b - gone.b, sum.a + in.a - gone.a};
        }
    }
    return out;
}

}  // namespace

Canvas Blur(const Canvas& source, int radius)
{
    Canvas out = source;
    for (int pass = 0; pass < 3; ++pass)
        out = BoxPass(BoxPass(out, radius, true), radius, false);
    return out;
}

}  // namespace bake
