#include <algorithm>
#include <filesystem>
#include <memory>
#include <vector>

#include "gl/gl_camera.h"
#include "gl/gl_lightingengine.h"
#include "gl/gl_model.h"
#include "gl/gl_modelengine.h"
#include "resource/resource_model.h"
#include "texture_test_support.h"
#include "ztm.h"

namespace {

constexpr uint32_t kClear = 0x0000FF;
// Channels of 0 and 255 survive whatever depth the driver stores textures in.
constexpr uint32_t kPaint = 0xFFFF00;
// The camera stands at (0, 2, 0) looking down -z.
constexpr Vector3 kFront{0.0f, 2.0f, -5.0f};
constexpr Vector3 kBehind{0.0f, 2.0f, 5.0f};

// A unit square around the origin, bound to a joint that one animation slides
// 4 along +x between times 1 and 3, with a fifth vertex bound to nothing. Its
// material shows the picture textures\paint, glowing so that no light is needed.
// The faces wind to face -z, which an instance's half turn about y shows to the camera.
ztm::Model Square(bool displayLists)
{
    ztm::Model model;
    model.Name = "square";
    ztm::Level& level = model.Levels[0];
    level.Vertices = {{{-0.5f, -0.5f, 0.0f}, 0},
                      {{0.5f, -0.5f, 0.0f}, 0},
                      {{0.5f, 0.5f, 0.0f}, 0},
                      {{-0.5f, 0.5f, 0.0f}, 0},
                      {{0.0f, 0.0f, 0.25f}, kNoJoint}};
    const auto face = [](uint16_t a, uint16_t b, uint16_t c) {
        static constexpr float kU[] = {0, 1, 1, 0};
        static constexpr float kV[] = {0, 0, 1, 1};
        ZRMFace f;
        f.Vertex = {a, b, c};
        f.Normal.fill({0.0f, 0.0f, -1.0f});
        f.U = {kU[a], kU[b], kU[c]};
        f.V = {kV[a], kV[b], kV[c]};
        return f;
    };
    level.Faces = {face(0, 2, 1), face(0, 3, 2)};
    ZRMGroup group;
    group.Name = "square";
    group.Material = 0;
    group.Faces[0] = {0, 1};
    model.Groups = {group};
    ztm::Material material;
    material.Name = "paint";
    material.Emissive = {1.0f, 1.0f, 1.0f};
    material.LayerTexture[0] = 0;
    material.Script = {"SET_RENDERING STEP0 TEX0 OPAQUE"};
    model.Materials = {material};
    model.Textures = {{"paint", "textures\\paint"}};
    ZRMJoint joint;
    joint.Name = "root";
    joint.RestPosition = {0.0f, 0.5f, 0.0f};
    model.Joints = {joint};
    ZRMTrack track;
    track.RotationKeys = {{1.0f, {}}};
    track.PositionKeys = {{1.0f, {}}, {3.0f, {4.0f, 0.0f, 0.0f}}};
    ZRMAnimation slide;
    slide.Name = "slide";
    slide.Tracks = {track};
    model.Animations = {slide};
    model.BoundingRadius = 1.0f;
    model.UseDisplayLists = displayLists;
    return model;
}

}  // namespace

class ModelEngineTest : public TextureTest {
protected:
    GLModelEngine& ME() { return *GL->ModelEngine; }
    GLModel::TSettings& Slot0() { return ME().Slots[0]->Settings; }

    std::unique_ptr<ZRModel> Load(const ztm::Model& model)
    {
        WriteTexture("paint.bmp", image_files::Bmp(4, 4, 24, [](int, int) { return image_files::Rgb{255, 255, 0}; }));
        std::filesystem::create_directories(Dir.File("models"));
        EXPECT_TRUE(ztm::Write(Dir.File("models/square.ztm"), model));
        return std::make_unique<ZRModel>(nullptr, "models\\square");
    }

    // One frame's drawing of the model alone; the centre pixel, read before any swap.
    uint32_t Draw(ZRModel* model, const Vector3& position, float scale = 1.0f)
    {
        GL->SetClearColor({0.0f, 0.0f, 1.0f});
        GL->ClearBuffers();
        GL->ResetView();
        GL->TrianglesThisFrame = 0;
        ME().DrawModel(model, position, scale, Vector3{});
        return BackPixel(400, 300);
    }
};

TEST_F(ModelEngineTest, AdjustmentsLastOneDrawEvenWhenCulledButOutliveADrawOfNoModel)
{
    const auto model = Load(Square(false));
    ME().SetGroupVisible(0, false);
    ME().SetMaterialFlags(false, true);
    ME().SetAnimation(0, -1, 1.5f);
    ME().DrawModel(nullptr, kFront, 1.0f, Vector3{});
    EXPECT_FALSE(Slot0().GroupVisible[0]);
    EXPECT_FALSE(Slot0().Material.Enabled);
    EXPECT_TRUE(Slot0().Material.Override);
    EXPECT_EQ(Slot0().SlotHigh, 0);
    EXPECT_TRUE(Slot0().WholeBody);
    EXPECT_EQ(Slot0().Slots[0].Time, 1.5f);

    Draw(model.get(), kBehind);
    const GLModel::TSettings& s = Slot0();
    EXPECT_TRUE(std::all_of(s.GroupVisible.begin(), s.GroupVisible.end(), [](bool on) { return on; }));
    EXPECT_TRUE(s.Material.Enabled);
    EXPECT_FALSE(s.Material.Override);
    EXPECT_EQ(s.SlotHigh, -1);
    EXPECT_FALSE(s.WholeBody);
    EXPECT_EQ(s.Slots[0].Animation, -1);
}

