// The butterfly: a dark body along z, head towards +z, and two flat wings
// painted as a monarch's (orange cells between black veins, a black border
// with white dots), each on a joint of its own that beats it about the body.
#include <algorithm>
#include <cmath>
#include <iterator>

#include "families.h"
#include "model_kit.h"
#include "noise.h"

namespace bake {

namespace {

constexpr float kTau = 6.2831853f;
constexpr int kWingSize = 256;
// Picture units: u from the wing's root (0) to its tip (1), w from its front
// (0) to its back (1).
constexpr float kMargin = 0.03f;
constexpr float kEdge = 1.5f / kWingSize;
constexpr float kBorder = 0.05f;
constexpr float kDotRadius = 0.011f;
constexpr float kDotSpacing = 0.035f;
// Dots keep this far from the root.
constexpr float kDotReach = 0.3f;
// How squarely the margin must face away from the root to carry dots.
constexpr float kFacing = 0.75f;
const Point2 kForeRoot{0.0f, 0.3f};
const Point2 kHindRoot{0.0f, 0.46f};
const Point2 kApex{1.0f, 0.02f};
constexpr float kApexReach = 0.42f;

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

// Veins run from a wing's root to its margin, bowed forward a little.
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
};

std::vector<Vein> VeinsFrom(const Point2& root, const std::vector<Point2>& ends)
{
    std::vector<Vein> veins;
    for (const Point2& end : ends)
        veins.push_back({root, end, 0.011f});
    return veins;
}

// Cross veins close the cell in the middle of each wing.
void AddCell(std::vector<Vein>& veins, size_t first, size_t second, float along)
{
    const auto at = [&](const Vein& v) {
        return Point2{v.From.x + (v.To.x - v.From.x) * along, v.From.y + (v.To.y - v.From.y) * along};
    };
    veins.push_back({at(veins[first]), at(veins[second]), 0.008f});
}

// White dots in two staggered rows along the outer margin, where the edge
// faces away from the root.
std::vector<Point2> BorderDots(const Outline& outline, const Point2& root)
{
    std::vector<Point2> dots;
    float travelled = 0.0f;
    bool inner = false;
    for (size_t i = 0; i < outline.size(); ++i) {
        const Point2 &a = outline[i], &b = outline[(i + 1) % outline.size()];
        const float length = std::hypot(b.x - a.x, b.y - a.y), reach = std::hypot(a.x - root.x, a.y - root.y);
        travelled += length;
        if (travelled < kDotSpacing || length <= 0.0f || reach < kDotReach)
            continue;
        Point2 normal{(b.y - a.y) / length, (a.x - b.x) / length};
        if (SignedDistance(outline, {a.x + normal.x * kEdge, a.y + normal.y * kEdge}) < 0.0f)
            normal = {-normal.x, -normal.y};
        if (-(normal.x * (a.x - root.x) + normal.y * (a.y - root.y)) / reach < kFacing)
            continue;
        travelled = 0.0f;
        inner = !inner;
        const float depth = (inner ? 0.72f : 0.32f) * kBorder;
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

float Nearest(const std::vector<Point2>& points, const Point2& p)
{
    float nearest = 1e9f;
    for (const Point2& q : points)
        nearest = std::min(nearest, std::hypot(p.x - q.x, p.y - q.y));
    return nearest;
}

// A band of pale spots across the forewing's black tip, and orange ones
// where the tip meets the orange.
const Point2 kPaleSpots[] = {{0.73f, 0.06f}, {0.78f, 0.12f}, {0.83f, 0.18f}, {0.88f, 0.23f}, {0.9f, 0.1f}};
const Point2 kOrangeSpots[] = {{0.64f, 0.1f}, {0.69f, 0.18f}, {0.75f, 0.25f}};
constexpr float kSpotRadius = 0.02f;

float SpotCover(const Point2* spots, size_t count, const Point2& p)
{
    const float nearest = Nearest(std::vector<Point2>(spots, spots + count), p);
    return 1.0f - Smoothstep(kSpotRadius - kEdge, kSpotRadius + kEdge, nearest);
}

Color WingAt(const WingPlan& plan, const Noise& noise, float u, float w)
{
    const Point2 p{u, w};
    const float fore = SignedDistance(plan.Fore, p), hind = SignedDistance(plan.Hind, p);
    const bool onFore = fore > -kEdge;
    const Point2& root = onFore ? kForeRoot : kHindRoot;
    const float fromRoot = std::hypot(u - root.x, w - root.y);
    const float scales = 0.06f * noise.Fbm(u * 16.0f, w * 16.0f, 16, 3);
    const Color deep{0.72f, 0.28f, 0.04f}, bright{0.98f, 0.56f, 0.1f}, black{0.06f, 0.05f, 0.05f};
    Color colour = Scale(Mix(deep, bright, Smoothstep(0.05f, 0.45f, fromRoot)), 1.0f + scales);
    const float veins = VeinCover(onFore ? plan.ForeVeins : plan.HindVeins, p);
    const float border = 1.0f - Smoothstep(kBorder - kEdge, kBorder + kEdge, onFore ? fore : hind);
    const float toApex = std::hypot(u - kApex.x, w - kApex.y);
    const float apex = onFore ? 1.0f - Smoothstep(kApexReach - 0.06f, kApexReach, toApex) : 0.0f;
    colour = Mix(colour, black, std::max({veins, border, apex, 1.0f - Smoothstep(0.0f, 0.08f, fromRoot)}));
    const float dots = 1.0f - Smoothstep(kDotRadius - kEdge, kDotRadius + kEdge, Nearest(plan.Dots, p));
    if (onFore)
        colour = Mix(colour, Color{0.98f, 0.62f, 0.16f}, SpotCover(kOrangeSpots, std::size(kOrangeSpots), p) * apex);
    const float pale = onFore ? SpotCover(kPaleSpots, std::size(kPaleSpots), p) : 0.0f;
    colour = Mix(colour, Color{0.96f, 0.94f, 0.88f}, std::max(dots * border, pale));
    colour.a = Smoothstep(-kEdge, kEdge, std::max(fore, hind));
    return colour;
}

// The wing keeps clear of the picture's border, where the engine's wrapping
// texture lookup would blend in the opposite edge.
Picture Wing()
{
    const WingPlan plan = Plan();
    const Noise noise(0xB077E4);
    const auto inset = [](float at) { return (at / kWingSize - kMargin) / (1.0f - 2.0f * kMargin); };
    Picture picture{"textures\\butterfly\\wing", FileFormat::Png, 4, {}};
    picture.Image =
        PaintEach(kWingSize, kWingSize, [&](float x, float y) { return WingAt(plan, noise, inset(x), inset(y)); });
    return picture;
}

// Model units. The body lies along z with its underside on y = 0; the wings
// are hinged along its top at x = +-kHinge.
constexpr float kBodyY = 0.045f;
constexpr float kWingY = 0.07f;
constexpr float kHinge = 0.02f;
constexpr float kWingSpan = 0.53f;
constexpr float kWingFront = 0.215f;
constexpr float kWingLength = 0.53f;
constexpr float kHeadZ = 0.125f;
constexpr float kHeadRadius = 0.032f;
constexpr float kAntennaRadius = 0.0045f;
constexpr float kClubRadius = 0.011f;
constexpr int kRound = 12;
// One beat lasts kBeat key units; the wings swing between kDown and kUp
// radians above level, and the body rises by kBob on the down stroke.
constexpr float kBeat = 3.0f;
constexpr int kBeatKeys = 6;
constexpr float kUp = 1.15f;
constexpr float kDown = -0.3f;
constexpr float kBob = 0.02f;

enum Joint : uint8_t { kBodyJoint, kLeftWing, kRightWing, kJoints };
enum Group : uint8_t { kBodyGroup, kWingGroup };

Placement On(uint8_t joint, uint8_t group)
{
    Placement placement;
    placement.Joint = joint;
    placement.Group = group;
    return placement;
}

// Thorax, abdomen drooping a little behind it, head, and two antennae
// ending in clubs; every profile is (radius, distance along its axis).
void Body(Mesh& mesh)
{
    const Placement body = On(kBodyJoint, kBodyGroup);
    mesh.Lathe({0, kBodyY, -0.03f}, {0, 0, 1},
               {{0.0f, 0.0f}, {0.03f, 0.01f}, {0.043f, 0.05f}, {kBodyY, 0.08f}, {0.036f, 0.12f}, {0.0f, 0.14f}},
               kRound, body);
    mesh.Lathe({0, kBodyY + 0.004f, -0.01f}, {0, -0.12f, -1},
               {{0.0f, 0.0f}, {0.027f, 0.02f}, {0.031f, 0.07f}, {0.028f, 0.15f}, {0.02f, 0.21f}, {0.0f, 0.25f}},
               kRound, body);
    mesh.Lathe({0, kBodyY + 0.006f, kHeadZ - kHeadRadius}, {0, 0, 1}, BallProfile(kHeadRadius), kRound, body);
    for (float side : {-1.0f, 1.0f}) {
        const std::vector<Vector3> path = Bezier({side * 0.01f, kBodyY + 0.03f, kHeadZ + 0.01f},
                                                 {side * 0.03f, kBodyY + 0.09f, kHeadZ + 0.05f},
                                                 {side * 0.06f, kBodyY + 0.12f, kHeadZ + 0.12f},
                                                 {side * 0.08f, kBodyY + 0.13f, kHeadZ + 0.19f}, 8);
        mesh.Sweep(path, Circle(kAntennaRadius, 6), {1, 0, 0}, {}, body);
        const Vector3 axis = path.back() - path[path.size() - 2];
        mesh.Lathe(path.back() - Normalized(axis) * kClubRadius, axis, BallProfile(kClubRadius), 8, body);
    }
}

// The wing on the +x side as one flat sheet facing up: u runs out from the
// hinge, v from the back (0) to the front (1), so the picture's top edge is
// the wing's leading edge.
Mesh LeftWing()
{
    Mesh wing;
    const float x0 = kHinge, x1 = kHinge + kWingSpan, front = kWingFront, back = kWingFront - kWingLength;
    const auto corner = [&](float x, float z, float u, float v) {
        MeshVertex vertex;
        vertex.Position = {x, kWingY, z};
        vertex.Normal = {0, 1, 0};
        vertex.U = u;
        vertex.V = v;
        vertex.Joint = kLeftWing;
        return wing.Add(vertex);
    };
    const uint32_t a = corner(x0, back, 0, 0), b = corner(x1, back, 1, 0), c = corner(x1, front, 1, 1),
                   d = corner(x0, front, 0, 1);
    wing.Triangle(a, c, b, kWingGroup);
    wing.Triangle(a, d, c, kWingGroup);
    return wing;
}

void Wings(Mesh& mesh)
{
    const Mesh left = LeftWing();
    Mesh right = left.Mirrored({1, 0, 0});
    for (MeshVertex& vertex : right.Vertices)
        vertex.Joint = kRightWing;
    mesh.Append(left);
    mesh.Append(right);
}

std::vector<ZRMJoint> Skeleton()
{
    std::vector<ZRMJoint> joints(kJoints);
    joints[kBodyJoint].Name = "Body";
    joints[kBodyJoint].RestPosition = {0, kBodyY, 0};
    joints[kLeftWing].Name = "Left wing";
    joints[kLeftWing].RestPosition = {kHinge, kWingY - kBodyY, 0};
    joints[kRightWing].Name = "Right wing";
    joints[kRightWing].RestPosition = {-kHinge, kWingY - kBodyY, 0};
    for (size_t j = kLeftWing; j < kJoints; ++j)
        joints[j].Parent = kBodyJoint;
    for (ZRMJoint& joint : joints) {
        joint.RotationKeyCount = kBeatKeys + 1;
        joint.PositionKeyCount = kBeatKeys + 1;
    }
    return joints;
}

// The wings start and end the beat raised; the left one turns up about +z,
// the right one about -z.
ZRMAnimation Flight()
{
    ZRMAnimation flight;
    flight.Name = "Fly";
    flight.Loop = true;
    flight.Tracks.resize(kJoints);
    for (int k = 0; k <= kBeatKeys; ++k) {
        const float time = 1.0f + kBeat * k / kBeatKeys;
        const float lift = 0.5f + 0.5f * std::cos(kTau * (k % kBeatKeys) / kBeatKeys);
        const float angle = kDown + (kUp - kDown) * lift;
        flight.Tracks[kBodyJoint].RotationKeys.push_back({time, {}});
        flight.Tracks[kBodyJoint].PositionKeys.push_back({time, {0, kBob * (1.0f - lift), 0}});
        flight.Tracks[kLeftWing].RotationKeys.push_back({time, {0, 0, angle}});
        flight.Tracks[kRightWing].RotationKeys.push_back({time, {0, 0, -angle}});
        for (size_t j = kLeftWing; j < kJoints; ++j)
            flight.Tracks[j].PositionKeys.push_back({time, {}});
    }
    return flight;
}

// Far enough for every pose: a wing vertex stays as far from its hinge as at
// rest, and the body rises by at most kBob.
float FlightRadius(const Mesh& mesh)
{
    float radius = 0.0f;
    for (const MeshVertex& vertex : mesh.Vertices) {
        const bool wing = vertex.Joint != kBodyJoint;
        const Vector3 hinge{vertex.Position.x > 0.0f ? kHinge : -kHinge, kWingY, 0.0f};
        const float reach = wing ? Length(hinge) + Length(vertex.Position - hinge) : Length(vertex.Position);
        radius = std::max(radius, reach + kBob);
    }
    return radius;
}

}  // namespace

void BakeButterfly(Bake& bake)
{
    bake.Pictures.push_back(Wing());
    Mesh mesh;
    Body(mesh);
    Wings(mesh);
    ztm::Material wings = Textured("Wings", 0, {1.0f, 1.0f, 1.0f}, 0.2f);
    wings.Script.insert(wings.Script.end(), {"CULLFACE {", "USE 1", "CULLFACE 0", "}"});
    const std::vector<ztm::Material> materials{Painted("Body", {0.11f, 0.09f, 0.08f}, 0.4f), wings};
    ModelFile file = Finished("butterfly", "Butterfly", mesh, materials, {{"Wing", "textures\\butterfly\\wing"}});
    file.Model.Joints = Skeleton();
    file.Model.Animations = {Flight()};
    file.Model.BoundingRadius = FlightRadius(mesh);
    bake.Models.push_back(file);
}

}  // namespace bake
