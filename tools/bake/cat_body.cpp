#include "cat_body.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace bake::cat {

struct Part {
    enum class Shape { Ellipsoid, Capsule } Kind = Shape::Ellipsoid;
    // An ellipsoid's centre and radii, or a capsule's two ends.
    Vector3 A, B;
    float RadiusA = 0.0f, RadiusB = 0.0f;
    // How far the smooth union with the parts before reaches.
    float Blend = 0.01f;
    uint8_t Bone = kHips;
    uint8_t Chart = kTrunkChart;
    // Cut out of the parts before instead of joined to them.
    bool Carve = false;
    // A capsule squashed across this axis to this fraction of its thickness.
    Vector3 Flat;
    float Thickness = 1.0f;
};

namespace {

constexpr float kGradientStep = 0.0005f;
constexpr int kProjectSteps = 3;

// Tail joints, root to tip, and the tail's radius at each.
constexpr Vector3 kTailPoints[kTailBones + 1] = {{0, 0.205f, 0.18f},  {0, 0.19f, 0.245f},  {0, 0.148f, 0.285f},
                                                 {0, 0.104f, 0.315f}, {0, 0.082f, 0.357f}, {0, 0.088f, 0.398f},
                                                 {0, 0.115f, 0.424f}};
// Where the tail leaves the rump, on top.
constexpr Vector3 kTailJoin{0, 0.222f, 0.212f};
constexpr float kTailRadii[kTailBones + 1] = {0.021f, 0.017f, 0.015f, 0.0135f, 0.0125f, 0.0115f, 0.0095f};

// The right legs; the left ones mirror them. The upper leg starts inside the
// chest but short of its side, so that the coat's seam between the two runs
// round the leg's top rather than across the flank.
constexpr Vector3 kShoulder{0.034f, 0.15f, -0.09f}, kElbow{0.034f, 0.105f, -0.085f};
// Above the elbow, so that a raised leg lifts its elbow rather than dipping
// it, and low, so that it pulls less skin from under the chest.
constexpr Vector3 kShoulderJoint{0.034f, 0.15f, -0.084f};
constexpr Vector3 kWrist{0.033f, 0.03f, -0.097f}, kFrontPaw{0.033f, 0.011f, -0.107f};
constexpr Vector3 kHip{0.04f, 0.175f, 0.12f}, kKnee{0.043f, 0.105f, 0.092f};
constexpr Vector3 kHock{0.04f, 0.05f, 0.142f}, kHindPaw{0.038f, 0.011f, 0.128f};
constexpr Vector3 kPawRadii{0.0175f, 0.0135f, 0.023f};

constexpr Vector3 kEyeCentre{0.021f, 0.278f, -0.236f};
constexpr Vector3 kEyeRadii{0.0105f, 0.0082f, 0.0065f};
constexpr Vector3 kEarBase{0.031f, 0.292f, -0.197f}, kEarTip{0.05f, 0.35f, -0.192f};
constexpr Vector3 kEarFacing{0.34f, 0.05f, -0.94f};
constexpr float kEarRadius = 0.021f;
constexpr float kEarThickness = 0.34f;

Vector3 Mirror(const Vector3& v) { return {-v.x, v.y, v.z}; }

float Clamp01(float x) { return std::clamp(x, 0.0f, 1.0f); }

float SmoothMin(float a, float b, float k)
{
    const float h = std::max(k - std::fabs(a - b), 0.0f) / k;
    return std::min(a, b) - h * h * k * 0.25f;
}

// A bound on the distance to an ellipsoid, exact on its surface.
float EllipsoidDistance(const Vector3& p, const Vector3& centre, const Vector3& radii)
{
    const Vector3 q = p - centre;
    const float k0 = Length({q.x / radii.x, q.y / radii.y, q.z / radii.z});
    const float k1 = Length({q.x / (radii.x * radii.x), q.y / (radii.y * radii.y), q.z / (radii.z * radii.z)});
    if (k1 <= 0.0f)
        return -std::min({radii.x, radii.y, radii.z});
    return k0 * (k0 - 1.0f) / k1;
}

// Stretches v along axis, so that what lies within thickness of the axis
// reaches 1.
Vector3 Unsquash(const Vector3& v, const Vector3& axis, float thickness)
{
    return v + axis * (Dot(v, axis) * (1.0f / thickness - 1.0f));
}

float CapsuleDistance(const Vector3& p, const Part& part)
{
    Vector3 pa = p - part.A, ba = part.B - part.A;
    if (part.Thickness < 1.0f) {
        pa = Unsquash(pa, part.Flat, part.Thickness);
        ba = Unsquash(ba, part.Flat, part.Thickness);
    }
    const float h = Clamp01(Dot(pa, ba) / Dot(ba, ba));
    const float d = Length(pa - ba * h) - (part.RadiusA + (part.RadiusB - part.RadiusA) * h);
    return d * part.Thickness;
}

float PartDistance(const Vector3& p, const Part& part)
{
    return part.Kind == Part::Shape::Ellipsoid ? EllipsoidDistance(p, part.A, part.B) : CapsuleDistance(p, part);
}

Part Ellipsoid(const Vector3& centre, const Vector3& radii, float blend, uint8_t bone, uint8_t chart = kTrunkChart)
{
    Part part;
    part.A = centre;
    part.B = radii;
    part.Blend = blend;
    part.Bone = bone;
    part.Chart = chart;
    return part;
}

Part Capsule(const Vector3& a, const Vector3& b, float ra, float rb, float blend, uint8_t bone,
             uint8_t chart = kTrunkChart)
{
    Part part = Ellipsoid(a, b, blend, bone, chart);
    part.Kind = Part::Shape::Capsule;
    part.RadiusA = ra;
    part.RadiusB = rb;
    return part;
}

Part Mirrored(Part part, uint8_t bone, uint8_t chart)
{
    part.A = Mirror(part.A);
    if (part.Kind == Part::Shape::Capsule)
        part.B = Mirror(part.B);
    part.Flat = Mirror(part.Flat);
    part.Bone = bone;
    part.Chart = chart;
    return part;
}

void AddPair(std::vector<Part>& parts, const Part& right, uint8_t leftBone, uint8_t leftChart)
{
    parts.push_back(right);
    parts.push_back(Mirrored(right, leftBone, leftChart));
}

void AddTrunk(std::vector<Part>& parts)
{
    parts.push_back(Ellipsoid({0, 0.176f, -0.08f}, {0.057f, 0.07f, 0.082f}, 0.01f, kChest));
    parts.push_back(Ellipsoid({0, 0.168f, 0.02f}, {0.059f, 0.066f, 0.09f}, 0.03f, kChest));
    parts.push_back(Ellipsoid({0, 0.178f, 0.118f}, {0.06f, 0.069f, 0.08f}, 0.03f, kHips));
    parts.push_back(Capsule({0, 0.19f, -0.1f}, {0, 0.255f, -0.17f}, 0.045f, 0.039f, 0.035f, kNeck));
}

void AddHead(std::vector<Part>& parts)
{
    parts.push_back(Ellipsoid({0, 0.268f, -0.2f}, {0.05f, 0.041f, 0.045f}, 0.02f, kHead, kHeadChart));
    parts.push_back(Ellipsoid({0, 0.253f, -0.212f}, {0.058f, 0.029f, 0.034f}, 0.015f, kHead, kHeadChart));
    parts.push_back(Ellipsoid({0, 0.266f, -0.236f}, {0.014f, 0.012f, 0.018f}, 0.015f, kHead, kHeadChart));
    AddPair(parts, Ellipsoid({0.0115f, 0.25f, -0.244f}, {0.014f, 0.011f, 0.012f}, 0.01f, kHead, kHeadChart),
            kHead, kHeadChart);
    parts.push_back(Ellipsoid({0, 0.241f, -0.234f}, {0.01f, 0.008f, 0.011f}, 0.01f, kHead, kHeadChart));
    Part socket = Ellipsoid(kEyeCentre, kEyeRadii * 1.1f, 0.005f, kHead);
    socket.Carve = true;
    AddPair(parts, socket, kHead, kHeadChart);
    Part ear = Capsule(kEarBase, kEarTip, kEarRadius, 0.002f, 0.012f, kEarRight, kEarRightChart);
    ear.Flat = Normalized(kEarFacing);
    ear.Thickness = kEarThickness;
    AddPair(parts, ear, kEarLeft, kEarLeftChart);
}

void AddLegs(std::vector<Part>& parts)
{
    AddPair(parts, Capsule(kShoulder, kElbow, 0.021f, 0.018f, 0.02f, kFrontUpperRight, kFrontRightChart),
            kFrontUpperLeft, kFrontLeftChart);
    AddPair(parts, Capsule(kElbow, kWrist, 0.0165f, 0.013f, 0.012f, kFrontLowerRight, kFrontRightChart),
            kFrontLowerLeft, kFrontLeftChart);
    AddPair(parts, Ellipsoid(kFrontPaw, kPawRadii, 0.012f, kFrontLowerRight, kFrontRightChart), kFrontLowerLeft,
            kFrontLeftChart);
    AddPair(parts, Capsule(kHip, kKnee, 0.035f, 0.021f, 0.025f, kHindUpperRight), kHindUpperLeft, kTrunkChart);
    AddPair(parts, Capsule(kKnee, kHock, 0.017f, 0.012f, 0.012f, kHindLowerRight, kHindRightChart),
            kHindLowerLeft, kHindLeftChart);
    AddPair(parts, Capsule(kHock, kHindPaw + Vector3{0, 0.008f, 0.008f}, 0.012f, 0.011f, 0.01f, kHindLowerRight,
                           kHindRightChart),
            kHindLowerLeft, kHindLeftChart);
    AddPair(parts, Ellipsoid(kHindPaw, kPawRadii, 0.012f, kHindLowerRight, kHindRightChart), kHindLowerLeft,
            kHindLeftChart);
}

void AddTail(std::vector<Part>& parts)
{
    for (int i = 0; i < kTailBones; ++i) {
        const float blend = i == 0 ? 0.02f : 0.004f;
        parts.push_back(Capsule(kTailPoints[i], kTailPoints[i + 1], kTailRadii[i], kTailRadii[i + 1], blend,
                                static_cast<uint8_t>(kTail0 + i), kTailChart));
    }
}

}  // namespace

