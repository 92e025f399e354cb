// Solids built from flat outlines: prisms (with an optional hole), solids of
// revolution and sections swept along a path. Where two faces meet at a sharp
// angle the edge stays sharp; gentler bends are shaded smooth.
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numeric>

#include "mesh.h"

namespace bake {

namespace {

constexpr float kTau = 6.2831853f;
// Faces whose normals differ by more than about 40 degrees keep an edge.
constexpr float kCrease = 0.77f;
constexpr float kFlat = 1e-7f;

using Corners = std::array<size_t, 3>;

// Twice the signed area of the triangle abc: positive when counter-clockwise.
float Turn(const Point2& a, const Point2& b, const Point2& c)
{
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

float Distance(const Point2& a, const Point2& b) { return std::hypot(b.x - a.x, b.y - a.y); }

bool Same(const Point2& a, const Point2& b) { return a.x == b.x && a.y == b.y; }

float SignedArea(const Outline& outline)
{
    float area = 0.0f;
    for (size_t i = 0; i < outline.size(); ++i) {
        const Point2& a = outline[i];
        const Point2& b = outline[(i + 1) % outline.size()];
        area += a.x * b.y - b.x * a.y;
    }
    return 0.5f * area;
}

Outline Oriented(Outline outline, bool counterClockwise)
{
    if ((SignedArea(outline) > 0.0f) != counterClockwise)
        std::reverse(outline.begin(), outline.end());
    return outline;
}

// The hole joined to the outline by a cut between their nearest corners, so
// that one polygon runs round both.
Outline Bridged(const Outline& outer, const Outline& hole)
{
    size_t from = 0, to = 0;
    float nearest = std::numeric_limits<float>::max();
    for (size_t i = 0; i < outer.size(); ++i) {
        for (size_t j = 0; j < hole.size(); ++j) {
            if (Distance(outer[i], hole[j]) < nearest) {
                nearest = Distance(outer[i], hole[j]);
                from = i;
                to = j;
            }
        }
    }
    Outline joined(outer.begin(), outer.begin() + static_cast<std::ptrdiff_t>(from) + 1);
    for (size_t k = 0; k <= hole.size(); ++k)
        joined.push_back(hole[(to + k) % hole.size()]);
    joined.insert(joined.end(), outer.begin() + static_cast<std::ptrdiff_t>(from), outer.end());
    return joined;
}

bool Inside(const Point2& p, const Point2& a, const Point2& b, const Point2& c)
{
    return Turn(a, b, p) >= 0.0f && Turn(b, c, p) >= 0.0f && Turn(c, a, p) >= 0.0f;
}

Corners CornersAt(const std::vector<size_t>& ring, size_t i)
{
    const size_t n = ring.size();
    return {ring[(i + n - 1) % n], ring[i], ring[(i + 1) % n]};
}

// The copies a bridge makes of its ends never block an ear.
bool IsEar(const Outline& points, const std::vector<size_t>& ring, size_t i)
{
    const Corners c = CornersAt(ring, i);
    const Point2 &a = points[c[0]], &b = points[c[1]], &d = points[c[2]];
    if (Turn(a, b, d) <= kFlat)
        return false;
    return std::none_of(ring.begin(), ring.end(), [&](size_t k) {
        const Point2& p = points[k];
        return !Same(p, a) && !Same(p, b) && !Same(p, d) && Inside(p, a, b, d);
    });
}

size_t FlattestCorner(const Outline& points, const std::vector<size_t>& ring)
{
    size_t flattest = 0;
    for (size_t i = 1; i < ring.size(); ++i) {
        const Corners c = CornersAt(ring, i), f = CornersAt(ring, flattest);
        if (std::fabs(Turn(points[c[0]], points[c[1]], points[c[2]])) <
            std::fabs(Turn(points[f[0]], points[f[1]], points[f[2]])))
            flattest = i;
    }
    return flattest;
}

// Ears clipped off a counter-clockwise polygon; a corner with no ear left is
// one where the outline only doubles back (along a bridge), and is dropped.
std::vector<Corners> Triangulate(const Outline& points)
{
    std::vector<size_t> ring(points.size());
    std::iota(ring.begin(), ring.end(), size_t{0});
    std::vector<Corners> triangles;
    while (ring.size() >= 3) {
        size_t ear = 0;
        while (ear < ring.size() && !IsEar(points, ring, ear))
            ++ear;
        if (ear == ring.size()) {
            ring.erase(ring.begin() + static_cast<std::ptrdiff_t>(FlattestCorner(points, ring)));
            continue;
        }
        triangles.push_back(CornersAt(ring, ear));
        ring.erase(ring.begin() + static_cast<std::ptrdiff_t>(ear));
    }
    return triangles;
}

// Outward for a counter-clockwise outline.
Point2 EdgeNormal(const Point2& a, const Point2& b)
{
    const float length = Distance(a, b);
    return length > 0.0f ? Point2{(b.y - a.y) / length, (a.x - b.x) / length} : Point2{};
}

Point2 Blend(const Point2& own, const Point2& other)
{
    if (own.x * other.x + own.y * other.y < kCrease)
        return own;
    const float length = std::hypot(own.x + other.x, own.y + other.y);
    return {(own.x + other.x) / length, (own.y + other.y) / length};
}

// The normal each edge has at its start and at its end.
struct EdgeEnds {
    Point2 Start;
    Point2 End;
};

std::vector<EdgeEnds> EdgeNormals(const Outline& outline, bool closed)
{
    const size_t n = outline.size(), edges = closed ? n : n - 1;
    std::vector<Point2> normals(edges);
    for (size_t i = 0; i < edges; ++i)
        normals[i] = EdgeNormal(outline[i], outline[(i + 1) % n]);
    std::vector<EdgeEnds> ends(edges);
    for (size_t i = 0; i < edges; ++i) {
        const Point2& previous = closed || i > 0 ? normals[(i + edges - 1) % edges] : normals[i];
        const Point2& next = closed || i + 1 < edges ? normals[(i + 1) % edges] : normals[i];
        ends[i] = {Blend(normals[i], previous), Blend(normals[i], next)};
    }
    return ends;
}

Vector3 At(const Frame& frame, const Point2& p) { return frame.Origin + frame.S * p.x + frame.T * p.y; }

Vector3 Turned(const Frame& frame, const Point2& n) { return Normalized(frame.S * n.x + frame.T * n.y); }

Vector3 FrontOf(const Frame& frame) { return Normalized(Cross(frame.S, frame.T)); }

MeshVertex Vertex(const Vector3& position, const Vector3& normal, float u, float v, const Placement& placement)
{
    MeshVertex vertex;
    vertex.Position = position;
    vertex.Normal = normal;
    vertex.U = u * placement.TextureScale;
    vertex.V = v * placement.TextureScale;
    vertex.Joint = placement.Joint;
    return vertex;
}

// A counter-clockwise polygon of the frame, moved by offset, facing the
// frame's front or its back.
void Cap(Mesh& mesh, const Frame& frame, const Outline& polygon, const Vector3& offset, bool front,
         const Placement& placement)
{
    const Vector3 normal = FrontOf(frame) * (front ? 1.0f : -1.0f);
    const uint32_t first = static_cast<uint32_t>(mesh.Vertices.size());
    for (const Point2& p : polygon)
        mesh.Add(Vertex(At(frame, p) + offset, normal, p.x, p.y, placement));
    for (const Corners& c : Triangulate(polygon)) {
        const uint32_t a = first + static_cast<uint32_t>(c[0]), b = first + static_cast<uint32_t>(c[1]),
                       d = first + static_cast<uint32_t>(c[2]);
        if (front)
            mesh.Triangle(a, b, d, placement.Group);
        else
            mesh.Triangle(a, d, b, placement.Group);
    }
}

// The band of quads from a loop of the frame to the same loop moved by lift.
void Walls(Mesh& mesh, const Frame& frame, const Outline& loop, const Vector3& lift, const Placement& placement)
{
    const std::vector<EdgeEnds> normals = EdgeNormals(loop, true);
    const float depth = Length(lift);
    float around = 0.0f;
    for (size_t i = 0; i < loop.size(); ++i) {
        const Point2 &a = loop[i], &b = loop[(i + 1) % loop.size()];
        const Vector3 na = Turned(frame, normals[i].Start), nb = Turned(frame, normals[i].End);
        const float next = around + Distance(a, b);
        const uint32_t a0 = mesh.Add(Vertex(At(frame, a), na, 0.0f, around, placement));
        const uint32_t b0 = mesh.Add(Vertex(At(frame, b), nb, 0.0f, next, placement));
        const uint32_t b1 = mesh.Add(Vertex(At(frame, b) + lift, nb, depth, next, placement));
        const uint32_t a1 = mesh.Add(Vertex(At(frame, a) + lift, na, depth, around, placement));
        mesh.Triangle(a0, b0, b1, placement.Group);
        mesh.Triangle(a0, b1, a1, placement.Group);
        around = next;
    }
}

void Perpendiculars(const Vector3& axis, Vector3& side, Vector3& up)
{
    const Vector3 helper = std::fabs(axis.y) < 0.9f ? Vector3{0, 1, 0} : Vector3{1, 0, 0};
    side = Normalized(Cross(helper, axis));
    up = Cross(axis, side);
}

// At each point of the path a frame across it, turned as little as the path
// allows from one point to the next.
std::vector<Frame> PathFrames(const std::vector<Vector3>& path, const Vector3& side)
{
    std::vector<Frame> frames;
    Vector3 across = side;
    for (size_t i = 0; i < path.size(); ++i) {
        const Vector3 direction = Normalized(path[std::min(i + 1, path.size() - 1)] - path[i > 0 ? i - 1 : 0]);
        across = Normalized(across - direction * Dot(across, direction));
        frames.push_back({path[i], across, Cross(direction, across)});
    }
    return frames;
}

std::vector<float> DistancesAlong(const std::vector<Vector3>& path)
{
    std::vector<float> distances{0.0f};
    for (size_t i = 1; i < path.size(); ++i)
        distances.push_back(distances.back() + Length(path[i] - path[i - 1]));
    return distances;
}

}  // namespace

void Mesh::Prism(const Frame& frame, const Outline& outline, float depth, const Placement& placement,
                 const Outline& hole)
{
    const Outline outer = Oriented(outline, true);
    const Outline inner = hole.empty() ? Outline{} : Oriented(hole, false);
    const Vector3 lift = FrontOf(frame) * depth;
    const Outline face = inner.empty() ? outer : Bridged(outer, inner);
    Cap(*this, frame, face, {}, false, placement);
    Cap(*this, frame, face, lift, true, placement);
    Walls(*this, frame, outer, lift, placement);
    if (!inner.empty())
        Walls(*this, frame, inner, lift, placement);
}

void Mesh::Plate(const Frame& frame, const Outline& outline, const Placement& placement)
{
    Cap(*this, frame, Oriented(outline, true), {}, true, placement);
}

void Mesh::Lathe(const Vector3& base, const Vector3& axis, const Outline& profile, int segments,
                 const Placement& placement)
{
    const Vector3 along = Normalized(axis);
    Vector3 side, up;
    Perpendiculars(along, side, up);
    float widest = 0.0f;
    for (const Point2& p : profile)
        widest = std::max(widest, p.x);
    const auto ring = [&](const Point2& p, const Point2& n, float v) {
        const uint32_t first = static_cast<uint32_t>(Vertices.size());
        for (int k = 0; k <= segments; ++k) {
            const float angle = kTau * k / segments;
            const Vector3 out = side * std::cos(angle) + up * std::sin(angle);
            const float u = static_cast<float>(k) / segments * kTau * widest;
            Add(Vertex(base + along * p.y + out * p.x, Normalized(out * n.x + along * n.y), u, v, placement));
        }
        return first;
    };
    const std::vector<EdgeEnds> normals = EdgeNormals(profile, false);
    float v = 0.0f;
    for (size_t e = 0; e + 1 < profile.size(); ++e) {
        const Point2 &a = profile[e], &b = profile[e + 1];
        const uint32_t lower = ring(a, normals[e].Start, v);
        v += Distance(a, b);
        const uint32_t upper = ring(b, normals[e].End, v);
        for (uint32_t k = 0; k < static_cast<uint32_t>(segments); ++k) {
            if (a.x > 0.0f)
                Triangle(lower + k, lower + k + 1, upper + k + 1, placement.Group);
            if (b.x > 0.0f)
                Triangle(lower + k, upper + k + 1, upper + k, placement.Group);
        }
    }
}

void Mesh::Sweep(const std::vector<Vector3>& path, const Outline& section, const Vector3& side,
                 const Placement& placement)
{
    const Outline loop = Oriented(section, true);
    const std::vector<Frame> frames = PathFrames(path, side);
    const std::vector<float> along = DistancesAlong(path);
    const std::vector<EdgeEnds> normals = EdgeNormals(loop, true);
    const uint32_t first = static_cast<uint32_t>(Vertices.size());
    for (size_t i = 0; i < frames.size(); ++i) {
        float around = 0.0f;
        for (size_t k = 0; k < loop.size(); ++k) {
            const Point2 &a = loop[k], &b = loop[(k + 1) % loop.size()];
            Add(Vertex(At(frames[i], a), Turned(frames[i], normals[k].Start), along[i], around, placement));
            around += Distance(a, b);
            Add(Vertex(At(frames[i], b), Turned(frames[i], normals[k].End), along[i], around, placement));
        }
    }
    const uint32_t row = static_cast<uint32_t>(2 * loop.size());
    for (uint32_t i = 0; i + 1 < frames.size(); ++i) {
        for (uint32_t k = 0; k < loop.size(); ++k) {
            const uint32_t a0 = first + i * row + 2 * k, b0 = a0 + 1, a1 = a0 + row, b1 = b0 + row;
            Triangle(a0, b0, b1, placement.Group);
            Triangle(a0, b1, a1, placement.Group);
        }
    }
    Cap(*this, frames.front(), loop, {}, false, placement);
    Cap(*this, frames.back(), loop, {}, true, placement);
}

Mesh Mesh::Mirrored(const Vector3& normal) const
{
    const Vector3 n = Normalized(normal);
    const auto reflect = [&n](const Vector3& v) { return v - n * (2.0f * Dot(v, n)); };
    Mesh mirror = *this;
    for (MeshVertex& vertex : mirror.Vertices) {
        vertex.Position = reflect(vertex.Position);
        vertex.Normal = reflect(vertex.Normal);
    }
    for (MeshTriangle& triangle : mirror.Triangles)
        std::swap(triangle.Corner[1], triangle.Corner[2]);
    return mirror;
}

Outline Circle(float radius, int segments, const Point2& centre)
{
    Outline circle;
    for (int k = 0; k < segments; ++k) {
        const float angle = kTau * k / segments;
        circle.push_back({centre.x + radius * std::cos(angle), centre.y + radius * std::sin(angle)});
    }
    return circle;
}

std::vector<Vector3> Bezier(const Vector3& p0, const Vector3& p1, const Vector3& p2, const Vector3& p3, int pieces)
{
    std::vector<Vector3> points;
    for (int i = 0; i <= pieces; ++i) {
        const float t = static_cast<float>(i) / pieces, s = 1.0f - t;
        points.push_back(p0 * (s * s * s) + p1 * (3.0f * s * s * t) + p2 * (3.0f * s * t * t) + p3 * (t * t * t));
    }
    return points;
}

}  // namespace bake
