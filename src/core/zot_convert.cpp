#include "core/zot_convert.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <optional>
#include <system_error>

#include "core/zot_console.h"
#include "core/zot_constant.h"
#include "core/zot_main.h"

namespace {

// Above this magnitude a fixed text would show more than ten significant digits.
constexpr double kTenDigitLimit = 1e10;
constexpr int kSignificantDigits = 10;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// from_chars reads no "+" but does read "inf" and "nan"; our number texts are
// the other way round. Gives the part from_chars should read, or an empty text
// when what follows the sign cannot begin a number.
std::string_view FromCharsBody(std::string_view text, bool allowLeadingPoint)
{
    const bool hasSign = !text.empty() && (text.front() == '+' || text.front() == '-');
    const std::size_t start = hasSign ? 1 : 0;
    if (text.size() <= start)
        return {};
    const char first = text[start];
    if (!IsDigit(first) && !(allowLeadingPoint && first == '.'))
        return {};
    return text.front() == '+' ? text.substr(1) : text;
}

// The value of the whole text; none when from_chars stops early or the value
// does not fit the type.
template <typename T>
std::optional<T> ParseWhole(std::string_view text)
{
    if (text.empty())
        return std::nullopt;
    T value{};
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

std::string FixedTwoDecimals(double value)
{
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, 2);
    return std::string(buffer.data(), result.ptr);
}

std::string Scientific(double value)
{
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::scientific, kSignificantDigits - 1);
    return std::string(buffer.data(), result.ptr);
}

// Digits past the tenth significant one are noise for a float, so they are shown
// as zeros; a number too long for a short text keeps its scientific form.
std::string TenDigitFixed(double value)
{
    const std::string scientific = Scientific(value);
    const std::size_t signLength = value < 0 ? 1 : 0;
    const std::size_t exponentAt = scientific.find('e');
    const int32_t exponent = ZOTConvert::StrToInt(scientific.substr(exponentAt + 1));
    std::string text = scientific.substr(0, signLength + 1);
    text += scientific.substr(signLength + 2, exponentAt - signLength - 2);
    text.append(static_cast<std::size_t>(exponent - (kSignificantDigits - 1)), '0');
    text += ".00";
    return text.size() <= kNameLength ? text : scientific;
}

std::string NonFiniteText(float f)
{
    if (std::isnan(f))
        return "NAN";
    return f < 0 ? "-INF" : "INF";
}

// One 8-bit channel; clamped so an out-of-range component cannot carry into its neighbour.
int32_t ColorByte(float component)
{
    const float scaled = std::nearbyint(component * 255.0f);
    if (!(scaled > 0.0f))
        return 0;
    return scaled >= 255.0f ? 255 : static_cast<int32_t>(scaled);
}

}  // namespace

ZOTConvert::ZOTConvert(ZOTOwner* parent) : ZOTObject(parent, "ZOT Engine Convert", "ZOTConvert") {}

void ZOTConvert::Start() { CurrentEngine->Console->AddLine("ZOT Main: Convert Class initialized!"); }

std::string ZOTConvert::IntToStr(int64_t n) { return std::to_string(n); }

std::string ZOTConvert::IntToStrPadded(int32_t width, int64_t n)
{
    std::string text = IntToStr(n);
    const std::size_t target = std::min(static_cast<std::size_t>(std::max(width, 0)), kNameLength);
    if (text.size() < target)
        text.insert(0, target - text.size(), '0');
    return text;
}

int32_t ZOTConvert::StrToInt(std::string_view text)
{
    return ParseWhole<int32_t>(FromCharsBody(text, false)).value_or(kInvalidInt);
}

std::string ZOTConvert::FloatToStr(float f)
{
    if (!std::isfinite(f))
        return NonFiniteText(f);
    const double value = f;
    const std::string text = std::fabs(value) < kTenDigitLimit ? FixedTwoDecimals(value) : TenDigitFixed(value);
    return text == "-0.00" ? "0.00" : text;
}

float ZOTConvert::StrToFloat(std::string_view text)
{
    return ParseWhole<float>(FromCharsBody(text, true)).value_or(kInvalidFloat);
}

bool ZOTConvert::StrToBool(std::string_view text) { return text == "TRUE"; }

bool ZOTConvert::TextEquals(std::string_view a, std::string_view b) { return a == b; }

std::string ZOTConvert::LineBreak() { return "\n\r"; }

Point2 ZOTConvert::MakePoint(float x, float y) { return Point2{x, y}; }

Vector3 ZOTConvert::MakeVector(float x, float y, float z) { return Vector3{x, y, z}; }

Color3 ZOTConvert::MakeColor(float r, float g, float b) { return Color3{r, g, b}; }

Color4 ZOTConvert::MakeColor4(float r, float g, float b, float a) { return Color4{r, g, b, a}; }

Color4 ZOTConvert::ColorWithAlpha(const Color3& color, float a) { return Color4{color.r, color.g, color.b, a}; }

Vector3 ZOTConvert::CopyVector(const Vector3& v) { return v; }

int32_t ZOTConvert::ColorToRGB(const Color3& color)
{
    return ColorByte(color.r) + 256 * ColorByte(color.g) + 65536 * ColorByte(color.b);
}
