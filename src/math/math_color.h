// Component-wise colour arithmetic.
#pragma once

#include "core/zot_object.h"
#include "math/math_types.h"

class ZMColor : public ZOTObject {
public:
    explicit ZMColor(ZOTOwner* parent);

    // The plain mean of the three components, not a perceptual luminance.
    float Brightness(const Color3& c) const;
    Color3 ScaleColor(const Color3& c, float f) const;
    Color3 Modulate(const Color3& a, const Color3& b) const;
    // Sums above 1 are kept; limiting them is left to the caller.
    Color3 AddColor(const Color3& a, const Color3& b) const;
};
