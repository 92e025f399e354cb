// The engine's math module: vector operations, Euler-angle rotations in
// degrees, angle helpers and the volume tests used for collisions. It owns the
// seven sub-modules and sets the process's floating-point behaviour.
#pragma once

#include <cstdint>

#include "core/zot_object.h"
#include "math/math_collision_2D.h"
#include "math/math_collision_3D.h"
#include "math/math_color.h"
#include "math/math_matrix.h"
#include "math/math_random.h"
#include "math/math_round.h"
#include "math/math_strings.h"
#include "math/math_types.h"

class ZOTMath : public ZOTObject {
public:
    // Which angle AngleTo measures.
    static constexpr int32_t kPitch = 0;
    static constexpr int32_t kYaw = 1;

    explicit ZOTMath(ZOTOwner* parent);
    ~ZOTMath() override;

    // Switches the processor to single precision for the rest of the run.
    void Start();
    // 0 single, 1 double, 2 extended precision; other values change nothing.
    void SetPrecision(int32_t mode);

    float MinF(int32_t a, int32_t b) const;
    float MaxF(int32_t a, int32_t b) const;
    // The fractional part as the engine has always measured it: x - N(x - 0.5)
    // with N rounding halves to even, mirrored for negative x. Whole numbers
    // therefore give 0 or 1 depending on their parity (Frac(2) = 0, Frac(3) = 1).
    float Frac(float x) const;
    // Brings an angle in degrees into [0, 360).
    void WrapAngle(float& angle) const;
    // Lower bound first, so when min > max the result is max.
    void Clamp(float& x, float min, float max) const;

    Vector3 Add(const Vector3& a, const Vector3& b) const;
    // b - a: the vector that leads from a to b.
    Vector3 Subtract(const Vector3& a, const Vector3& b) const;
    Vector3 Scale(const Vector3& v, float f) const;
    // A zero vector is returned unchanged.
    Vector3 Normalize(const Vector3& v) const;
    Vector3 SetLength(const Vector3& v, float length) const;
    float Distance(const Vector3& a, const Vector3& b) const;
    // Distance on the ground plane, ignoring height.
    float DistanceXZ(const Vector3& a, const Vector3& b) const;

    // Turns v about Z by angles.z, then about X by angles.x, then about Y by
    // angles.y (right-handed, degrees): Ry * Rx * Rz * v.
    Vector3 RotateVector(const Vector3& v, const Vector3& angles) const;
    // Moves position along the facing of angles; forward is -Z.
    void MoveForward(const Vector3& angles, Vector3& position, float distance) const;
    // Moves position by offset given in the frame of angles (offset.z forward).
    void MoveRelative(const Vector3& angles, Vector3& position, const Vector3& offset) const;
    // The unit vector the angles point along.
    Vector3 DirectionFromAngles(const Vector3& angles) const;

    // The pitch (kPitch) or yaw (kYaw) in degrees that looks from `from` to
    // `to`, matching the conventions of RotateVector; any other mode gives 0.
    float AngleTo(const Vector3& from, const Vector3& to, int32_t mode) const;
    // (pitch, yaw, 0) from `from` towards `to`.
    Vector3 AnglesTo(const Vector3& from, const Vector3& to) const;

    // An upright cylinder around base, reaching `up` above and `down` below it,
    // every limit widened by margin. The side is inclusive, top and bottom are not.
    bool InCylinder(const Vector3& point, const Vector3& base, float margin, float radius, float up,
                    float down) const;
    // As InCylinder, with a box of half widths halfX and halfZ.
    bool InBox(const Vector3& point, const Vector3& base, float margin, float halfX, float halfZ,
               float up, float down) const;

    ZMRandom* Random = nullptr;
    ZMMatrix* Matrix = nullptr;
    ZMRound* Rounding = nullptr;
    ZMColor* Color = nullptr;
    ZMStrings* Strings = nullptr;
    ZMCollision2D* Collision2D = nullptr;
    ZMCollision3D* Collision3D = nullptr;
};
