// The 2D collision slot of the math module. It has no operations of its own;
// it keeps its place among the sub-modules the math module owns.
#pragma once

#include "core/zot_object.h"

class ZMCollision2D : public ZOTObject {
public:
    explicit ZMCollision2D(ZOTOwner* parent);
};
