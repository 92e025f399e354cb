// Edge collapse by quadric error (Garland and Heckbert): each vertex carries
// the summed squared distances to the planes of its original faces, and the
// edge whose merged vertex strays least from those planes goes first. A
// collapse is refused when it would pinch the surface, fold a face over or
// leave a sliver, so the mesh stays closed and manifold.
#include <algorithm>
#include <array>
#include <cmath>
#include <queue>

#include "mesh.h"

namespace bake {

namespace {

// Rounding about the right angle turns a face through before a collapse is refused.
constexpr double kMinTurnCosine = 0.2;
// Faces thinner than this (1 for equilateral) may not be made thinner.
constexpr double kMinQuality = 0.1;
// Faces thinner than this turn too easily to say which way they face.
constexpr double kNeedle = 0.01;
// A merged vertex further than this many edge lengths from the edge's middle
// comes from a nearly flat quadric and is not trusted.
constexpr double kMaxReach = 2.0;

struct Point3 {
    double x = 0.0, y = 0.0, z = 0.0;
};

Point3 operator+(const Point3& a, const Point3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Point3 operator-(const Point3& a, const Point3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Point3 operator*(const Point3& a, double f) { return {a.x * f, a.y * f, a.z * f}; }
double Dot(const Point3& a, const Point3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Point3 Cross(const Point3& a, const Point3& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double Length(const Point3& v) { return std::sqrt(Dot(v, v)); }

// 4 for an equilateral triangle's area over its squared edges, scaled to 1.
double Quality(const Point3& a, const Point3& b, const Point3& c)
{
    const double edges = Dot(b - a, b - a) + Dot(c - b, c - b) + Dot(a - c, a - c);
    return edges > 0.0 ? 2.0 * std::sqrt(3.0) * Length(Cross(b - a, c - a)) / edges : 0.0;
}

// The symmetric 4x4 matrix of summed plane equations, upper triangle.
struct Quadric {
    std::array<double, 10> Q{};

    void AddPlane(const Point3& normal, double offset, double weight)
    {
        const double p[4] = {normal.x, normal.y, normal.z, offset};
        int k = 0;
        for (int i = 0; i < 4; ++i)
            for (int j = i; j < 4; ++j)
                Q[k++] += weight * p[i] * p[j];
    }

    Quadric operator+(const Quadric& other) const
    {
        Quadric sum;
        for (size_t i = 0; i < Q.size(); ++i)
            sum.Q[i] = Q[i] + other.Q[i];
        return sum;
    }

    double Error(const Point3& v) const
    {
        return Q[0] * v.x * v.x + 2 * Q[1] * v.x * v.y + 2 * Q[2] * v.x * v.z + 2 * Q[3] * v.x + Q[4] * v.y * v.y +
               2 * Q[5] * v.y * v.z + 2 * Q[6] * v.y + Q[7] * v.z * v.z + 2 * Q[8] * v.z + Q[9];
    }

    // Where the error is least, by Cramer's rule; false when the matrix is near singular.
    bool Minimum(Point3& v) const
    {
        const double a = Q[0], b = Q[1], c = Q[2], d = Q[4], e = Q[5], f = Q[7];
        const double det = a * (d * f - e * e) - b * (b * f - c * e) + c * (b * e - c * d);
        if (std::fabs(det) < 1e-18)
            return false;
        const Point3 r{-Q[3], -Q[6], -Q[8]};
        v.x = (r.x * (d * f - e * e) - b * (r.y * f - e * r.z) + c * (r.y * e - d * r.z)) / det;
        v.y = (a * (r.y * f - e * r.z) - r.x * (b * f - c * e) + c * (b * r.z - r.y * c)) / det;
        v.z = (a * (d * r.z - r.y * e) - b * (b * r.z - r.y * c) + r.x * (b * e - c * d)) / det;
        return true;
    }
};

struct Candidate {
    double Cost = 0.0;
    uint32_t Keep = 0, Drop = 0;
    uint32_t KeepStamp = 0, DropStamp = 0;
    Point3 Target;

    bool operator<(const Candidate& other) const
    {
        if (Cost != other.Cost)
            return Cost > other.Cost;
        return Keep != other.Keep ? Keep > other.Keep : Drop > other.Drop;
    }
};

class Simplifier {
public:
    Simplifier(Mesh& mesh, const Importance& importance) : Source(mesh)
    {
        for (const MeshVertex& vertex : mesh.Vertices)
            Positions.push_back({vertex.Position.x, vertex.Position.y, vertex.Position.z});
        Faces.resize(mesh.Vertices.size());
        Quadrics.resize(mesh.Vertices.size());
        Stamps.assign(mesh.Vertices.size(), 0);
        for (uint32_t t = 0; t < mesh.Triangles.size(); ++t) {
            Corners.push_back(mesh.Triangles[t].Corner);
            for (uint32_t corner : Corners.back())
                Faces[corner].push_back(t);
            AddPlane(t, importance);
        }
        Alive.assign(Corners.size(), true);
        Living = Corners.size();
        for (const auto& corners : Corners)
            for (int c = 0; c < 3; ++c)
                if (corners[c] < corners[(c + 1) % 3])
                    Offer(corners[c], corners[(c + 1) % 3]);
    }

    void Run(size_t faces)
    {
        while (Living > faces && !Queue.empty()) {
            const Candidate candidate = Queue.top();
            Queue.pop();
            if (Stamps[candidate.Keep] != candidate.KeepStamp || Stamps[candidate.Drop] != candidate.DropStamp)
                continue;
            if (Linked(candidate.Keep, candidate.Drop) && Unfolded(candidate))
                Collapse(candidate);
        }
        Write();
    }

private:
    void AddPlane(uint32_t t, const Importance& importance)
    {
        const auto& c = Corners[t];
        const Point3 normal = Cross(Positions[c[1]] - Positions[c[0]], Positions[c[2]] - Positions[c[0]]);
        const double area = Length(normal);
        if (area <= 0.0)
            return;
        const Point3 unit = normal * (1.0 / area);
        const Point3 centre = (Positions[c[0]] + Positions[c[1]] + Positions[c[2]]) * (1.0 / 3.0);
        const double weight = importance ? importance({float(centre.x), float(centre.y), float(centre.z)}) : 1.0;
        for (uint32_t corner : c)
            Quadrics[corner].AddPlane(unit, -Dot(unit, Positions[c[0]]), area * weight);
    }

    // The cheapest of the quadric's minimum, the edge's middle and its ends
    // that the collapse allows; none when it allows none.
    void Offer(uint32_t keep, uint32_t drop)
    {
        if (!Linked(keep, drop))
            return;
        const Quadric sum = Quadrics[keep] + Quadrics[drop];
        const Point3 a = Positions[keep], b = Positions[drop], middle = (a + b) * 0.5;
        std::vector<Candidate> options;
        Point3 best;
        if (sum.Minimum(best) && Length(best - middle) <= kMaxReach * Length(b - a))
            options.push_back({sum.Error(best), keep, drop, Stamps[keep], Stamps[drop], best});
        for (const Point3& target : {middle, a, b})
            options.push_back({sum.Error(target), keep, drop, Stamps[keep], Stamps[drop], target});
        std::stable_sort(options.begin(), options.end(),
                         [](const Candidate& x, const Candidate& y) { return x.Cost < y.Cost; });
        for (const Candidate& option : options) {
            if (Unfolded(option)) {
                Queue.push(option);
                return;
            }
        }
    }

    std::vector<uint32_t> Neighbours(uint32_t vertex) const
    {
        std::vector<uint32_t> around;
        for (uint32_t t : Faces[vertex])
            for (uint32_t corner : Corners[t])
                if (corner != vertex)
                    around.push_back(corner);
        std::sort(around.begin(), around.end());
        around.erase(std::unique(around.begin(), around.end()), around.end());
        return around;
    }

    static bool Holds(const std::array<uint32_t, 3>& corners, uint32_t vertex)
    {
        return corners[0] == vertex || corners[1] == vertex || corners[2] == vertex;
    }

    // Two shared neighbours keep the surface a manifold; more would pinch it.
    bool Linked(uint32_t keep, uint32_t drop) const
    {
        const std::vector<uint32_t> a = Neighbours(keep), b = Neighbours(drop);
        std::vector<uint32_t> shared;
        std::set_intersection(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(shared));
        return shared.size() == 2;
    }

    Point3 Normal(uint32_t t) const
    {
        const auto& c = Corners[t];
        return Cross(Positions[c[1]] - Positions[c[0]], Positions[c[2]] - Positions[c[0]]);
    }

    // No face turns over, and the thinnest face around gets no thinner than
    // it was (the faces that vanish count), or stays fat enough.
    bool Unfolded(const Candidate& candidate) const
    {
        double worstBefore = 1.0, worstAfter = 1.0;
        Point3 around;
        for (uint32_t moved : {candidate.Keep, candidate.Drop})
            for (uint32_t t : Faces[moved])
                around = around + Normal(t);
        for (uint32_t moved : {candidate.Keep, candidate.Drop}) {
            for (uint32_t t : Faces[moved]) {
                const Point3 before[3] = {Corner(t, 0), Corner(t, 1), Corner(t, 2)};
                worstBefore = std::min(worstBefore, Quality(before[0], before[1], before[2]));
                if (Holds(Corners[t], candidate.Keep) && Holds(Corners[t], candidate.Drop))
                    continue;
                Point3 after[3];
                for (int c = 0; c < 3; ++c) {
                    const uint32_t corner = Corners[t][c];
                    after[c] = corner == candidate.Keep || corner == candidate.Drop ? candidate.Target : before[c];
                }
                if (!SameWay(before, after, around))
                    return false;
                worstAfter = std::min(worstAfter, Quality(after[0], after[1], after[2]));
            }
        }
        return worstAfter >= kMinQuality || worstAfter >= worstBefore;
    }

    Point3 Corner(uint32_t t, int c) const { return Positions[Corners[t][c]]; }

    // A face too thin to say which way it faces is held to its neighbourhood's way.
    static bool SameWay(const Point3 (&before)[3], const Point3 (&after)[3], const Point3& around)
    {
        const Point3 old = Cross(before[1] - before[0], before[2] - before[0]);
        const Point3 fresh = Cross(after[1] - after[0], after[2] - after[0]);
        if (Length(fresh) <= 0.0)
            return Length(old) <= 0.0;
        const Point3 facing = Quality(before[0], before[1], before[2]) >= kNeedle ? old : around;
        return Dot(facing, fresh) >= kMinTurnCosine * Length(facing) * Length(fresh);
    }

    void Kill(uint32_t t)
    {
        Alive[t] = false;
        --Living;
        for (uint32_t corner : Corners[t]) {
            std::vector<uint32_t>& faces = Faces[corner];
            faces.erase(std::remove(faces.begin(), faces.end(), t), faces.end());
        }
    }

    void Collapse(const Candidate& candidate)
    {
        const uint32_t keep = candidate.Keep, drop = candidate.Drop;
        std::vector<uint32_t> kept;
        const std::vector<uint32_t> around = Faces[keep];
        for (uint32_t t : around) {
            if (Holds(Corners[t], drop))
                Kill(t);
            else
                kept.push_back(t);
        }
        for (uint32_t t : Faces[drop]) {
            for (uint32_t& corner : Corners[t])
                corner = corner == drop ? keep : corner;
            kept.push_back(t);
        }
        Faces[keep] = kept;
        Faces[drop].clear();
        Positions[keep] = candidate.Target;
        Quadrics[keep] = Quadrics[keep] + Quadrics[drop];
        ++Stamps[keep];
        ++Stamps[drop];
        for (uint32_t neighbour : Neighbours(keep))
            Offer(keep, neighbour);
    }

    void Write()
    {
        Mesh result;
        std::vector<uint32_t> remap(Positions.size(), UINT32_MAX);
        for (uint32_t t = 0; t < Corners.size(); ++t) {
            if (!Alive[t])
                continue;
            std::array<uint32_t, 3> corners{};
            for (int c = 0; c < 3; ++c) {
                uint32_t& index = remap[Corners[t][c]];
                if (index == UINT32_MAX) {
                    MeshVertex vertex = Source.Vertices[Corners[t][c]];
                    const Point3& p = Positions[Corners[t][c]];
                    vertex.Position = {float(p.x), float(p.y), float(p.z)};
                    index = result.Add(vertex);
                }
                corners[c] = index;
            }
            result.Triangle(corners[0], corners[1], corners[2], Source.Triangles[t].Group);
        }
        Source = std::move(result);
    }

    Mesh& Source;
    std::vector<Point3> Positions;
    std::vector<std::array<uint32_t, 3>> Corners;
    std::vector<std::vector<uint32_t>> Faces;
    std::vector<Quadric> Quadrics;
    std::vector<uint32_t> Stamps;
    std::vector<bool> Alive;
    size_t Living = 0;
    std::priority_queue<Candidate> Queue;
};

}  // namespace

void Simplify(Mesh& mesh, size_t faces, const Importance& importance) { Simplifier(mesh, importance).Run(faces); }

}  // namespace bake
