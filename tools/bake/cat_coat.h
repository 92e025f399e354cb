// Texture coordinates of the cat's coat. Each chart wraps a region round an
// axis: v is the distance along the axis and u the distance round it, both
// in model units times one scale, so the strands keep one size everywhere.
// The trunk's chart and the tail's blend where they meet; the legs, ears and
// head meet the trunk at seams round their roots, where the stripes turn as
// a tabby's do, and each chart's own seam runs where the camera seldom looks:
// down the belly, the backs of the legs and ears, and behind the head.
#pragma once

#include <array>

#include "cat_body.h"

namespace bake::cat {

struct TexturePoint {
    float U = 0.0f;
    float V = 0.0f;
};

class Coat {
public:
    explicit Coat(const Body& body);
    ~Coat();

    // The corners of one face, their angles round each axis unwrapped
    // together so that a face across a seam does not span the picture.
    std::array<TexturePoint, 3> Face(const std::array<Vector3, 3>& corners) const;

private:
    struct Axis;
    const Body& Shape;
    std::vector<Axis> Axes;
};

}  // namespace bake::cat
