// The string helpers' slot of the math module; it has no operations yet.
#pragma once

#include "core/zot_object.h"

class ZMStrings : public ZOTObject {
public:
    explicit ZMStrings(ZOTOwner* parent);
};
