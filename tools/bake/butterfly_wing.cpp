// The butterfly's wing, painted as a monarch's: orange cells between black
// veins, a black border with white dots, a black tip with pale spots.
#include "butterfly_wing.h"

#include <algorithm>
#include <cmath>

#include "mesh.h"
#include "noise.h"

namespace bake {

namespace {

constexpr int kWingSize = 256;
// Picture units: u from the wing's root (0) to its tip (1), w from its front
// (0) to its back (1).
constexpr float kMargin = 0.03f;
constexpr float kEdge = 1.5f / kWingSize;
constexpr float kBorder = 0.05f;
constexpr float kVeinWidth = 0.011f;
constexpr float kCrossVeinWidth = 0.008f;
constexpr float kDotRadius = 0.011f;
constexpr float kSpotRadius = 0.02f;
constexpr float kDotSpacing = 0.035f;
// Dots keep this far from the root.
constexpr float kDotReach = 0.3f;
// How squarely the margin must face away from the root to carry dots.
constexpr float kFacing = 0.75f;
const Point2 kForeRoot{0.0f, 0.3f};
const Point2 kHindRoot{0.0f, 0.46f};
const Point2 kApex{1.0f, 0.02f};
constexpr float kApexReach = 0.42f;
const Color kDeepOrange{0.72f, 0.28f, 0.04f};
const Color kOrange{0.98f, 0.56f, 0.1f};
const Color kSpotOrange{0.98f, 0.62f, 0.16f};
const Color kBlack{0.06f, 0.05f, 0.05f};
const Color kPale{0.96f, 0.94f, 0.88f};

// A closed outline through control points, rounded by Catmull-Rom pieces.
Outline Smooth(const Outline& controls, int steps)
{
    Outline curve;
    const size_t n = controls.size();
    for (size_t i = 0; i < n; ++i) {
        const Point2 &p0 = controls[(i + n - 1) % n], &p1 = controls[i], &p2 = controls[(i + 1) % n],
                     &p3 = controls[(i + 2) % n];
        for (int k = 0; k < steps; ++k) {
            const float t = static_cast<float>(k) / steps, t2 = t * t, t3 = t2 * t;
            const auto blend = [&](float a, float b, float c, float d) {
                return 0.5f * (2.0f * b + (c - a) * t + (2.0f * a - 5.0f * b + 4.0f * c - d) * t2 +
                               (3.0f * b - a - 3.0f * c + d) * t3);
            };
            curve.push_back({blend(p0.x, p1.x, p2.x, p3.x), blend(p0.y, p1.y, p2.y, p3.y)});
        }
    }
    return curve;
}

// Distance to the outline, positive inside it.
float SignedDistance(const Outline& outline, const Point2& p)
{
    float nearest = 1e9f;
    bool inside = false;
    for (size_t i = 0, j = outline.size() - 1; i < outline.size(); j = i++) {
        const Point2 &a = outline[i], &b = outline[j];
        float along = 0.0f;
        nearest = std::min(nearest, SegmentDistance(p.x, p.y, a.x, a.y, b.x, b.y, along));
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
            inside = !inside;
    }
    return inside ? nearest : -nearest;
}

struct Vein {
    Point2 From;
    Point2 To;
    float Width;
};

struct WingPlan {
    Outline Fore;
    Outline Hind;
    std::vector<Vein> ForeVeins;
    std::vector<Vein> HindVeins;
    std::vector<Point2> Dots;
    // A band of pale spots across the forewing's black tip, and orange ones
    // where the tip meets the orange.
    std::vector<Point2> PaleSpots{{0.73f, 0.06f}, {0.78f, 0.12f}, {0.83f, 0.18f}, {0.88f, 0.23f}, {0.9f, 0.1f}};
    std::vector<Point2> OrangeSpots{{0.64f, 0.1f}, {0.69f, 0.18f}, {0.75f, 0.25f}};
};

float Distance(const Point2& a, const Point2& b) { return std::hypot(b.x - a.x, b.y - a.y); }

// Straight veins from the root out past the margin, where the border hides
// their ends.
std::vector<Vein> VeinsFrom(const Point2& root, const std::vector<Point2>& ends)
{
    std::vector<Vein> veins;
    for (const Point2& end : ends)
        veins.push_back({root, end, kVeinWidth});
    return veins;
}

// Cross veins close the cell in the middle of each wing.
void AddCell(std::vector<Vein>& veins, size_t first, size_t second, float along)
{
    const auto at = [&](const Vein& v) {
        return Point2{v.From.x + (v.To.x - v.From.x) * along, v.From.y + (v.To.y - v.From.y) * along};
    };
    veins.push_back({at(veins[first]), at(veins[second]), kCrossVeinWidth});
}

// Dots in two staggered rows along the outer margin, where the edge faces
// away from the root.
std::vector<Point2> BorderDots(const Outline& outline, const Point2& root)
{
    std::vector<Point2> dots;
    float travelled = 0.0f;
    for (size_t i = 0; i < outline.size(); ++i) {
        const Point2 &a = outline[i], &b = outline[(i + 1) % outline.size()];
        const float length = Distance(a, b), reach = Distance(a, root);
        travelled += length;
        if (travelled < kDotSpacing || length <= 0.0f || reach < kDotReach)
            continue;
        Point2 normal{(b.y - a.y) / length, (a.x - b.x) / length};
        if (SignedDistance(outline, {a.x + normal.x * kEdge, a.y + normal.y * kEdge}) < 0.0f)
            normal = {-normal.x, -normal.y};
        if (-(normal.x * (a.x - root.x) + normal.y * (a.y - root.y)) / reach < kFacing)
            continue;
        travelled = 0.0f;
        const float depth = (dots.size() % 2 == 0 ? 0.72f : 0.32f) * kBorder;
        dots.push_back({a.x + normal.x * depth, a.y + normal.y * depth});
    }
    return dots;
}

WingPlan Plan()
{
    WingPlan plan;
    plan.Fore = Smooth({{0.0f, 0.24f}, {0.12f, 0.14f}, {0.35f, 0.05f}, {0.6f, 0.01f}, {0.82f, 0.0f},
                        {0.95f, 0.04f}, {0.97f, 0.13f}, {0.9f, 0.28f}, {0.8f, 0.42f}, {0.68f, 0.53f},
                        {0.5f, 0.54f}, {0.3f, 0.5f}, {0.12f, 0.44f}, {0.0f, 0.38f}},
                       8);
    plan.Hind = Smooth({{0.0f, 0.4f}, {0.25f, 0.42f}, {0.48f, 0.46f}, {0.64f, 0.55f}, {0.7f, 0.68f},
                        {0.66f, 0.82f}, {0.54f, 0.93f}, {0.38f, 0.98f}, {0.22f, 0.95f}, {0.1f, 0.84f},
                        {0.03f, 0.68f}, {0.0f, 0.52f}},
                       8);
    plan.ForeVeins = VeinsFrom(kForeRoot, {{0.75f, -0.02f}, {0.92f, 0.0f}, {1.0f, 0.12f}, {0.98f, 0.24f},
                                           {0.9f, 0.37f}, {0.8f, 0.5f}, {0.64f, 0.6f}, {0.42f, 0.58f}});
    AddCell(plan.ForeVeins, 1, 5, 0.55f);
    plan.HindVeins = VeinsFrom(kHindRoot, {{0.7f, 0.58f}, {0.76f, 0.72f}, {0.7f, 0.88f}, {0.56f, 1.0f},
                                           {0.38f, 1.03f}, {0.2f, 1.0f}, {0.08f, 0.92f}});
    AddCell(plan.HindVeins, 0, 4, 0.5f);
    plan.Dots = BorderDots(plan.Fore, kForeRoot);
    for (const Point2& dot : BorderDots(plan.Hind, kHindRoot)) {
        if (SignedDistance(plan.Fore, dot) < 0.0f)
            plan.Dots.push_back(dot);
    }
    return plan;
}

// Veins thin out towards the margin.
float VeinCover(const std::vector<Vein>& veins, const Point2& p)
{
    float cover = 0.0f;
    for (const Vein& vein : veins) {
        float along = 0.0f;
        const float d = SegmentDistance(p.x, p.y, vein.From.x, vein.From.y, vein.To.x, vein.To.y, along);
        const float width = vein.Width * (1.0f - 0.35f * along);
        cover = std::max(cover, 1.0f - Smoothstep(width - kEdge, width + kEdge, d));
    }
    return cover;
}

float SpotCover(const std::vector<Point2>& spots, float radius, const Point2& p)
{
    float nearest = 1e9f;
    for (const Point2& spot : spots)
        nearest = std::min(nearest, Distance(p, spot));
    return 1.0f - Smoothstep(radius - kEdge, radius + kEdge, nearest);
}

// Orange darkening towards the root, then black veins, border, forewing tip
// and root, then the spots on the black; the alpha is the wings' outline.
Color WingAt(const WingPlan& plan, const Noise& noise, const Point2& p)
{
    const float fore = SignedDistance(plan.Fore, p), hind = SignedDistance(plan.Hind, p);
    const bool onFore = fore > -kEdge;
    const float fromRoot = Distance(p, onFore ? kForeRoot : kHindRoot);
    const float scales = 1.0f + 0.06f * noise.Fbm(p.x * 16.0f, p.y * 16.0f, 16, 3);
    Color colour = Scale(Mix(kDeepOrange, kOrange, Smoothstep(0.05f, 0.45f, fromRoot)), scales);
    const float border = 1.0f - Smoothstep(kBorder - kEdge, kBorder + kEdge, onFore ? fore : hind);
    const float apex = onFore ? 1.0f - Smoothstep(kApexReach - 0.06f, kApexReach, Distance(p, kApex)) : 0.0f;
    const float veins = VeinCover(onFore ? plan.ForeVeins : plan.HindVeins, p);
    colour = Mix(colour, kBlack, std::max({veins, border, apex, 1.0f - Smoothstep(0.0f, 0.08f, fromRoot)}));
    colour = Mix(colour, kSpotOrange, apex * SpotCover(plan.OrangeSpots, kSpotRadius, p));
    const float dots = border * SpotCover(plan.Dots, kDotRadius, p);
    colour = Mix(colour, kPale, std::max(dots, apex * SpotCover(plan.PaleSpots, kSpotRadius, p)));
    colour.a = Smoothstep(-kEdge, kEdge, std::max(fore, hind));
    return colour;
}

}  // namespace

// The wing keeps clear of the picture's border, where the engine's wrapping
// texture lookup would blend in the opposite edge.
Picture ButterflyWing()
{
    const WingPlan plan = Plan();
    const Noise noise(0xB077E4);
    const auto inset = [](float at) { return (at / kWingSize - kMargin) / (1.0f - 2.0f * kMargin); };
    Picture picture{"textures\\butterfly\\wing", FileFormat::Png, 4, {}};
    picture.Image =
        PaintEach(kWingSize, kWingSize, [&](float x, float y) { return WingAt(plan, noise, {inset(x), inset(y)}); });
    return picture;
}

}  // namespace bake
