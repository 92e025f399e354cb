// The 3D collision slot of the math module; it has no operations yet (the
// volume tests in use live on the math module itself).
#pragma once

#include "core/zot_object.h"

class ZMCollision3D : public ZOTObject {
public:
    explicit ZMCollision3D(ZOTOwner* parent);
};
