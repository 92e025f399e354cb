#include "math/math_matrix.h"

#include <cmath>

namespace {

// Element (row, column) of m, widened so that sums are formed in double.
double At(const Matrix4& m, int row, int column) { return m.m[4 * row + column]; }

void SetRow(Matrix4& m, int row, double c0, double c1, double c2, double c3)
{
    m.m[4 * row + 0] = static_cast<float>(c0);
    m.m[4 * row + 1] = static_cast<float>(c1);
    m.m[4 * row + 2] = static_cast<float>(c2);
    m.m[4 * row + 3] = static_cast<float>(c3);
}

// Row (or, transposed, column) `line` of the upper 3 x 3 of m dotted with v.
double Dot3(const Matrix4& m, int line, const Vector3& v, bool transposed)
{
    double sum = 0.0;
    const double components[3] = {v.x, v.y, v.z};
    for (int k = 0; k < 3; ++k) {
        const double element = transposed ? At(m, k, line) : At(m, line, k);
        sum += element * components[k];
    }
    return sum;
}

Vector3 Rotate3(const Matrix4& m, const Vector3& v, bool transposed)
{
    return {static_cast<float>(Dot3(m, 0, v, transposed)), static_cast<float>(Dot3(m, 1, v, transposed)),
            static_cast<float>(Dot3(m, 2, v, transposed))};
}

}  // namespace

ZMMatrix::ZMMatrix(ZOTOwner* parent) : ZOTObject(parent, "ZOT Engine Math Matrix", "ZMMatrix") {}

void ZMMatrix::ClearMatrix(Matrix4& m) const
{
    m = Matrix4{};
    m.m[15] = 1.0f;
}

void ZMMatrix::RotationMatrix(Matrix4& m, const Vector3& angles) const
{
    const double sx = std::sin(static_cast<double>(angles.x));
    const double cx = std::cos(static_cast<double>(angles.x));
    const double sy = std::sin(static_cast<double>(angles.y));
    const double cy = std::cos(static_cast<double>(angles.y));
    const double sz = std::sin(static_cast<double>(angles.z));
    const double cz = std::cos(static_cast<double>(angles.z));
    SetRow(m, 0, cy * cz, sx * sy * cz - cx * sz, cx * sy * cz + sx * sz, 0.0);
    SetRow(m, 1, cy * sz, sx * sy * sz + cx * cz, cx * sy * sz - sx * cz, 0.0);
    SetRow(m, 2, -sy, sx * cy, cx * cy, 0.0);
    SetRow(m, 3, 0.0, 0.0, 0.0, 1.0);
}

void ZMMatrix::Multiply(const Matrix4& a, const Matrix4& b, Matrix4& out) const
{
    // Copies, because out may share storage with either factor.
    const Matrix4 left = a;
    const Matrix4 right = b;
    for (int row = 0; row < 3; ++row) {
        double product[4] = {};
        for (int column = 0; column < 4; ++column) {
            for (int k = 0; k < 3; ++k)
                product[column] += At(left, row, k) * At(right, k, column);
        }
        product[3] += At(left, row, 3);
        SetRow(out, row, product[0], product[1], product[2], product[3]);
    }
    SetRow(out, 3, 0.0, 0.0, 0.0, 1.0);
}

void ZMMatrix::Transform(Vector3& out, const Matrix4& m, const Vector3& v) const
{
    out = Rotate3(m, v, false);
}

void ZMMatrix::TransformTransposed(Vector3& out, const Matrix4& m, const Vector3& v) const
{
    out = Rotate3(m, v, true);
}

void ZMMatrix::NormalizeInPlace(float& x, float& y, float& z) const
{
    const double length = std::sqrt(static_cast<double>(x) * x + static_cast<double>(y) * y
                                    + static_cast<double>(z) * z);
    if (length == 0.0)
        return;
    x = static_cast<float>(x / length);
    y = static_cast<float>(y / length);
    z = static_cast<float>(z / length);
}
