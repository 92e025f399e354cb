// The butterfly's wing picture.
#pragma once

#include "picture.h"

namespace bake {

// One wing with its root at the left edge and its leading edge at the top,
// the forewing over the hindwing; the outline is in the alpha.
Picture ButterflyWing();

}  // namespace bake
