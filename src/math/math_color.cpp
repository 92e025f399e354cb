#include "math/math_color.h"

namespace {

float Product(float a, float b) { return static_cast<float>(static_cast<double>(a) * b); }

float Sum(float a, float b) { return static_cast<float>(static_cast<double>(a) + b); }

}  // namespace

ZMColor::ZMColor(ZOTOwner* parent) : ZOTObject(parent, "ZOT Engine Math Color", "ZMColor") {}

float ZMColor::Brightness(const Color3& c) const
{
    const double sum = static_cast<double>(c.r) + c.g + c.b;
    return static_cast<float>(sum / 3.0);
}

Color3 ZMColor::ScaleColor(const Color3& c, float f) const
{
    return {Product(c.r, f), Product(c.g, f), Product(c.b, f)};
}

Color3 ZMColor::Modulate(const Color3& a, const Color3& b) const
{
    return {Product(a.r, b.r), Product(a.g, b.g), Product(a.b, b.b)};
}

Color3 ZMColor::AddColor(const Color3& a, const Color3& b) const
{
    return {Sum(a.r, b.r), Sum(a.g, b.g), Sum(a.b, b.b)};
}