const std::array<BoneRest, kBoneCount>& Skeleton()
{
    static const std::array<BoneRest, kBoneCount> bones = {{
        {"Hips", kNoJoint, {0, 0.185f, 0.1f}},
        {"Chest", kHips, {0, 0.185f, 0.045f}},
        {"Neck", kChest, {0, 0.21f, -0.118f}},
        {"Head", kNeck, {0, 0.258f, -0.178f}},
        {"EarRight", kHead, kEarBase},
        {"EarLeft", kHead, Mirror(kEarBase)},
        {"Tail0", kHips, kTailPoints[0]},
        {"Tail1", kTail0, kTailPoints[1]},
        {"Tail2", kTail1, kTailPoints[2]},
        {"Tail3", kTail2, kTailPoints[3]},
        {"Tail4", kTail3, kTailPoints[4]},
        {"Tail5", kTail4, kTailPoints[5]},
        {"FrontUpperRight", kChest, kShoulderJoint},
        {"FrontLowerRight", kFrontUpperRight, kElbow},
        {"FrontUpperLeft", kChest, Mirror(kShoulderJoint)},
        {"FrontLowerLeft", kFrontUpperLeft, Mirror(kElbow)},
        {"HindUpperRight", kHips, kHip},
        {"HindLowerRight", kHindUpperRight, kKnee},
        {"HindUpperLeft", kHips, Mirror(kHip)},
        {"HindLowerLeft", kHindUpperLeft, Mirror(kKnee)},
    }};
    return bones;
}

