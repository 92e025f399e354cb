// The cat's animations, sampled into keys, and how far the poses they put
// its skin in reach. Every animation starts and ends at rest, so the scene may
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

// The greatest distance of a vertex from the origin over the rest pose and
// every animation of model, sampled between its keys, as the engine skins
// mesh: each vertex rigidly with its joint.
float PosedRadius(const ztm::Model& model, const Mesh& mesh);

}  // namespace bake::cat
