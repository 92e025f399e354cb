// The cat's animations, sampled into keys, and the reach of the poses they
// put its skin in. Every animation starts and ends at rest, so the scene may
// switch between them without a jump.
#pragma once

#include <vector>

#include "cat_body.h"
#include "ztm.h"

namespace bake::cat {

// The joints of Skeleton() as a model file stores them.
std::vector<ZRMJoint> Joints();

// A calm idle first, then a livelier one; one track per joint.
std::vector<ZRMAnimation> Animations();

struct Reach {
    // The greatest distance of a vertex from the origin.
    float Radius = 0.0f;
    float Lowest = 0.0f;
};

// Over the rest pose and every animation of model, sampled between its keys,
// as the engine skins mesh: each vertex rigidly with its joint.
Reach PosedReach(const ztm::Model& model, const Mesh& mesh);

}  // namespace bake::cat
