#include "math/zot_math.h"

#include <algorithm>
#include <cmath>

#include "core/zot_console.h"
#include "core/zot_main.h"
#include "platform/platform_fpu.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kFullTurn = 360.0;

// Every operation works on this wider copy and rounds to float only when it stores.
struct Vec3d {
    double x;
    double y;
    double z;
};

Vec3d Widen(const Vector3& v) { return {v.x, v.y, v.z}; }

Vector3 Narrow(const Vec3d& v)
{
    return {static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z)};
}

Vec3d Plus(const Vec3d& a, const Vec3d& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }

Vec3d Minus(const Vec3d& a, const Vec3d& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

Vec3d Times(const Vec3d& v, double f) { return {v.x * f, v.y * f, v.z * f}; }

double Length(const Vec3d& v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }

Vec3d Normalized(const Vec3d& v)
{
    const double length = Length(v);
    if (length == 0.0)
        return v;
    return Times(v, 1.0 / length);
}

double HorizontalDistance(const Vector3& a, const Vector3& b)
{
    const double dx = static_cast<double>(a.x) - b.x;
    const double dz = static_cast<double>(a.z) - b.z;
    return std::sqrt(dx * dx + dz * dz);
}

double Radians(float degrees) { return degrees * (kPi / 180.0); }

double Degrees(double radians) { return radians * (180.0 / kPi); }

// Rounding can push a component of a unit vector a hair past 1, where the
// inverse sine and cosine are undefined.
double ClampUnit(double value) { return std::clamp(value, -1.0, 1.0); }

// Right-handed turns about one axis.
Vec3d TurnAboutX(const Vec3d& v, double radians)
{
    const double s = std::sin(radians);
    const double c = std::cos(radians);
    return {v.x, c * v.y - s * v.z, s * v.y + c * v.z};
}

Vec3d TurnAboutY(const Vec3d& v, double radians)
{
    const double s = std::sin(radians);
    const double c = std::cos(radians);
    return {c * v.x + s * v.z, v.y, -s * v.x + c * v.z};
}

Vec3d TurnAboutZ(const Vec3d& v, double radians)
{
    const double s = std::sin(radians);
    const double c = std::cos(radians);
    return {c * v.x - s * v.y, s * v.x + c * v.y, v.z};
}

Vec3d Turned(const Vec3d& v, const Vector3& angles)
{
    const Vec3d rolled = TurnAboutZ(v, Radians(angles.z));
    const Vec3d pitched = TurnAboutX(rolled, Radians(angles.x));
    return TurnAboutY(pitched, Radians(angles.y));
}

Vec3d UnitFromTo(const Vector3& from, const Vector3& to) { return Normalized(Minus(Widen(to), Widen(from))); }

double PitchOf(const Vec3d& direction) { return Degrees(std::asin(ClampUnit(direction.y))); }

// Yaw 0 looks along -Z and yaw 90 along -X, as RotateVector turns them.
double YawOf(const Vec3d& direction)
{
    const double angle = Degrees(std::acos(ClampUnit(direction.x)));
    if (direction.z <= 0.0)
        return angle - 90.0;
    return 270.0 - angle;
}

// The nearest whole number, halves going to the even one whatever the
// processor's rounding mode: remainder() rounds its quotient that way by definition.
double NearestEven(double value) { return value - std::remainder(value, 1.0); }

double FracOfNonNegative(double x) { return x - NearestEven(x - 0.5); }

bool WithinHeight(const Vector3& point, const Vector3& base, float margin, float up, float down)
{
    const double y = point.y;
    const double top = static_cast<double>(base.y) + up + margin;
    const double bottom = static_cast<double>(base.y) - down - margin;
    return y < top && y > bottom;
}

bool WithinHalfWidth(float position, float centre, float halfWidth, float margin)
{
    return std::fabs(static_cast<double>(position) - centre) <= static_cast<double>(halfWidth) + margin;
}

}  // namespace

ZOTMath::ZOTMath(ZOTOwner* parent) : ZOTObject(parent, "ZOT Engine Math", "ZOTMath")
{
    platform::MaskFloatExceptions();
    Collision2D = new ZMCollision2D(this);
    Collision3D = new ZMCollision3D(this);
    Matrix = new ZMMatrix(this);
    Random = new ZMRandom(this);
    Rounding = new ZMRound(this);
    Color = new ZMColor(this);
    Strings = new ZMStrings(this);
}

ZOTMath::~ZOTMath()
{
    DeleteAndClear(Collision2D);
    DeleteAndClear(Collision3D);
    DeleteAndClear(Matrix);
    DeleteAndClear(Random);
    DeleteAndClear(Rounding);
    DeleteAndClear(Color);
    DeleteAndClear(Strings);
}

