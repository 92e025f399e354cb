// Marching tetrahedra: every grid cell splits into six tetrahedra around its
// main diagonal, the same way in every cell, so neighbouring cells agree on
// their shared faces and the surface closes without the ambiguous cases of
// marching cubes.
#include <cmath>
#include <unordered_map>

#include "mesh.h"

namespace bake {

namespace {

// The corners of the six tetrahedra as offsets in the cell, each walking from
// corner (0, 0, 0) to (1, 1, 1) one axis at a time.
constexpr int kTetrahedra[6][4][3] = {
    {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {1, 1, 1}}, {{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {1, 1, 1}},
    {{0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 1, 1}}, {{0, 0, 0}, {0, 1, 0}, {0, 1, 1}, {1, 1, 1}},
    {{0, 0, 0}, {0, 0, 1}, {1, 0, 1}, {1, 1, 1}}, {{0, 0, 0}, {0, 0, 1}, {0, 1, 1}, {1, 1, 1}},
};

class Polygoniser {
public:
    Polygoniser(const Field& field, const Vector3& low, const Vector3& high, float step) : Low(low), Step(step)
    {
        for (int axis = 0; axis < 3; ++axis)
            Count[axis] = static_cast<int>(std::ceil((Axis(high, axis) - Axis(low, axis)) / step)) + 1;
        Values.resize(static_cast<size_t>(Count[0]) * Count[1] * Count[2]);
        for (int z = 0; z < Count[2]; ++z)
            for (int y = 0; y < Count[1]; ++y)
                for (int x = 0; x < Count[0]; ++x)
                    Values[Index(x, y, z)] = field(Point(x, y, z));
    }

    Mesh Run()
    {
        for (int z = 0; z + 1 < Count[2]; ++z)
            for (int y = 0; y + 1 < Count[1]; ++y)
                for (int x = 0; x + 1 < Count[0]; ++x)
                    Cell(x, y, z);
        return std::move(Result);
    }

private:
    static float Axis(const Vector3& v, int axis) { return axis == 0 ? v.x : axis == 1 ? v.y : v.z; }

    size_t Index(int x, int y, int z) const { return (static_cast<size_t>(z) * Count[1] + y) * Count[0] + x; }

    Vector3 Point(int x, int y, int z) const { return Low + Vector3{float(x), float(y), float(z)} * Step; }

    Vector3 Point(size_t index) const
    {
        const int x = static_cast<int>(index % Count[0]);
        const int y = static_cast<int>(index / Count[0] % Count[1]);
        return Point(x, y, static_cast<int>(index / Count[0] / Count[1]));
    }

    void Cell(int x, int y, int z)
    {
        for (const auto& tetrahedron : kTetrahedra) {
            size_t corners[4];
            for (int c = 0; c < 4; ++c)
                corners[c] = Index(x + tetrahedron[c][0], y + tetrahedron[c][1], z + tetrahedron[c][2]);
            Tetrahedron(corners);
        }
    }

    void Tetrahedron(const size_t (&corners)[4])
    {
        size_t inside[4], outside[4];
        int in = 0, out = 0;
        for (size_t corner : corners)
            (Values[corner] < 0.0f ? inside[in++] : outside[out++]) = corner;
        if (in == 0 || out == 0)
            return;
        const Vector3 outward = Centre(outside, out) - Centre(inside, in);
        if (in == 1 || out == 1) {
            const size_t lone = in == 1 ? inside[0] : outside[0];
            const size_t* others = in == 1 ? outside : inside;
            Face(Crossing(lone, others[0]), Crossing(lone, others[1]), Crossing(lone, others[2]), outward);
            return;
        }
        const uint32_t a = Crossing(inside[0], outside[0]), b = Crossing(inside[0], outside[1]);
        const uint32_t c = Crossing(inside[1], outside[1]), d = Crossing(inside[1], outside[0]);
        Face(a, b, c, outward);
        Face(a, c, d, outward);
    }

    Vector3 Centre(const size_t* corners, int count) const
    {
        Vector3 sum;
        for (int i = 0; i < count; ++i)
            sum = sum + Point(corners[i]);
        return sum * (1.0f / count);
    }

    // Turned to face away from the inside corners.
    void Face(uint32_t a, uint32_t b, uint32_t c, const Vector3& outward)
    {
        const std::vector<MeshVertex>& v = Result.Vertices;
        const Vector3 normal = Cross(v[b].Position - v[a].Position, v[c].Position - v[a].Position);
        if (Dot(normal, outward) < 0.0f)
            std::swap(b, c);
        Result.Triangle(a, b, c);
    }

    // The vertex where the field crosses 0 between two corners, made once.
    uint32_t Crossing(size_t a, size_t b)
    {
        if (a > b)
            std::swap(a, b);
        const uint64_t key = static_cast<uint64_t>(a) * Values.size() + b;
        const auto found = Edges.find(key);
        if (found != Edges.end())
            return found->second;
        const float t = Values[a] / (Values[a] - Values[b]);
        MeshVertex vertex;
        vertex.Position = Point(a) + (Point(b) - Point(a)) * t;
        const uint32_t index = Result.Add(vertex);
        Edges.emplace(key, index);
        return index;
    }

    Vector3 Low;
    float Step;
    int Count[3] = {};
    std::vector<float> Values;
    std::unordered_map<uint64_t, uint32_t> Edges;
    Mesh Result;
};

}  // namespace

Mesh Polygonise(const Field& field, const Vector3& low, const Vector3& high, float step)
{
    return Polygoniser(field, low, high, step).Run();
}

}  // namespace bake
