// The string helpers' slot of the math module. It has no operations of its
// own; it keeps its place among the sub-modules the math module owns.
#pragma once

#include "core/zot_object.h"

class ZMStrings : public ZOTObject {
public:
    explicit ZMStrings(ZOTOwner* parent);
};