void ZOTMath::Start()
{
    SetPrecision(0);
    LogLine("ZOT Main: Math Class initialized!");
}

void ZOTMath::SetPrecision(int32_t mode) { platform::SetFloatPrecision(mode); }

float ZOTMath::MinF(int32_t a, int32_t b) const { return static_cast<float>(std::min(a, b)); }

float ZOTMath::MaxF(int32_t a, int32_t b) const { return static_cast<float>(std::max(a, b)); }

float ZOTMath::Frac(float x) const
{
    if (x < 0.0f)
        return static_cast<float>(-FracOfNonNegative(-static_cast<double>(x)));
    return static_cast<float>(FracOfNonNegative(x));
}

void ZOTMath::WrapAngle(float& angle) const
{
    // fmod is exact, so it lands where stepping by whole turns would, yet it
    // also ends for angles so large that one step no longer changes them.
    double wrapped = angle;
    if (wrapped >= kFullTurn)
        wrapped = std::fmod(wrapped, kFullTurn);
    if (wrapped < 0.0) {
        const double rest = std::fmod(wrapped, kFullTurn);
        wrapped = (rest < 0.0) ? rest + kFullTurn : 0.0;
    }
    angle = static_cast<float>(wrapped);
}

void ZOTMath::Clamp(float& x, float min, float max) const
{
    if (x < min)
        x = min;
    if (x > max)
        x = max;
}

Vector3 ZOTMath::Add(const Vector3& a, const Vector3& b) const { return Narrow(Plus(Widen(a), Widen(b))); }

Vector3 ZOTMath::Subtract(const Vector3& a, const Vector3& b) const
{
    return Narrow(Minus(Widen(b), Widen(a)));
}

Vector3 ZOTMath::Scale(const Vector3& v, float f) const { return Narrow(Times(Widen(v), f)); }

Vector3 ZOTMath::Normalize(const Vector3& v) const { return Narrow(Normalized(Widen(v))); }

Vector3 ZOTMath::SetLength(const Vector3& v, float length) const
{
    return Narrow(Times(Normalized(Widen(v)), length));
}

float ZOTMath::Distance(const Vector3& a, const Vector3& b) const
{
    return static_cast<float>(Length(Minus(Widen(a), Widen(b))));
}

float ZOTMath::DistanceXZ(const Vector3& a, const Vector3& b) const
{
    return static_cast<float>(HorizontalDistance(a, b));
}

Vector3 ZOTMath::RotateVector(const Vector3& v, const Vector3& angles) const
{
    return Narrow(Turned(Widen(v), angles));
}

void ZOTMath::MoveForward(const Vector3& angles, Vector3& position, float distance) const
{
    MoveRelative(angles, position, {0.0f, 0.0f, distance});
}

void ZOTMath::MoveRelative(const Vector3& angles, Vector3& position, const Vector3& offset) const
{
    // Offsets count z forward, but forward is -Z in the rotated frame.
    const Vec3d local{offset.x, offset.y, -static_cast<double>(offset.z)};
    position = Narrow(Plus(Widen(position), Turned(local, angles)));
}

Vector3 ZOTMath::DirectionFromAngles(const Vector3& angles) const
{
    Vector3 direction;
    MoveForward(angles, direction, 1.0f);
    return direction;
}

float ZOTMath::AngleTo(const Vector3& from, const Vector3& to, int32_t mode) const
{
    if (mode == kPitch)
        return static_cast<float>(PitchOf(UnitFromTo(from, to)));
    if (mode != kYaw)
        return 0.0f;
    const Vector3 level{to.x, from.y, to.z};
    return static_cast<float>(YawOf(UnitFromTo(from, level)));
}

Vector3 ZOTMath::AnglesTo(const Vector3& from, const Vector3& to) const
{
    return {AngleTo(from, to, kPitch), AngleTo(from, to, kYaw), 0.0f};
}

bool ZOTMath::InCylinder(const Vector3& point, const Vector3& base, float margin, float radius, float up,
                         float down) const
{
    const bool inside = HorizontalDistance(point, base) <= static_cast<double>(radius) + margin;
    return inside && WithinHeight(point, base, margin, up, down);
}

bool ZOTMath::InBox(const Vector3& point, const Vector3& base, float margin, float halfX, float halfZ,
                    float up, float down) const
{
    const bool inside = WithinHalfWidth(point.x, base.x, halfX, margin)
                        && WithinHalfWidth(point.z, base.z, halfZ, margin);
    return inside && WithinHeight(point, base, margin, up, down);
}
