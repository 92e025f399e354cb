// Rotation matrices from Euler angles in radians, their affine product and
// the rotation of vectors by them. Layout as in Matrix4: row-major, points as
// column vectors on the right.
#pragma once

#include "core/zot_object.h"
#include "math/math_types.h"

class ZMMatrix : public ZOTObject {
public:
    explicit ZMMatrix(ZOTOwner* parent);

    // Every element 0 except m[15] = 1. Not the identity: the rotation part is
    // zero, so the result must be filled in before it is used as a transform.
    void ClearMatrix(Matrix4& m) const;
    // R = Rz(angles.z) * Ry(angles.y) * Rx(angles.x), no translation.
    void RotationMatrix(Matrix4& m, const Vector3& angles) const;
    // out = a * b, both taken as affine (last row 0, 0, 0, 1). out may be a or b.
    void Multiply(const Matrix4& a, const Matrix4& b, Matrix4& out) const;
    // out = the upper 3 x 3 of m times v; the translation is ignored. out may be v.
    void Transform(Vector3& out, const Matrix4& m, const Vector3& v) const;
    // As Transform with the transposed 3 x 3, which undoes an orthonormal rotation.
    void TransformTransposed(Vector3& out, const Matrix4& m, const Vector3& v) const;
    // Scales the three values to unit length; all zero stays all zero.
    void NormalizeInPlace(float& x, float& y, float& z) const;
};
