// The garden floor: the rules that place its parts, and its shadow pass run
// on the program's data in a hidden window.
#include <GL/gl.h>

#include <cmath>
#include <vector>

#include "app/app_gl_ground.h"
#include "app/app_gl_sky.h"
#include "gl/gl_offscreenbuffer.h"
#include "resource/resource_texture.h"
#include "scene_test_support.h"

namespace {

constexpr float kNear = 1e-4f;

// The shadow pass's picture, row 0 at the bottom as GL keeps it.
class ShadowPicture {
public:
    explicit ShadowPicture(const ZRTexture& texture) : Width(texture.Width), Height(texture.Height)
    {
        Red.resize(static_cast<size_t>(Width) * Height * 4);
        glBindTexture(GL_TEXTURE_2D, texture.GLName);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, Red.data());
    }
    // Whether any pixel of the box round the ground point (x, z) is lit.
    bool ShadowNear(float x, float z, int reach = 4) const
    {
        const int column = static_cast<int>((x + 10.0f) / 20.0f * Width);
        const int row = static_cast<int>((10.0f - z) / 20.0f * Height);
        for (int r = row - reach; r <= row + reach; ++r)
            for (int c = column - reach; c <= column + reach; ++c)
                if (r >= 0 && r < Height && c >= 0 && c < Width && Red[(static_cast<size_t>(r) * Width + c) * 4] > 128)
                    return true;
        return false;
    }

private:
    int Width, Height;
    std::vector<unsigned char> Red;
};

class GroundScene : public GardenScene {
protected:
    TSceneParams Params() const override
    {
        TSceneParams params;
        params.ButterflyCount = 0;
        params.RenderEnvironment = Environment;
        return params;
    }
    ShadowPicture ShadowFromStraightAbove()
    {
        Scene->Sky->SunDirection = {0.0f, 1.0f, 0.0f};
        Scene->Ground->Update();
        return ShadowPicture(*Scene->Ground->ShadowBuffer->GetTexture());
    }

    bool Environment = true;
};

class GroundWithoutProps : public GroundScene {
protected:
    GroundWithoutProps() { Environment = false; }
};

}  // namespace

TEST(GardenGround, ShadowsFadeAsTheSunSetsAndSlantAwayFromIt)
{
    EXPECT_EQ(ZAGLSGround::ShadowAlpha(0.3f), 1.0f);
    EXPECT_NEAR(ZAGLSGround::ShadowAlpha(-0.1f), 0.5f, kNear);
    EXPECT_LE(ZAGLSGround::ShadowAlpha(-0.2f), kNear);
    EXPECT_LT(ZAGLSGround::ShadowAlpha(-0.5f), 0.0f);

    const Vector3 overhead = ZAGLSGround::ShadowBase({0.0f, 1.0f, 0.0f});
    EXPECT_TRUE(overhead.x == 0.0f && overhead.y == 0.0f && overhead.z == 0.0f);
    const Vector3 east = ZAGLSGround::ShadowBase({1.0f, 0.0f, 0.0f});
    EXPECT_NEAR(east.x, -4.0f, kNear);
    EXPECT_EQ(east.z, 0.0f);
}

TEST(GardenGround, LawnTilesGoFarthestFirstAndLeaveThePlateFree)
{
    const struct {
        float Yaw;
        TLawnTile First, Second;
    } table[] = {{0.0f, {-2, -2}, {-2, -1}},   {90.0f, {-2, -2}, {-2, -1}}, {90.5f, {-2, 2}, {-2, 1}},
                 {180.0f, {-2, 2}, {-2, 1}},   {181.0f, {2, 2}, {2, 1}},    {270.0f, {2, 2}, {2, 1}},
                 {300.0f, {2, -2}, {2, -1}}};
    for (const auto& row : table) {
        const TLawnOrder order = ZAGLSGround::LawnOrder(row.Yaw);
        ASSERT_EQ(order.size(), 24u);
        EXPECT_TRUE(order[0] == row.First && order[1] == row.Second) << "yaw " << row.Yaw;
        for (const TLawnTile& tile : order)
            EXPECT_FALSE(tile.I == 0 && tile.J == 0) << "a lawn tile over the stone plate";
    }
}

TEST(GardenGround, TheHouseGivesWayOnlyToALowCameraBehindIt)
{
    EXPECT_TRUE(ZAGLSGround::HouseHidden({0.0f, 1.0f, -3.0f}));
    EXPECT_TRUE(ZAGLSGround::HouseHidden({3.0f, 1.0f, 0.5f}));
    EXPECT_FALSE(ZAGLSGround::HouseHidden({0.0f, 4.5f, -3.0f})) << "high above, the house hides nothing";
    EXPECT_FALSE(ZAGLSGround::HouseHidden({-2.5f, 1.0f, -3.0f}));
    EXPECT_FALSE(ZAGLSGround::HouseHidden({0.0f, 1.0f, 2.0f}));
}

TEST_F(GroundScene, TheShadowPassDrawsTheCastersWhereTheViewFromAboveHasThem)
{
    // Whether the shadow is shown or not, the pass runs.
    Scene->Params.RenderShadow = false;
    const ShadowPicture shadow = ShadowFromStraightAbove();
    EXPECT_TRUE(shadow.ShadowNear(0.0f, 0.0f)) << "no cat";
    EXPECT_TRUE(shadow.ShadowNear(5.0f, 5.0f, 12)) << "no slide";
    EXPECT_TRUE(shadow.ShadowNear(1.9f, -1.9f, 12)) << "no house";
    EXPECT_TRUE(shadow.ShadowNear(-2.0f, -8.7f)) << "no fence";
    EXPECT_FALSE(shadow.ShadowNear(-6.0f, 6.0f, 12)) << "shadow on open ground";
}

TEST_F(GroundScene, BeginAndEndOfTheShadowPassLeaveTheWindowAsItWas)
{
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    const std::vector<GLfloat> projection = Floats(GL_PROJECTION_MATRIX, 16);
    const std::vector<GLfloat> clear = Floats(GL_COLOR_CLEAR_VALUE);
    ShadowFromStraightAbove();
    GLint after[4] = {};
    glGetIntegerv(GL_VIEWPORT, after);
    EXPECT_TRUE(after[2] == viewport[2] && after[3] == viewport[3]);
    EXPECT_EQ(Floats(GL_PROJECTION_MATRIX, 16), projection);
    EXPECT_EQ(Floats(GL_COLOR_CLEAR_VALUE), clear);
    EXPECT_FALSE(IsOn(GL_VERTEX_PROGRAM_ARB)) << "shadow program still bound";
}

TEST_F(GroundWithoutProps, WithoutTheEnvironmentNoPropCastsAShadow)
{
    const ShadowPicture shadow = ShadowFromStraightAbove();
    EXPECT_TRUE(shadow.ShadowNear(0.0f, 0.0f)) << "no cat";
    EXPECT_FALSE(shadow.ShadowNear(5.0f, 5.0f, 12)) << "slide";
    EXPECT_FALSE(shadow.ShadowNear(-2.0f, -8.7f)) << "fence";
}
