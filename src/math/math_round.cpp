#include "math/math_round.h"

#include <cmath>

ZMRound::ZMRound(ZOTOwner* parent) : ZOTObject(parent, "ZOT Engine Math Round", "ZMRound") {}

float ZMRound::RoundAway(float x) const
{
    if (x > 0.0f)
        return std::ceil(x);
    if (x < 0.0f)
        return std::floor(x);
    return 0.0f;
}
