#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "gl/gl_model.h"
#include "gl/gl_modelengine.h"
#include "gl/gl_test_support.h"
#include "resource/resource_model.h"

namespace fs = std::filesystem;

namespace {

// Each model's height and the size across it the scene is laid out for;
// the models that never move are compiled into display lists at load.
struct BakedModel {
    const char* Name;
    float MinTop, MaxTop;
    float MinHalfWidth, MaxHalfWidth;
    bool Compiled;
};

const BakedModel kModels[] = {
    {"models\\cat", 0.25f, 1.0f, 0.15f, 0.5f, false},
    {"models\\butterfly", 0.05f, 0.6f, 0.35f, 0.7f, false},
    {"models\\fence", 0.6f, 1.2f, 4.3f, 4.4f, true},
    {"models\\slide", 1.6f, 2.4f, 0.5f, 2.0f, true},
    {"models\\watering can", 0.2f, 0.4f, 0.1f, 0.35f, true},
    {"models\\house", 0.7f, 1.4f, 0.4f, 0.9f, true},
};

fs::path ProgramDirectory() { return fs::read_symlink("/proc/self/exe").parent_path(); }

float Distance(const Vector3& a, const Vector3& b)
{
    const Vector3 d{a.x - b.x, a.y - b.y, a.z - b.z};
    return std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
}

}  // namespace

// The build bakes the data tree beside the test program; the tests load a copy.
class BakeModels : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        for (const char* folder : {"textures", "models"})
            fs::copy(ProgramDirectory() / folder, Dir.File(folder), fs::copy_options::recursive);
    }

    // The level-0 vertices as the engine skins them in animation at time.
    std::vector<Vector3> Skinned(ZRModel& model, int32_t animation, float time)
    {
        GLModel& slot = *GL->ModelEngine->Slots[0];
        slot.Settings.Cull = false;
        GL->ModelEngine->SetAnimation(animation, -1, time);
        GL->ModelEngine->DrawModelAt(&model, {}, 0, 1.0f, {});
        return slot.SkinnedPositions;
    }

    // Times across the animation, its first and last key times included.
    static std::vector<float> Times(const ZRMAnimation& animation, int count)
    {
        std::vector<float> times;
        for (int i = 0; i <= count; ++i)
            times.push_back(1.0f + (animation.Length - 1.0f) * i / count);
        return times;
    }
};

TEST_F(BakeModels, EveryModelLoadsStandsOnTheGroundAndFitsItsSphere)
{
    for (const BakedModel& baked : kModels) {
        SCOPED_TRACE(baked.Name);
        const ZRModel model(nullptr, baked.Name);
        ASSERT_TRUE(model.IsLoaded());
        const TModel& m = model.Model;
        float lowest = m.Top;
        float farthest = 0.0f;
        for (const ZRMVertex& vertex : m.LODs[0].Vertices) {
            lowest = std::min(lowest, vertex.Position.y);
            farthest = std::max(farthest, Distance(vertex.Position, {}));
        }
        EXPECT_NEAR(lowest, 0.0f, 0.01f);
        EXPECT_GE(m.BoundingRadius, farthest);
        EXPECT_GE(m.Top, baked.MinTop);
        EXPECT_LE(m.Top, baked.MaxTop);
        EXPECT_GE(m.HalfWidth, baked.MinHalfWidth);
        EXPECT_LE(m.HalfWidth, baked.MaxHalfWidth);
        EXPECT_FALSE(m.Materials.empty());
        EXPECT_EQ(m.LODs[0].DisplayList != nullptr, baked.Compiled);
    }
    for (const std::string& line : ConsoleLines())
        EXPECT_EQ(line.find("ERROR"), std::string::npos) << line;
}

// The fur covers group 0 and leaves group 1 bare; the scene picks a new
// animation whenever one ends, so every one must end where it began and
// never push a paw through the ground.
TEST_F(BakeModels, TheCatIsBoundToItsSkeletonAndItsAnimationsEndWhereTheyBegin)
{
    ZRModel cat(nullptr, "models\\cat");
    const TModel& m = cat.Model;
    ASSERT_GE(m.Groups.size(), 2u);
    EXPECT_FALSE(m.Groups[0].Faces[0].empty() || m.Groups[1].Faces[0].empty());
    const size_t faces = m.LODs[0].Faces.size();
    EXPECT_TRUE(faces >= 2000 && faces <= 4000) << faces;
    EXPECT_TRUE(std::none_of(m.LODs[0].Vertices.begin(), m.LODs[0].Vertices.end(),
                             [](const ZRMVertex& v) { return v.Joint == kNoJoint; }));
    ASSERT_GE(m.Animations.size(), 2u);
    for (int32_t a = 0; a < 2; ++a) {
        SCOPED_TRACE(a);
        const ZRMAnimation& animation = m.Animations[static_cast<size_t>(a)];
        EXPECT_FALSE(animation.Loop);
        EXPECT_GE(animation.Length, 20.0f);
        for (float time : Times(animation, 24)) {
            const std::vector<Vector3> pose = Skinned(cat, a, time);
            const auto lowest = std::min_element(pose.begin(), pose.end(),
                                                 [](const Vector3& p, const Vector3& q) { return p.y < q.y; });
            ASSERT_NE(lowest, pose.end());
            EXPECT_GE(lowest->y, -0.005f) << "at " << time;
        }
        const std::vector<Vector3> first = Skinned(cat, a, 1.0f), last = Skinned(cat, a, animation.Length);
        for (size_t i = 0; i < first.size(); ++i)
            ASSERT_LT(Distance(first[i], last[i]), 1e-3f) << "vertex " << i;
    }
}

TEST_F(BakeModels, TheButterflysWingsBeatInALoop)
{
    ZRModel butterfly(nullptr, "models\\butterfly");
    ASSERT_FALSE(butterfly.Model.Animations.empty());
    const ZRMAnimation& beat = butterfly.Model.Animations[0];
    EXPECT_TRUE(beat.Loop);
    EXPECT_LE(beat.Length, 6.0f);
    const std::vector<Vector3> rest = Skinned(butterfly, 0, 1.0f);
    float moved = 0.0f;
    for (float time : Times(beat, 8)) {
        const std::vector<Vector3> pose = Skinned(butterfly, 0, time);
        for (size_t i = 0; i < pose.size(); ++i)
            moved = std::max(moved, Distance(pose[i], rest[i]));
    }
    EXPECT_GT(moved, 0.2f);
}