const std::array<ChartAxis, kChartCount>& ChartAxes()
{
    static const std::array<ChartAxis, kChartCount> axes = [] {
        std::array<ChartAxis, kChartCount> a;
        a[kTrunkChart] = {{{0, 0.26f, -0.285f}, {0, 0.266f, -0.2f}, {0, 0.235f, -0.14f}, {0, 0.19f, -0.08f},
                           {0, 0.178f, 0.02f}, {0, 0.182f, 0.11f}, {0, 0.186f, 0.2f}},
                          {1, 0, 0},
                          {}};
        a[kHeadChart] = {{{-0.09f, 0.268f, -0.2f}, {0.09f, 0.268f, -0.2f}}, {0, -1, 0}, {0, 0.3f, -0.17f}};
        a[kTailChart] = {{std::begin(kTailPoints), std::end(kTailPoints)}, {1, 0, 0}, kTailJoin};
        a[kTailChart].Points.push_back(kTailPoints[kTailBones] + Vector3{0, 0.02f, 0.01f});
        const Vector3 below{0, -0.03f, 0};
        a[kFrontRightChart] = {{kShoulder + Vector3{0, 0.03f, 0}, kElbow, kWrist, kFrontPaw + below},
                               {-1, 0, 0},
                               kElbow + Vector3{0.017f, 0.012f, 0}};
        a[kHindRightChart] = {{kKnee + Vector3{0, 0.02f, -0.02f}, kKnee, kHock, kHindPaw + below},
                              {-1, 0, 0},
                              kKnee + Vector3{0.021f, 0, 0}};
        a[kEarRightChart] = {{kEarBase, kEarTip + (kEarTip - kEarBase) * 0.3f}, {1, 0, 0}, kEarBase};
        for (Chart right : {kFrontRightChart, kHindRightChart, kEarRightChart}) {
            ChartAxis& left = a[right + 1];
            for (const Vector3& point : a[right].Points)
                left.Points.push_back(Mirror(point));
            left.Normal = a[right].Normal;
            left.Join = Mirror(a[right].Join);
        }
        return a;
    }();
    return axes;
}

