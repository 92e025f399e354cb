// The butterfly: a dark body along z, head towards +z, and two flat wings,
// each on a joint of its own that beats it about the body.
#include <algorithm>
#include <cmath>

#include "butterfly_wing.h"
#include "families.h"
#include "model_kit.h"

namespace bake {

namespace {

constexpr float kTau = 6.2831853f;

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
        mesh.Sweep(path, Circle(kAntennaRadius, 6), {1, 0, 0}, body);
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
    bake.Pictures.push_back(ButterflyWing());
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
