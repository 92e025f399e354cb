// The cat's anatomy: its bones at rest, and its body as a smooth union of
// ellipsoids and tapered capsules laid along them, a signed field that the
// polygoniser turns into a surface. Model space: feet on y = 0, nose along
// -z, the cat's right side along +x.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "mesh.h"

namespace bake::cat {

enum Bone : uint8_t {
    kHips,
    kChest,
    kNeck,
    kHead,
    kEarRight,
    kEarLeft,
    kTail0,
    kTail1,
    kTail2,
    kTail3,
    kTail4,
    kTail5,
    kFrontUpperRight,
    kFrontLowerRight,
    kFrontUpperLeft,
    kFrontLowerLeft,
    kHindUpperRight,
    kHindLowerRight,
    kHindUpperLeft,
    kHindLowerLeft,
    kBoneCount
};

constexpr int kTailBones = kTail5 - kTail0 + 1;

// The regions of the coat that each have texture coordinates of their own.
enum Chart : uint8_t {
    kTrunkChart,
    kTailChart,
    kHeadChart,
    kFrontRightChart,
    kFrontLeftChart,
    kHindRightChart,
    kHindLeftChart,
    kEarRightChart,
    kEarLeftChart,
    kChartCount
};

struct BoneRest {
    const char* Name;
    uint8_t Parent;
    // In model space.
    Vector3 Position;
};

const std::array<BoneRest, kBoneCount>& Skeleton();

// The points a chart's axis runs through, and the side its seam lies away from.
struct ChartAxis {
    std::vector<Vector3> Points;
    // At right angles to the axis: the seam runs along Cross(tangent, Normal)'s far side.
    Vector3 Normal;
    // Where the chart meets the trunk's, so that the two agree there.
    Vector3 Join;
};

const std::array<ChartAxis, kChartCount>& ChartAxes();

// Where the features sit that the fur does not cover.
struct Feature {
    Vector3 Centre;
    Vector3 Radii;
};
std::array<Feature, 2> Eyes();
Feature Nose();
// The ear's base middle, its tip, and the way its opening faces.
struct Ear {
    Vector3 Base;
    Vector3 Tip;
    Vector3 Facing;
    float HalfWidth;
};
std::array<Ear, 2> Ears();

struct Part;

class Body {
public:
    Body();
    ~Body();

    // The body's signed field, cut flat at the ground.
    float Distance(const Vector3& p) const;
    Vector3 Gradient(const Vector3& p) const;
    // The bone that carries the part nearest p.
    uint8_t BoneAt(const Vector3& p) const;
    // How far p lies from each chart's parts.
    std::array<float, kChartCount> ChartDistances(const Vector3& p) const;
    // Moves p along the gradient onto the surface.
    Vector3 Project(const Vector3& p) const;

private:
    std::vector<Part> Parts;
};

}  // namespace bake::cat
