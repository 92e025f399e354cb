// The cat: its furred body polygonised from the anatomy's field and thinned
// to a budget, the coat's texture coordinates, the bare eyes, nose and inner
// ears, the materials of both, and the skeleton with its animations.
#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include "cat_body.h"
#include "cat_coat.h"
#include "cat_motion.h"
#include "families.h"

namespace bake {

namespace {

using namespace cat;

constexpr uint8_t kFurGroup = 0;
constexpr uint8_t kBareGroup = 1;
constexpr uint8_t kFurTexture = 0;
// Fine enough for the tail's tip and the ears' edges, which the thinning then keeps.
constexpr float kGridStep = 0.004f;
// The grid starts half a step below the ground, so no sample lies on it.
const Vector3 kGridLow{-0.1f, -0.002f, -0.32f};
const Vector3 kGridHigh{0.1f, 0.38f, 0.46f};
constexpr size_t kFurFaces = 3300;
// Vertices this close above the ground are on a sole and stand on it.
constexpr float kSole = 0.0005f;
// The face is small and read first, so its shape is kept more closely.
constexpr float kHeadImportance = 6.0f;
constexpr int kEyeRings = 6;
constexpr int kEyeSegments = 10;
// The eyes look forwards and this far out to the side.
constexpr float kEyeTurn = 0.35f;
constexpr int kInnerEarRows = 4;
// The part of the ear's height, from its base to its tip, that is bare inside.
constexpr float kInnerEarLow = 0.35f;
constexpr float kInnerEarHigh = 0.85f;
// Of the ear's half width at each height.
constexpr float kInnerEarWidth = 0.55f;
constexpr float kInnerEarLift = 0.0006f;
constexpr float kEarDepth = 0.03f;
constexpr int kSearchSteps = 24;
// Poses between the sampled ones may reach a hair further.
constexpr float kRadiusMargin = 0.002f;

Mesh Surface(const Body& body)
{
    Mesh mesh = Polygonise([&body](const Vector3& p) { return body.Distance(p); }, kGridLow, kGridHigh, kGridStep);
    Simplify(mesh, kFurFaces, [&body](const Vector3& p) {
        const uint8_t bone = body.BoneAt(p);
        return bone == kHead || bone == kEarRight || bone == kEarLeft ? kHeadImportance : 1.0f;
    });
    for (MeshVertex& vertex : mesh.Vertices) {
        vertex.Position = body.Project(vertex.Position);
        if (vertex.Position.y < kSole)
            vertex.Position.y = 0.0f;
        vertex.Normal = Normalized(body.Gradient(vertex.Position));
        vertex.Joint = body.BoneAt(vertex.Position);
    }
    return mesh;
}

// Corners of one vertex that agree on their texture coordinates share it.
Mesh Coated(const Mesh& surface, const Coat& coat)
{
    Mesh coated;
    std::map<std::tuple<uint32_t, float, float>, uint32_t> made;
    for (const MeshTriangle& triangle : surface.Triangles) {
        std::array<Vector3, 3> corners;
        for (size_t c = 0; c < 3; ++c)
            corners[c] = surface.Vertices[triangle.Corner[c]].Position;
        const std::array<TexturePoint, 3> texture = coat.Face(corners);
        std::array<uint32_t, 3> index{};
        for (size_t c = 0; c < 3; ++c) {
            const auto key = std::make_tuple(triangle.Corner[c], texture[c].U, texture[c].V);
            const auto found = made.find(key);
            if (found != made.end()) {
                index[c] = found->second;
                continue;
            }
            MeshVertex vertex = surface.Vertices[triangle.Corner[c]];
            vertex.U = texture[c].U;
            vertex.V = texture[c].V;
            index[c] = made[key] = coated.Add(vertex);
        }
        coated.Triangle(index[0], index[1], index[2], kFurGroup);
    }
    return coated;
}

// Where the surface lies in front of a point inside the ear.
Vector3 EarFront(const Body& body, const Vector3& inside, const Vector3& facing)
{
    float low = 0.0f, high = kEarDepth;
    for (int i = 0; i < kSearchSteps; ++i) {
        const float middle = 0.5f * (low + high);
        (body.Distance(inside + facing * middle) < 0.0f ? low : high) = middle;
    }
    return inside + facing * high;
}

// A triangle of rows laid on the ear's front, its apex towards the tip.
void AddInnerEar(Mesh& mesh, const Body& body, const Ear& ear, uint8_t bone)
{
    const Vector3 up = ear.Tip - ear.Base;
    const Vector3 across = Normalized(Cross(up, ear.Facing));
    const uint32_t first = static_cast<uint32_t>(mesh.Vertices.size());
    for (int row = 0; row <= kInnerEarRows; ++row) {
        const float height = kInnerEarHigh + (kInnerEarLow - kInnerEarHigh) * row / kInnerEarRows;
        const float halfWidth = kInnerEarWidth * ear.HalfWidth * (1.0f - height);
        for (int k = 0; k <= row; ++k) {
            const float side = row == 0 ? 0.0f : 2.0f * k / row - 1.0f;
            const Vector3 inside = ear.Base + up * height + across * (halfWidth * side);
            MeshVertex vertex;
            const Vector3 front = EarFront(body, inside, ear.Facing);
            vertex.Normal = Normalized(body.Gradient(front));
            vertex.Position = front + vertex.Normal * kInnerEarLift;
            vertex.Joint = bone;
            mesh.Add(vertex);
        }
    }
    const auto at = [first](int row, int k) { return first + static_cast<uint32_t>(row * (row + 1) / 2 + k); };
    const auto face = [&](uint32_t a, uint32_t b, uint32_t c) {
        const Vector3 normal = Cross(mesh.Vertices[b].Position - mesh.Vertices[a].Position,
                                     mesh.Vertices[c].Position - mesh.Vertices[a].Position);
        if (Dot(normal, ear.Facing) < 0.0f)
            std::swap(b, c);
        mesh.Triangle(a, b, c, kBareGroup);
    };
    for (int row = 0; row < kInnerEarRows; ++row) {
        for (int k = 0; k <= row; ++k) {
            face(at(row, k), at(row + 1, k), at(row + 1, k + 1));
            if (k < row)
                face(at(row, k), at(row + 1, k + 1), at(row, k + 1));
        }
    }
}

Vector3 TurnedAboutY(const Vector3& v, float angle)
{
    const float c = std::cos(angle), s = std::sin(angle);
    return {c * v.x + s * v.z, v.y, c * v.z - s * v.x};
}

// An almond eye, turned to look out to its own side.
void AddEye(Mesh& mesh, const Feature& eye, const Placement& bare)
{
    Mesh ball;
    ball.Ellipsoid({}, eye.Radii, kEyeRings, kEyeSegments, bare);
    const float turn = eye.Centre.x > 0.0f ? -kEyeTurn : kEyeTurn;
    for (MeshVertex& vertex : ball.Vertices) {
        vertex.Position = TurnedAboutY(vertex.Position, turn) + eye.Centre;
        vertex.Normal = TurnedAboutY(vertex.Normal, turn);
    }
    mesh.Append(ball);
}

void AddBareParts(Mesh& mesh, const Body& body)
{
    const Placement bare{kBareGroup, kHead, 1.0f};
    for (const Feature& eye : Eyes())
        AddEye(mesh, eye, bare);
    mesh.Ellipsoid(Nose().Centre, Nose().Radii, kEyeRings / 2, kEyeSegments, bare);
    const std::array<Ear, 2> ears = Ears();
    AddInnerEar(mesh, body, ears[0], kEarRight);
    AddInnerEar(mesh, body, ears[1], kEarLeft);
}

ztm::Material Fur()
{
    ztm::Material material;
    material.Name = "CatFur";
    // The skin under the coat, darker than the hairs' tips, as the fur's
    // roots are.
    material.Ambient = {0.5f, 0.5f, 0.5f};
    material.Diffuse = {0.6f, 0.6f, 0.6f};
    material.Specular = {0.08f, 0.07f, 0.06f};
    material.Shininess = 10.0f;
    material.LayerTexture[0] = kFurTexture;
    material.Script = {"SET_RENDERING STEP0 TEX0 OPAQUE"};
    return material;
}

// Eyes, nose and inner ears: dark and wet.
ztm::Material Bare()
{
    ztm::Material material;
    material.Name = "CatBare";
    material.Ambient = {0.06f, 0.04f, 0.04f};
    material.Diffuse = {0.16f, 0.09f, 0.09f};
    material.Specular = {0.8f, 0.8f, 0.8f};
    material.Shininess = 60.0f;
    return material;
}

void Dress(ztm::Model& model)
{
    model.Textures = {{"fur", "textures\\fur\\fur"}};
    model.Materials = {Fur(), Bare()};
    model.Groups[kFurGroup].Name = "Fur";
    model.Groups[kFurGroup].Material = kFurGroup;
    model.Groups[kBareGroup].Name = "Bare";
    model.Groups[kBareGroup].Material = kBareGroup;
}

}  // namespace

void BakeCat(Bake& bake)
{
    const Body body;
    Mesh mesh = Coated(Surface(body), Coat(body));
    AddBareParts(mesh, body);
    ModelFile file{"models\\cat", {}};
    ztm::Model& model = file.Model;
    model.Name = "Cat";
    mesh.ToModel(model);
    Dress(model);
    model.Joints = Joints();
    model.Animations = Animations();
    model.BoundingRadius = PosedRadius(model, mesh) + kRadiusMargin;
    bake.Models.push_back(file);
}

}  // namespace bake
