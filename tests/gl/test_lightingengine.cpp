#include "gl/gl_lightingengine.h"
#include "gl_test_support.h"

namespace {

constexpr Color3 kNone{0.0f, 0.0f, 0.0f};
constexpr Color3 kGrey{0.1f, 0.1f, 0.1f};
constexpr Vector3 kOrigin{0.0f, 0.0f, 0.0f};

std::vector<GLfloat> LightVector(int index, GLenum which)
{
    std::vector<GLfloat> values(4);
    glGetLightfv(GL_LIGHT0 + index, which, values.data());
    return values;
}

void ExpectColour(const Color3& actual, const Color3& expected)
{
    EXPECT_NEAR(actual.r, expected.r, 1e-5f);
    EXPECT_NEAR(actual.g, expected.g, 1e-5f);
    EXPECT_NEAR(actual.b, expected.b, 1e-5f);
}

}  // namespace

class LightingTest : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        // Light positions are read back in eye space; with no view they stay in world space.
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }

    GLLightingEngine& LE() { return *GL->LightingEngine; }

    // A red point light of range 10 lighting an object of size 2 at the origin.
    Color3 LightFrom(const Vector3& place)
    {
        LE().ClearStaticLights();
        LE().AddStaticLight("Lamp", place, GLLightingEngine::kPointLight, {1.0f, 0.5f, 0.0f}, kGrey, 10.0f);
        return LE().ApplyLights(true, true, kOrigin, 2.0f, 0.0f, 0.0f);
    }
};

TEST_F(LightingTest, FarPointLightsTurnDirectionalAndNearOnesAttenuate)
{
    const Color3 far = LightFrom({6.0f, 0.0f, 0.0f});
    EXPECT_EQ(LightVector(0, GL_POSITION), (std::vector<GLfloat>{1.0f, 0.0f, 0.0f, 0.0f}));
    EXPECT_NEAR(LightVector(0, GL_DIFFUSE)[0], 0.64f, 1e-5f);
    EXPECT_EQ(LightVector(0, GL_QUADRATIC_ATTENUATION)[0], 0.0f);
    ExpectColour(far, {0.74f, 0.42f, 0.1f});

    const Color3 near = LightFrom({3.0f, 0.0f, 0.0f});
    EXPECT_EQ(LightVector(0, GL_POSITION), (std::vector<GLfloat>{3.0f, 0.0f, 0.0f, 1.0f}));
    EXPECT_NEAR(LightVector(0, GL_QUADRATIC_ATTENUATION)[0], 0.1f, 1e-6f);
    ExpectColour(near, {1.1f, 0.6f, 0.1f});

    LE().SetFarLights(false, 2.0f);
    LightFrom({6.0f, 0.0f, 0.0f});
    EXPECT_EQ(LightVector(0, GL_POSITION)[3], 1.0f);
}

TEST_F(LightingTest, LightsOutOfReachOrWithoutRangeAreNotTaken)
{
    ExpectColour(LightFrom({20.0f, 0.0f, 0.0f}), kNone);
    EXPECT_FALSE(IsOn(GL_LIGHT0));
    LE().AddStaticLight("Nowhere", kOrigin, GLLightingEngine::kPointLight, {1.0f, 1.0f, 1.0f}, kGrey, 0.0f);
    ExpectColour(LE().ApplyLights(true, false, kOrigin, 0.0f, 1.0f, 1.0f), kNone);
    EXPECT_FALSE(IsOn(GL_LIGHT0));
}

TEST_F(LightingTest, StaticLightsComeFirstAndOnlyEightAreSetUpOrSummed)
{
    auto red = [](int i) { return Color3{0.01f * static_cast<float>(i + 1), 0.0f, 0.0f}; };
    for (int i = 0; i < 6; ++i)
        LE().AddStaticLight("Static", {0.0f, 1.0f, 0.0f}, GLLightingEngine::kDirectionalLight, red(i), kNone, 1.0f);
    for (int i = 6; i < 10; ++i)
        LE().AddDynamicLight("Dynamic", {1.0f, 0.0f, 0.0f}, GLLightingEngine::kDirectionalLight, red(i), kNone, 1.0f);

    ExpectColour(LE().ApplyLights(true, true, kOrigin, 1.0f, 1.0f, 0.0f), {0.36f, 0.0f, 0.0f});
    EXPECT_TRUE(IsOn(GL_LIGHTING));
    EXPECT_EQ(LightVector(6, GL_POSITION), (std::vector<GLfloat>{1.0f, 0.0f, 0.0f, 0.0f}));
    EXPECT_NEAR(LightVector(7, GL_DIFFUSE)[0], 0.08f, 1e-6f);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "no light beyond GL_LIGHT7 is touched";
}

TEST_F(LightingTest, ListsAreChosenByTheFlagsAndDynamicLightsLastOneFrame)
{
    LE().AddStaticLight("Static", {0.0f, 1.0f, 0.0f}, GLLightingEngine::kDirectionalLight, {0.3f, 0.0f, 0.0f},
                        kNone, 1.0f);
    LE().AddDynamicLight("Dynamic", {0.0f, 1.0f, 0.0f}, GLLightingEngine::kDirectionalLight, {0.0f, 0.4f, 0.0f},
                         kNone, 1.0f);
    ExpectColour(LE().ApplyLights(false, true, kOrigin, 1.0f, 1.0f, 0.0f), {0.0f, 0.4f, 0.0f});
    EXPECT_FALSE(IsOn(GL_LIGHT1));
    ExpectColour(LE().ApplyLights(false, false, kOrigin, 1.0f, 1.0f, 0.0f), kNone);
    EXPECT_FALSE(IsOn(GL_LIGHT0) || IsOn(GL_LIGHTING));

    LE().ClearDynamicLights();
    ExpectColour(LE().ApplyLights(true, true, kOrigin, 1.0f, 1.0f, 0.0f), {0.3f, 0.0f, 0.0f});
    LE().StaticLights[0].Enabled = false;
    ExpectColour(LE().ApplyLights(true, true, kOrigin, 1.0f, 1.0f, 0.0f), kNone);
}

