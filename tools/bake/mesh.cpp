#include "mesh.h"

#include <algorithm>
#include <cmath>

namespace bake {

namespace {

constexpr float kTau = 6.2831853f;

// Two unit vectors at right angles to axis and to each other.
void Basis(const Vector3& axis, Vector3& side, Vector3& up)
{
    const Vector3 helper = std::fabs(axis.y) < 0.9f ? Vector3{0, 1, 0} : Vector3{1, 0, 0};
    side = Normalized(Cross(helper, axis));
    up = Cross(axis, side);
}

}  // namespace

Vector3 operator+(const Vector3& a, const Vector3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vector3 operator-(const Vector3& a, const Vector3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vector3 operator*(const Vector3& v, float f) { return {v.x * f, v.y * f, v.z * f}; }
float Dot(const Vector3& a, const Vector3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vector3 Cross(const Vector3& a, const Vector3& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
float Length(const Vector3& v) { return std::sqrt(Dot(v, v)); }
Vector3 Normalized(const Vector3& v)
{
    const float length = Length(v);
    return length > 0.0f ? v * (1.0f / length) : v;
}

uint32_t Mesh::Add(const MeshVertex& vertex)
{
    Vertices.push_back(vertex);
    return static_cast<uint32_t>(Vertices.size() - 1);
}

void Mesh::Triangle(uint32_t a, uint32_t b, uint32_t c, uint8_t group) { Triangles.push_back({{a, b, c}, group}); }

void Mesh::Append(const Mesh& other)
{
    const uint32_t offset = static_cast<uint32_t>(Vertices.size());
    Vertices.insert(Vertices.end(), other.Vertices.begin(), other.Vertices.end());
    for (MeshTriangle triangle : other.Triangles) {
        for (uint32_t& corner : triangle.Corner)
            corner += offset;
        Triangles.push_back(triangle);
    }
}

// Each face has vertices of its own, so the edges stay sharp.
void Mesh::Box(const Vector3& centre, const Vector3& half, const Placement& placement)
{
    const Vector3 axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    const float halves[3] = {half.x, half.y, half.z};
    for (int axis = 0; axis < 3; ++axis) {
        for (float sign : {-1.0f, 1.0f}) {
            const Vector3 normal = axes[axis] * sign;
            const int a = (axis + 1) % 3, b = (axis + 2) % 3;
            const Vector3 across = axes[a] * halves[a], along = axes[b] * halves[b];
            const Vector3 middle = centre + normal * halves[axis];
            uint32_t corners[4];
            for (int k = 0; k < 4; ++k) {
                const float s = (k == 1 || k == 2) ? 1.0f : -1.0f, t = k >= 2 ? 1.0f : -1.0f;
                MeshVertex vertex;
                vertex.Position = middle + across * s + along * t;
                vertex.Normal = normal;
                vertex.U = (s + 1.0f) * halves[a] * placement.TextureScale;
                vertex.V = (t + 1.0f) * halves[b] * placement.TextureScale;
                vertex.Joint = placement.Joint;
                corners[k] = Add(vertex);
            }
            // Counter-clockwise when seen along -normal.
            const bool flip = sign < 0.0f;
            Triangle(corners[0], corners[flip ? 2 : 1], corners[flip ? 1 : 2], placement.Group);
            Triangle(corners[0], corners[flip ? 3 : 2], corners[flip ? 2 : 3], placement.Group);
        }
    }
}

void Mesh::Tube(const Vector3& base, const Vector3& top, float radius0, float radius1, int segments,
                const Placement& placement)
{
    const Vector3 axis = Normalized(top - base);
    const float length = Length(top - base);
    Vector3 side, up;
    Basis(axis, side, up);
    const float slope = (radius0 - radius1) / std::max(length, 1e-6f);
    std::vector<uint32_t> rings[2];
    for (int end = 0; end < 2; ++end) {
        const Vector3 centre = end == 0 ? base : top;
        const float radius = end == 0 ? radius0 : radius1;
        for (int k = 0; k <= segments; ++k) {
            const float angle = kTau * k / segments;
            const Vector3 out = side * std::cos(angle) + up * std::sin(angle);
            MeshVertex vertex;
            vertex.Position = centre + out * radius;
            vertex.Normal = Normalized(out + axis * slope);
            vertex.U = static_cast<float>(k) / segments * kTau * std::max(radius0, radius1) * placement.TextureScale;
            vertex.V = end * length * placement.TextureScale;
            vertex.Joint = placement.Joint;
            rings[end].push_back(Add(vertex));
        }
    }
    for (int k = 0; k < segments; ++k) {
        Triangle(rings[0][k], rings[0][k + 1], rings[1][k + 1], placement.Group);
        Triangle(rings[0][k], rings[1][k + 1], rings[1][k], placement.Group);
    }
    for (int end = 0; end < 2; ++end) {
        const Vector3 normal = axis * (end == 0 ? -1.0f : 1.0f);
        MeshVertex centre;
        centre.Position = end == 0 ? base : top;
        centre.Normal = normal;
        centre.Joint = placement.Joint;
        const uint32_t middle = Add(centre);
        std::vector<uint32_t> cap;
        for (int k = 0; k <= segments; ++k) {
            MeshVertex vertex = Vertices[rings[end][k]];
            vertex.Normal = normal;
            cap.push_back(Add(vertex));
        }
        for (int k = 0; k < segments; ++k) {
            if (end == 0)
                Triangle(middle, cap[k + 1], cap[k], placement.Group);
            else
                Triangle(middle, cap[k], cap[k + 1], placement.Group);
        }
    }
}

void Mesh::Ellipsoid(const Vector3& centre, const Vector3& radii, int rings, int segments,
                     const Placement& placement)
{
    const uint32_t first = static_cast<uint32_t>(Vertices.size());
    for (int ring = 0; ring <= rings; ++ring) {
        const float polar = 3.14159265f * ring / rings;
        for (int k = 0; k <= segments; ++k) {
            const float angle = kTau * k / segments;
            const Vector3 unit{std::sin(polar) * std::cos(angle), -std::cos(polar), std::sin(polar) * std::sin(angle)};
            MeshVertex vertex;
            vertex.Position = centre + Vector3{unit.x * radii.x, unit.y * radii.y, unit.z * radii.z};
            vertex.Normal = Normalized({unit.x / radii.x, unit.y / radii.y, unit.z / radii.z});
            vertex.U = static_cast<float>(k) / segments * placement.TextureScale;
            vertex.V = static_cast<float>(ring) / rings * placement.TextureScale;
            vertex.Joint = placement.Joint;
            Add(vertex);
        }
    }
    // The rings at the poles shrink to a point: their quads are single triangles.
    const uint32_t row = static_cast<uint32_t>(segments + 1);
    for (int ring = 0; ring < rings; ++ring) {
        for (int k = 0; k < segments; ++k) {
            const uint32_t a = first + ring * row + k, b = a + 1, c = a + row, d = c + 1;
            if (ring > 0)
                Triangle(a, d, b, placement.Group);
            if (ring < rings - 1)
                Triangle(a, c, d, placement.Group);
        }
    }
}

void Mesh::SmoothNormals()
{
    std::vector<Vector3> sums(Vertices.size());
    for (const MeshTriangle& triangle : Triangles) {
        const Vector3& a = Vertices[triangle.Corner[0]].Position;
        const Vector3 area = Cross(Vertices[triangle.Corner[1]].Position - a, Vertices[triangle.Corner[2]].Position - a);
        for (uint32_t corner : triangle.Corner)
            sums[corner] = sums[corner] + area;
    }
    for (size_t i = 0; i < Vertices.size(); ++i) {
        if (Length(sums[i]) > 0.0f)
            Vertices[i].Normal = Normalized(sums[i]);
    }
}

float Mesh::Radius() const
{
    float radius = 0.0f;
    for (const MeshVertex& vertex : Vertices)
        radius = std::max(radius, Length(vertex.Position));
    return radius;
}

float Mesh::LowestY() const
{
    float lowest = 0.0f;
    for (size_t i = 0; i < Vertices.size(); ++i)
        lowest = i == 0 ? Vertices[i].Position.y : std::min(lowest, Vertices[i].Position.y);
    return lowest;
}

void Mesh::ToModel(ztm::Model& model) const
{
    ztm::Level& level = model.Levels[0];
    level.Vertices.clear();
    level.Faces.clear();
    for (const MeshVertex& vertex : Vertices)
        level.Vertices.push_back({vertex.Position, vertex.Joint});
    uint8_t groups = 0;
    for (const MeshTriangle& triangle : Triangles)
        groups = std::max<uint8_t>(groups, static_cast<uint8_t>(triangle.Group + 1));
    if (model.Groups.size() < groups)
        model.Groups.resize(groups);
    for (ZRMGroup& group : model.Groups)
        group.Faces[0].clear();
    for (const MeshTriangle& triangle : Triangles) {
        ZRMFace face;
        for (size_t c = 0; c < 3; ++c) {
            const MeshVertex& vertex = Vertices[triangle.Corner[c]];
            face.Vertex[c] = static_cast<uint16_t>(triangle.Corner[c]);
            face.Normal[c] = vertex.Normal;
            face.U[c] = vertex.U;
            face.V[c] = vertex.V;
        }
        model.Groups[triangle.Group].Faces[0].push_back(static_cast<uint16_t>(level.Faces.size()));
        level.Faces.push_back(face);
    }
}

}  // namespace bake
