// Conversions between numbers, booleans and texts, and makers of the shared
// value records. Number texts always use "." as the decimal separator.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/zot_object.h"
#include "math/math_types.h"

class ZOTConvert : public ZOTObject {
public:
    // What StrToInt and StrToFloat give for a text that is not a number.
    static constexpr int32_t kInvalidInt = -1;
    static constexpr float kInvalidFloat = -1.0f;

    explicit ZOTConvert(ZOTOwner* parent);
    void Start();

    // The routines need no module state, so they are static: the parser and any
    // other module can use them without going through the engine root.
    static std::string IntToStr(int64_t n);
    static std::string IntToStrPadded(int32_t width, int64_t n);
    static int32_t StrToInt(std::string_view text);
    static std::string FloatToStr(float f);
    static float StrToFloat(std::string_view text);
    static bool StrToBool(std::string_view text);
    static bool TextEquals(std::string_view a, std::string_view b);
    static std::string LineBreak();

    static Point2 MakePoint(float x, float y);
    static Vector3 MakeVector(float x, float y, float z);
    static Color3 MakeColor(float r, float g, float b);
    static Color4 MakeColor4(float r, float g, float b, float a);
    static Color4 ColorWithAlpha(const Color3& color, float a);
    static Vector3 CopyVector(const Vector3& v);
    static int32_t ColorToRGB(const Color3& color);
};