std::array<Feature, 2> Eyes() { return {{{kEyeCentre, kEyeRadii}, {Mirror(kEyeCentre), kEyeRadii}}}; }

Feature Nose() { return {{0, 0.2625f, -0.2575f}, {0.0085f, 0.006f, 0.0065f}}; }

std::array<Ear, 2> Ears()
{
    const Vector3 facing = Normalized(kEarFacing);
    return {{{kEarBase, kEarTip, facing, kEarRadius},
             {Mirror(kEarBase), Mirror(kEarTip), Mirror(facing), kEarRadius}}};
}

Body::Body()
{
    AddTrunk(Parts);
    AddHead(Parts);
    AddLegs(Parts);
    AddTail(Parts);
}

Body::~Body() = default;

float Body::Distance(const Vector3& p) const
{
    float field = PartDistance(p, Parts.front());
    for (size_t i = 1; i < Parts.size(); ++i) {
        const float d = PartDistance(p, Parts[i]);
        field = Parts[i].Carve ? -SmoothMin(-field, d, Parts[i].Blend) : SmoothMin(field, d, Parts[i].Blend);
    }
    return std::max(field, -p.y);
}

Vector3 Body::Gradient(const Vector3& p) const
{
    const auto along = [&](const Vector3& step) { return Distance(p + step) - Distance(p - step); };
    const float h = kGradientStep;
    return Vector3{along({h, 0, 0}), along({0, h, 0}), along({0, 0, h})} * (0.5f / h);
}

uint8_t Body::BoneAt(const Vector3& p) const
{
    uint8_t bone = kHips;
    float nearest = 0.0f;
    for (size_t i = 0; i < Parts.size(); ++i) {
        const float d = PartDistance(p, Parts[i]);
        if (Parts[i].Carve || (i > 0 && d >= nearest))
            continue;
        nearest = d;
        bone = Parts[i].Bone;
    }
    return bone;
}

std::array<float, kChartCount> Body::ChartDistances(const Vector3& p) const
{
    std::array<float, kChartCount> distances;
    distances.fill(1e9f);
    for (const Part& part : Parts)
        if (!part.Carve)
            distances[part.Chart] = std::min(distances[part.Chart], PartDistance(p, part));
    return distances;
}

Vector3 Body::Project(const Vector3& p) const
{
    Vector3 q = p;
    for (int i = 0; i < kProjectSteps; ++i) {
        const Vector3 g = Gradient(q);
        const float g2 = Dot(g, g);
        if (g2 <= 0.0f)
            break;
        q = q - g * (Distance(q) / g2);
    }
    return q;
}

}  // namespace bake::cat
