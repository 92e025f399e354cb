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

TEST_F(MathMatrix, RotationIsRowMajorTurnsAboutXThenYThenZAndTransformsIgnoreTheTranslation)
{
    ExpectMatrixNear(Rotation(0, 0, kQuarterTurn), Matrix4{{0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}});
    Vector3 turned{0, 1, 0};
    Math.Matrix->Transform(turned, Rotation(kQuarterTurn, kQuarterTurn, 0, {5, 5, 5}), turned);
    ExpectVectorNear(turned, {1, 0, 0});
    const Matrix4 m = Rotation(0, 37.0f * 3.14159265f / 180.0f, 0, {10, 20, 30});
    Math.Matrix->Transform(turned, m, {0.3f, -1, 2});
    ExpectVectorNear(turned, Math.RotateVector({0.3f, -1, 2}, {0, 37, 0}));
    Math.Matrix->TransformTransposed(turned, m, turned);
    ExpectVectorNear(turned, {0.3f, -1, 2});
}

TEST_F(MathMatrix, ProductCombinesRotationsAddsTheRotatedTranslationAndMayOverwriteAFactor)
{
    Matrix4 out;
    Math.Matrix->Multiply(Rotation(0, 0, 0.5f), Rotation(0.3f, -0.4f, 1.1f), out);
    ExpectMatrixNear(out, Rotation(0.3f, -0.4f, 1.6f));

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
