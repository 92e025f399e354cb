// The engine's pseudo-random numbers, from one generator per module object
// seeded from the clock when the object is built.
#pragma once

#include <cstdint>
#include <random>

#include "core/zot_object.h"

class ZMRandom : public ZOTObject {
public:
    explicit ZMRandom(ZOTOwner* parent);

    // min + (max - min) * k / 100000 with k uniform in 0 ... 99999: the result
    // reaches min but never max, in steps of a hundred-thousandth of the range.
    float RandomFloat(float min, float max);
    // Uniform in min ... max, both included; min when max is below min.
    int32_t RandomInt(int32_t min, int32_t max);

    // Replaces the clock seed, so that a run can be repeated exactly.
    void Seed(uint32_t seed) { Generator.seed(seed); }

private:
    std::mt19937 Generator;
};
