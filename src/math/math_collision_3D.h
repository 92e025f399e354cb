// The 3D collision slot of the math module. It has no operations of its own
// (the volume tests live on the math module itself); it keeps its place among
// the sub-modules the math module owns.
#pragma once

#include "core/zot_object.h"

class ZMCollision3D : public ZOTObject {
public:
    explicit ZMCollision3D(ZOTOwner* parent);
};
