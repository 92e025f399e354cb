// Rounding that the standard library does not offer directly.
#pragma once

#include "core/zot_object.h"

class ZMRound : public ZOTObject {
public:
    explicit ZMRound(ZOTOwner* parent);

    // Rounds away from zero to a whole number: 1.2 gives 2, -1.2 gives -2.
    // The result stays a float so that large inputs cannot overflow an integer.
    float RoundAway(float x) const;
};
