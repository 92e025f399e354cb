#include <gtest/gtest.h>

#include "math_test_support.h"

namespace {

constexpr float kQuarterTurn = 1.5707963f;

void ExpectMatrixNear(const Matrix4& actual, const Matrix4& expected)
{
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(actual.m[i], expected.m[i], kTolerance) << "element " << i;
}

}  // namespace

class MathMatrix : public MathModuleTest {
protected:
    Matrix4 Rotation(float x, float y, float z, Vector3 translation = {}) const
    {
        Matrix4 m;
        Math.Matrix->RotationMatrix(m, {x, y, z});
        m.m[3] = translation.x;
        m.m[7] = translation.y;
        m.m[11] = translation.z;
        return m;
    }
};

TEST_F(MathMatrix, ClearLeavesOnlyTheLastElement)
{
    Matrix4 m = Rotation(1, 2, 3, {4, 5, 6});
    Math.Matrix->ClearMatrix(m);
    Matrix4 expected;
    expected.m[15] = 1.0f;
    ExpectMatrixNear(m, expected);
}

TEST_F(MathMatrix, RotationIsRowMajorAndTurnsAboutXThenYThenZ)
{
    ExpectMatrixNear(Rotation(0, 0, kQuarterTurn), Matrix4{{0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}});
    Vector3 turned;
    Math.Matrix->Transform(turned, Rotation(kQuarterTurn, kQuarterTurn, 0), {0, 1, 0});
    ExpectVectorNear(turned, {1, 0, 0});
    Math.Matrix->Transform(turned, Rotation(0, 37.0f * 3.14159265f / 180.0f, 0), {0.3f, -1, 2});
    ExpectVectorNear(turned, Math.RotateVector({0.3f, -1, 2}, {0, 37, 0}));
}

TEST_F(MathMatrix, ProductCombinesRotationsAddsTheRotatedTranslationAndMayOverwriteAFactor)
{
    Matrix4 out;
    Math.Matrix->Multiply(Rotation(0, 0, 0.5f), Rotation(0.3f, -0.4f, 1.1f), out);
    ExpectMatrixNear(out, Rotation(0.3f, -0.4f, 1.6f));
    Math.Matrix->Multiply(Rotation(0.3f, -0.4f, 1.1f), Rotation(-0.7f, 0, 0), out);
    ExpectMatrixNear(out, Rotation(-0.4f, -0.4f, 1.1f));

    // The last row of a factor is ignored and comes out reset.
    Matrix4 b = Rotation(0.2f, 0, 0, {1, 0, 0});
    b.m[12] = 5.0f;
    b.m[15] = 8.0f;
    Math.Matrix->Multiply(Rotation(0, 0, kQuarterTurn, {1, 2, 3}), b, out);
    ExpectMatrixNear(out, Rotation(0.2f, 0, kQuarterTurn, {1, 3, 3}));

    const Matrix4 a = Rotation(0.1f, 0.2f, 0.3f, {1, 2, 3});
    b = Rotation(-0.5f, 0.4f, 0.9f, {-4, 5, 6});
    Math.Matrix->Multiply(a, b, out);
    Matrix4 intoA = a;
    Math.Matrix->Multiply(intoA, b, intoA);
    ExpectMatrixNear(intoA, out);
    Matrix4 intoB = b;
    Math.Matrix->Multiply(a, intoB, intoB);
    ExpectMatrixNear(intoB, out);
}

TEST_F(MathMatrix, TransformIgnoresTranslationAndTransposedUndoesIt)
{
    Vector3 v{1, 0, 0};
    Math.Matrix->Transform(v, Rotation(0, 0, kQuarterTurn, {5, 5, 5}), v);
    ExpectVectorNear(v, {0, 1, 0});
    const Matrix4 m = Rotation(0.4f, -1.2f, 2.0f, {10, 20, 30});
    Math.Matrix->Transform(v, m, {0.5f, -2, 3});
    Math.Matrix->TransformTransposed(v, m, v);
    ExpectVectorNear(v, {0.5f, -2, 3});
    float x = -3, y = 0, z = 4;
    Math.Matrix->NormalizeInPlace(x, y, z);
    ExpectVectorNear({x, y, z}, {-0.6f, 0, 0.8f});
}
