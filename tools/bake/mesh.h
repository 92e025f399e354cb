// Triangle meshes for the baked models: vertices with a normal, texture
// coordinates and the joint that carries them, triangles sorted into face
// groups, a few solids to build props from, and the step that turns a mesh
// into one level of a model file.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "ztm.h"

namespace bake {

struct MeshVertex {
    Vector3 Position;
    Vector3 Normal;
    float U = 0.0f;
    float V = 0.0f;
    uint8_t Joint = kNoJoint;
};

struct MeshTriangle {
    std::array<uint32_t, 3> Corner{};
    // The face group it is drawn in.
    uint8_t Group = 0;
};

// The points of a flat outline or profile, in order.
using Outline = std::vector<Point2>;

// A plane in space: its point (s, t) lies at Origin + S * s + T * t, and its
// front faces along Cross(S, T).
struct Frame {
    Vector3 Origin;
    Vector3 S{1, 0, 0};
    Vector3 T{0, 1, 0};
};

// Where a solid goes and what its faces carry.
struct Placement {
    uint8_t Group = 0;
    uint8_t Joint = kNoJoint;
    // Texture coordinates per model unit.
    float TextureScale = 1.0f;
};

class Mesh {
public:
    uint32_t Add(const MeshVertex& vertex);
    // Counter-clockwise seen from outside.
    void Triangle(uint32_t a, uint32_t b, uint32_t c, uint8_t group = 0);
    void Append(const Mesh& other);

    // An axis-aligned box around centre with the given half sizes.
    void Box(const Vector3& centre, const Vector3& half, const Placement& placement);
    // A tube from base to top, radius0 at the base and radius1 at the top,
    // closed at both ends; v runs along it, u around it.
    void Tube(const Vector3& base, const Vector3& top, float radius0, float radius1, int segments,
              const Placement& placement);
    // An ellipsoid of the given radii; u runs around y, v from bottom to top.
    void Ellipsoid(const Vector3& centre, const Vector3& radii, int rings, int segments, const Placement& placement);

    // The outline drawn in frame, pushed out of it along its front by depth;
    // a hole, if any, goes right through. Caps take (s, t) as texture
    // coordinates, sides u along the depth and v around the outline.
    void Prism(const Frame& frame, const Outline& outline, float depth, const Placement& placement,
               const Outline& hole = {});
    // The outline drawn in frame as one flat face, seen from its front only.
    void Plate(const Frame& frame, const Outline& outline, const Placement& placement);
    // A solid of revolution about the line from base along axis. Each profile
    // point is (radius, distance along the axis), bottom to top; a profile
    // that starts or ends on the axis is closed there. v runs along the profile.
    void Lathe(const Vector3& base, const Vector3& axis, const Outline& profile, int segments,
               const Placement& placement);
    // The closed section carried along path, ends capped. Section x lies
    // along side at the start, y along Cross(direction, side); u runs along
    // the path, v around the section.
    void Sweep(const std::vector<Vector3>& path, const Outline& section, const Vector3& side,
               const Placement& placement);

    // A copy reflected in the plane through the origin at right angles to
    // normal, its triangles turned round so that they still face out.
    Mesh Mirrored(const Vector3& normal) const;

    // Normals of every vertex as the area-weighted mean of its triangles'.
    void SmoothNormals();
    // The greatest distance of a vertex from the origin.
    float Radius() const;
    float LowestY() const;

    // Level 0 geometry of model, and the faces of each group that appears.
    void ToModel(ztm::Model& model) const;

    std::vector<MeshVertex> Vertices;
    std::vector<MeshTriangle> Triangles;
};

Vector3 operator+(const Vector3& a, const Vector3& b);
Vector3 operator-(const Vector3& a, const Vector3& b);
Vector3 operator*(const Vector3& v, float f);
float Dot(const Vector3& a, const Vector3& b);
Vector3 Cross(const Vector3& a, const Vector3& b);
float Length(const Vector3& v);
Vector3 Normalized(const Vector3& v);

// A regular polygon around centre, counter-clockwise from +x.
Outline Circle(float radius, int segments, const Point2& centre = {});
// Points along the cubic Bezier curve from p0 to p3, ends included.
std::vector<Vector3> Bezier(const Vector3& p0, const Vector3& p1, const Vector3& p2, const Vector3& p3, int pieces);

// A signed distance, or anything shaped like one: negative inside a solid,
// positive outside.
using Field = std::function<float(const Vector3&)>;

// The surface where field crosses 0 inside the box from low to high, sampled
// every step; triangles wind counter-clockwise seen from outside, vertices on
// shared grid edges are shared, and only positions are filled in.
Mesh Polygonise(const Field& field, const Vector3& low, const Vector3& high, float step);

// How much more a place's shape matters than elsewhere: 1 for no more.
using Importance = std::function<float(const Vector3&)>;

// Collapses edges of a closed mesh, the cheapest by quadric error (times the
// importance of the faces the error is measured from) first, until at most
// faces triangles remain; a kept vertex keeps its other fields, so normals
// and texture coordinates are best made afterwards.
void Simplify(Mesh& mesh, size_t faces, const Importance& importance = {});

}  // namespace bake
