// The 2D collision slot of the math module; it has no operations yet.
#pragma once

#include "core/zot_object.h"

class ZMCollision2D : public ZOTObject {
public:
    explicit ZMCollision2D(ZOTOwner* parent);
};