TEST_F(ModelEngineTest, ScaleWidensTheCullingSphereForOneDrawOnly)
{
    const auto model = Load(Square(false));
    // 10 ahead, the right plane passes 5.52 to the right; a unit sphere 7.2 to
    // the right lies 1.47 beyond it, one of radius 2 reaches back in.
    const Vector3 edge{7.2f, 2.0f, -10.0f};
    Draw(model.get(), edge, 1.0f);
    EXPECT_EQ(GL->TrianglesThisFrame, 0u);
    Draw(model.get(), edge, 2.0f);
    EXPECT_EQ(GL->TrianglesThisFrame, 2u);
    EXPECT_EQ(Slot0().ScaleFactor, 1.0f);

    // Drawing the slot again as it was left finds the unscaled sphere outside.
    GL->TrianglesThisFrame = 0;
    ME().Flush();
    EXPECT_EQ(GL->TrianglesThisFrame, 0u);
}

TEST_F(ModelEngineTest, ATexturedSquareShowsItsPictureUnlessCulledOrItsGroupIsHidden)
{
    const auto model = Load(Square(false));
    EXPECT_EQ(Draw(model.get(), kFront), kPaint);
    EXPECT_EQ(GL->TrianglesThisFrame, 2u);
    EXPECT_EQ(Draw(model.get(), kBehind), kClear);
    EXPECT_EQ(GL->TrianglesThisFrame, 0u);
    ME().SetGroupVisible(0, false);
    EXPECT_EQ(Draw(nullptr, kFront), kClear);
    EXPECT_EQ(Draw(model.get(), kFront), kClear);
    EXPECT_EQ(Draw(model.get(), kFront), kPaint);
}

// The joint rests at (0, 0.5, 0) and the key at time 1.5 lies a quarter of
// the way to (4, 0, 0): bound vertices move by (1, 0, 0), the free one stays.
TEST_F(ModelEngineTest, SkinningMovesBoundVerticesByTheInterpolatedPositionKey)
{
    const auto model = Load(Square(false));
    ME().SetAnimation(0, -1, 1.5f);
    Draw(model.get(), kFront);
    const std::vector<Vector3>& skinned = ME().Slots[0]->SkinnedPositions;
    const Vector3 expected[] = {{0.5f, -0.5f, 0.0f},
                                {1.5f, -0.5f, 0.0f},
                                {1.5f, 0.5f, 0.0f},
                                {0.5f, 0.5f, 0.0f},
                                {0.0f, 0.0f, 0.25f}};
    ASSERT_EQ(skinned.size(), 5u);
    for (size_t i = 0; i < skinned.size(); ++i) {
        EXPECT_NEAR(skinned[i].x, expected[i].x, 1e-5f) << "vertex " << i;
        EXPECT_NEAR(skinned[i].y, expected[i].y, 1e-5f) << "vertex " << i;
        EXPECT_NEAR(skinned[i].z, expected[i].z, 1e-5f) << "vertex " << i;
    }
}

TEST_F(ModelEngineTest, ACompiledLevelDrawsThroughItsListExceptWhileAnimated)
{
    const auto model = Load(Square(true));
    ASSERT_NE(model->Model.LODs[0].DisplayList, nullptr);
    // At time 2 the square has slid 2 along its own x, which the half turn
    // carries to the camera's left: 2 to the left, 5 ahead, lands near x = 110.
    ME().SetAnimation(0, -1, 2.0f);
    EXPECT_EQ(Draw(model.get(), kFront), kClear);
    EXPECT_EQ(BackPixel(110, 300), kPaint);

    // Only the list still holds the faces.
    model->Model.Groups[0].Faces[0].clear();
    EXPECT_EQ(Draw(model.get(), kFront), kPaint);
}

// Additive blending shows how often the faces are drawn, and the material's
// picture would replace the caller's colour.
TEST_F(ModelEngineTest, OverrideDrawsOnceInTheCallersState)
{
    const auto model = Load(Square(false));
    ME().SetMaterialFlags(true, true);
    GL->SetClearColor({0.0f, 0.0f, 1.0f});
    GL->ClearBuffers();
    GL->ResetView();
    GL->LightingEngine->Enabled = false;
    glDisable(GL_LIGHTING);
    GL->TextureEngine->DisableAll();
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glColor3ub(0x40, 0x20, 0x00);
    ME().DrawModel(model.get(), kFront, 1.0f, Vector3{});
    EXPECT_EQ(BackPixel(400, 300), kClear + 0x402000u);
}
