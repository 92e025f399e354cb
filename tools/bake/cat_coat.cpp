#include "cat_coat.h"

#include <algorithm>
#include <cmath>

namespace bake::cat {

namespace {

// Repeats of the fur picture per model unit: its eleven stripes then fall
// about four centimetres apart on a cat of life size.
constexpr float kTextureScale = 2.5f;
constexpr int kCurveSteps = 16;
// How much further than the nearest region a region may lie and still lend
// its chart to a point.
constexpr float kBlendReach = 0.02f;
constexpr float kTau = 6.2831853f;

struct AxisSample {
    float Along = 0.0f;
    float Radius = 0.0f;
    float Angle = 0.0f;
};

Vector3 CatmullRom(const Vector3& p0, const Vector3& p1, const Vector3& p2, const Vector3& p3, float t)
{
    const float t2 = t * t, t3 = t2 * t;
    return (p1 * 2.0f + (p2 - p0) * t + (p0 * 2.0f - p1 * 5.0f + p2 * 4.0f - p3) * t2 +
            (p1 * 3.0f - p0 - p2 * 3.0f + p3) * t3) *
           0.5f;
}

}  // namespace

struct Coat::Axis {
    std::vector<Vector3> Samples;
    std::vector<float> Lengths;
    Vector3 Normal;
    TexturePoint Offset;

    explicit Axis(const ChartAxis& axis) : Normal(axis.Normal)
    {
        const std::vector<Vector3>& p = axis.Points;
        const int last = static_cast<int>(p.size()) - 1;
        for (int i = 0; i < last; ++i) {
            const Vector3 &before = p[std::max(i - 1, 0)], &after = p[std::min(i + 2, last)];
            for (int s = 0; s < kCurveSteps; ++s)
                Samples.push_back(CatmullRom(before, p[i], p[i + 1], after, static_cast<float>(s) / kCurveSteps));
        }
        Samples.push_back(p.back());
        Lengths.push_back(0.0f);
        for (size_t i = 1; i < Samples.size(); ++i)
            Lengths.push_back(Lengths.back() + Length(Samples[i] - Samples[i - 1]));
    }

    // Past either end the distance along runs on straight.
    AxisSample At(const Vector3& p) const
    {
        size_t best = 0;
        float bestDistance = 1e9f, bestH = 0.0f;
        for (size_t i = 0; i + 1 < Samples.size(); ++i) {
            const Vector3 segment = Samples[i + 1] - Samples[i];
            const float h = std::clamp(Dot(p - Samples[i], segment) / Dot(segment, segment), 0.0f, 1.0f);
            const float distance = Length(p - (Samples[i] + segment * h));
            if (distance < bestDistance) {
                best = i;
                bestDistance = distance;
                bestH = h;
            }
        }
        const Vector3 segment = Samples[best + 1] - Samples[best];
        const Vector3 tangent = Normalized(segment);
        const Vector3 offset = p - (Samples[best] + segment * bestH);
        AxisSample sample;
        sample.Along = Lengths[best] + Length(segment) * bestH;
        const bool beyond = (best == 0 && bestH == 0.0f) || (best + 2 == Samples.size() && bestH == 1.0f);
        if (beyond)
            sample.Along += Dot(offset, tangent);
        const Vector3 up = Normalized(Cross(tangent, Normal)), side = Cross(up, tangent);
        const float x = Dot(offset, side), y = Dot(offset, up);
        sample.Radius = std::sqrt(x * x + y * y);
        sample.Angle = std::atan2(x, y);
        return sample;
    }

    TexturePoint Texture(const AxisSample& sample) const
    {
        return {sample.Radius * sample.Angle * kTextureScale + Offset.U, sample.Along * kTextureScale + Offset.V};
    }
};

Coat::Coat(const Body& body) : Shape(body)
{
    for (const ChartAxis& axis : ChartAxes())
        Axes.emplace_back(axis);
    for (size_t c = 1; c < Axes.size(); ++c) {
        const Vector3& join = ChartAxes()[c].Join;
        const TexturePoint trunk = Axes[kTrunkChart].Texture(Axes[kTrunkChart].At(join));
        const TexturePoint own = Axes[c].Texture(Axes[c].At(join));
        Axes[c].Offset = {trunk.U - own.U, trunk.V - own.V};
    }
}

Coat::~Coat() = default;

// The face takes the chart most of its corners lie nearest; the trunk and
// the tail run the same way, so they blend, but a leg's or an ear's strands
// cross the trunk's, and blending them would swirl, so those meet at a seam.
std::array<TexturePoint, 3> Coat::Face(const std::array<Vector3, 3>& corners) const
{
    std::array<std::array<float, kChartCount>, 3> distances;
    std::array<size_t, 3> nearest{};
    for (size_t c = 0; c < 3; ++c) {
        distances[c] = Shape.ChartDistances(corners[c]);
        nearest[c] = static_cast<size_t>(std::min_element(distances[c].begin(), distances[c].end()) -
                                         distances[c].begin());
    }
    const size_t chart = nearest[1] == nearest[2] ? nearest[1] : nearest[0];
    const bool spine = chart == kTrunkChart || chart == kTailChart;
    std::array<TexturePoint, 3> result;
    std::array<float, kChartCount> reference{};
    for (size_t c = 0; c < 3; ++c) {
        const float closest = std::min(distances[c][kTrunkChart], distances[c][kTailChart]);
        float u = 0.0f, v = 0.0f, total = 0.0f;
        for (size_t k = 0; k < Axes.size(); ++k) {
            if (spine ? k != kTrunkChart && k != kTailChart : k != chart)
                continue;
            AxisSample sample = Axes[k].At(corners[c]);
            if (c == 0)
                reference[k] = sample.Angle;
            sample.Angle += kTau * std::round((reference[k] - sample.Angle) / kTau);
            const float reach = spine ? std::max(0.0f, 1.0f - (distances[c][k] - closest) / kBlendReach) : 1.0f;
            const TexturePoint point = Axes[k].Texture(sample);
            u += point.U * reach * reach;
            v += point.V * reach * reach;
            total += reach * reach;
        }
        result[c] = {u / total, v / total};
    }
    return result;
}

}  // namespace bake::cat
