#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include "gl/gl_test_support.h"
#include "math/math_test_support.h"
#include "resource/resource_displaylist.h"
#include "resource/resource_model.h"
#include "test_support.h"
#include "ztm.h"

namespace {

constexpr float kHalfTurn = 3.14159265f;

ZRMKey Key(float time, const Vector3& value) { return {time, value}; }

ZRMJoint Joint(const char* name, uint8_t parent, const Vector3& restPosition)
{
    ZRMJoint joint;
    joint.Name = name;
    joint.Parent = parent;
    joint.RestPosition = restPosition;
    return joint;
}

// Joint 0 at (1, 0, 0) turns a half turn about z from key time 1 to 2;
// joint 1 hangs one unit above it and follows. Level 0 holds one vertex on
// each joint, one a unit above joint 1 and one bound to nothing.
ztm::Model TwoJoints()
{
    ztm::Model model;
    model.Name = "arm";
    model.Joints = {Joint("shoulder", kNoJoint, {1, 0, 0}), Joint("hand", 0, {0, 1, 0})};
    ZRMAnimation wave;
    wave.Name = "Wave";
    wave.Tracks.resize(2);
    wave.Tracks[0].RotationKeys = {Key(1, {}), Key(2, {0, 0, kHalfTurn})};
    wave.Tracks[0].PositionKeys = {Key(1, {})};
    wave.Tracks[1].RotationKeys = {Key(1, {})};
    wave.Tracks[1].PositionKeys = {Key(1, {})};
    model.Animations = {wave};
    model.Levels[0].Vertices = {{{1, 0, 0}, 0}, {{1, 1, 0}, 1}, {{1, 2, 0}, 1}, {{5, 5, 5}, kNoJoint}};
    ZRMFace face;
    face.Vertex = {0, 1, 2};
    face.Normal = {Vector3{0, 0, 1}, Vector3{1, 0, 0}, Vector3{1, 0, 0}};
    model.Levels[0].Faces = {face};
    ZRMGroup group;
    group.Faces[0] = {0};
    model.Groups = {group};
    model.Attachments = {{"grip", 1, {}}};
    return model;
}

ztm::Material Skin()
{
    ztm::Material material;
    material.Name = "skin";
    return material;
}

}  // namespace

class ModelResource : public EngineTest {
protected:
    // Writes bytes as models/<name>.ztm and loads it.
    std::unique_ptr<ZRModel> Load(const std::string& bytes, const std::string& name = "test")
    {
        std::filesystem::create_directories(Dir.File("models"));
        Dir.Write("models/" + name + ".ztm", bytes);
        return std::make_unique<ZRModel>(nullptr, "models\\" + name);
    }
    std::unique_ptr<ZRModel> Load(const ztm::Model& model) { return Load(ztm::Bytes(model)); }

    long Errors() const
    {
        long errors = 0;
        for (const std::string& line : ConsoleLines())
            errors += line.rfind("  ERROR: ", 0) == 0;
        return errors;
    }
};

TEST_F(ModelResource, WhatTheWriterWritesReadsBackToTheSameBytes)
{
    ztm::Model written = TwoJoints();
    written.Main.Text = "carried";
    written.Levels[2].Enabled = true;
    written.Materials = {Skin()};
    written.Materials[0].Ambient = {0.1f, 0.2f, 0.3f};
    written.Materials[0].Script = {"SET_BLENDING ADDITIVE 0.5"};
    written.Groups[0].Material = 0;
    written.Joints[1].Extra.Third = 7.0f;
    written.BoundingRadius = 3.0f;
    written.Info.Lines = {"made by hand"};
    const std::string bytes = ztm::Bytes(written);
    const auto model = Load(bytes);
    ASSERT_TRUE(model->IsLoaded());
    EXPECT_EQ(model->GetName(), "arm");
    EXPECT_EQ(Errors(), 0);
    EXPECT_EQ(ztm::Bytes(ztm::FromEngine(*model)), bytes);
    EXPECT_EQ(model->Model.Materials[0]->Material.BlendMode, ZOTGL::kBlendAdditive);
    EXPECT_TRUE(Logged("Creating Model: \"models\\test\""));
    model->Unload();
    EXPECT_TRUE(Logged("Deleting Model: \"models\\test\""));
    EXPECT_TRUE(model->Model.Materials.empty() && model->Model.LODs[0].Vertices.empty());
}

TEST_F(ModelResource, BoundsAndBindSpaceComeFromTheRestPose)
{
    const auto model = Load(TwoJoints());
    const TModel& m = model->Model;
    EXPECT_EQ(m.HalfWidth, 5.0f);
    EXPECT_EQ(m.Top, 5.0f);
    EXPECT_EQ(m.Bottom, 0.0f);
    ExpectVectorNear(m.Extents, {5, 5, 5});
    // Each bound vertex relative to its joint at rest; the unbound one stays.
    const std::vector<Vector3>& bind = m.LODs[0].Bind.Positions;
    ASSERT_EQ(bind.size(), 4u);
    ExpectVectorNear(bind[0], {0, 0, 0});
    ExpectVectorNear(bind[2], {0, 1, 0});
    ExpectVectorNear(bind[3], {5, 5, 5});
    EXPECT_EQ(m.Animations[0].Length, 2.0f);
}

TEST_F(ModelResource, PosesFollowTheKeysDownTheHierarchy)
{
    const auto model = Load(TwoJoints());
    // Half way, joint 0 has turned a quarter: the hand's unit offset above it
    // now points along -x. JointPosition negates x.
    model->EvaluatePose(0, true, 0, 1.5f);
    ExpectVectorNear(model->JointPosition(0), {-1, 0, 0});
    ExpectVectorNear(model->JointPosition(1), {0, 0, 0});
    // Before the first key and after the last the end keys hold.
    model->EvaluatePose(0, true, 0, -4.0f);
    ExpectVectorNear(model->JointPosition(1), {-1, 1, 0});
    model->EvaluatePose(0, false, 0, 9.0f);
    ExpectVectorNear(model->JointPosition(0), {-1, 0, 0});
    ExpectVectorNear(model->RestJointPosition(1), {-1, 1, 0});
    ExpectVectorNear(model->JointPosition(7), {0, 0, 0});
    model->EvaluatePose(1, true, -1, 1.5f);
    model->EvaluatePose(-1, true, -1, 1.5f);
}

TEST_F(ModelResource, JointsWithoutKeysInBothListsOrWithoutATrackStayAtRest)
{
    ztm::Model written = TwoJoints();
    written.Animations[0].Tracks[1].PositionKeys.clear();
    written.Animations[0].Tracks[1].RotationKeys = {Key(1, {0, 0, kHalfTurn})};
    auto model = Load(written);
    model->EvaluatePose(0, true, 0, 1.5f);
    ExpectVectorNear(model->JointPosition(1), {-1, 1, 0});

    // Animations read before the joints have no tracks at all.
    ztm::Model jointless = written;
    jointless.Joints.clear();
    model = Load(ztm::Chunk(jointless, kChunkAnimations) + ztm::Chunk(written, kChunkJoints));
    ASSERT_EQ(model->Model.Animations.size(), 1u);
    EXPECT_TRUE(model->Model.Animations[0].Tracks.empty());
    model->EvaluatePose(0, true, -1, 1.5f);
    ExpectVectorNear(model->JointPosition(1), {-1, 1, 0});
}

TEST_F(ModelResource, LengthsStartAtOneAndOneKeyHoldsForEveryTime)
{
    ztm::Model written = TwoJoints();
    written.Animations[0].Tracks[0].RotationKeys = {Key(0.5f, {0, 0, kHalfTurn / 2})};
    const auto model = Load(written);
    EXPECT_EQ(model->Model.Animations[0].Length, 1.0f);
    for (float t : {0.0f, 0.5f, 3.0f}) {
        model->EvaluatePose(0, true, -1, t);
        ExpectVectorNear(model->JointPosition(1), {0, 0, 0});
    }
}

TEST_F(ModelResource, LevelsAnimationNamesAndTheStaticModel)
{
    ztm::Model written = TwoJoints();
    EXPECT_EQ(Load(written)->SelectLOD(1000.0f), 0);
    for (int level = 1; level < kModelLevels; ++level)
        written.Levels[static_cast<size_t>(level)].Enabled = true;
    const auto model = Load(written);
    EXPECT_EQ(model->SelectLOD(15.0f), 0);
    EXPECT_EQ(model->SelectLOD(15.01f), 1);
    EXPECT_EQ(model->SelectLOD(51.0f), 3);
    EXPECT_EQ(model->AnimationIndex("Wave"), 0);
    EXPECT_EQ(model->AnimationIndex("wave"), -1);

    written.Animations.clear();
    const auto still = Load(written);
    EXPECT_TRUE(still->Model.LODs[0].Bind.Positions.empty());
    ExpectVectorNear(still->RestJointPosition(1), {-1, 1, 0});
}

// Whatever a damaged file holds, what was read stays, the damage is
// reported, and nothing reads outside a list.
TEST_F(ModelResource, FilesCutAnywhereAreReportedAndKeepWhatWasRead)
{
    ztm::Model written = TwoJoints();
    written.Textures = {{"skin", ""}};
    written.Materials = {Skin()};
    const std::string whole = ztm::Bytes(written);
    std::set<size_t> chunkEnds;
    for (uint32_t id = kChunkHeader, end = 0; id <= kChunkInfo; ++id)
        chunkEnds.insert(end += ztm::Chunk(written, id).size());
    for (size_t length = 1; length < whole.size(); length += 1 + length / 64) {
        if (chunkEnds.count(length))
            continue;
        SCOPED_TRACE(length);
        const long before = Errors();
        const auto model = Load(whole.substr(0, length));
        EXPECT_TRUE(model->IsLoaded());
        EXPECT_GE(Errors(), before + 1);
        model->EvaluatePose(0, true, -1, 1.5f);
        model->RestJointPosition(1);
    }
    const auto header = Load(whole.substr(0, ztm::Chunk(written, kChunkHeader).size() + 3));
    EXPECT_EQ(header->GetName(), "arm");
    EXPECT_TRUE(Logged("  ERROR: ZR_MODEL: Error while reading model file \"" + EngineFile("models/test.ztm") + "\""));
}

TEST_F(ModelResource, AnUnknownChunkEndsTheReadAndIsReported)
{
    const ztm::Model written = TwoJoints();
    const uint32_t unknown = kChunkInfo + 1;
    const std::string bytes = ztm::Chunk(written, kChunkHeader) +
                              std::string(reinterpret_cast<const char*>(&unknown), 4) +
                              ztm::Chunk(written, kChunkVertices);
    const auto model = Load(bytes);
    EXPECT_EQ(model->GetName(), "arm");
    EXPECT_TRUE(model->Model.LODs[0].Vertices.empty());
    EXPECT_TRUE(Logged("  ERROR: ZR_MODEL: Error while reading model file \"" + EngineFile("models/test.ztm") + "\""));
    EXPECT_EQ(Load(ztm::Chunk(written, kChunkNone) + ztm::Chunk(written, kChunkHeader))->GetName(), "arm");
    EXPECT_EQ(Errors(), 1);
}

TEST_F(ModelResource, AbsurdListLengthsAreReadErrorsNotAllocations)
{
    for (int32_t high : {-2, 1 << 30, INT32_MAX}) {
        std::string bytes = ztm::Chunk(ztm::Model(), kChunkVertices);
        bytes.replace(4, 4, std::string(reinterpret_cast<const char*>(&high), 4));
        const auto model = Load(bytes);
        EXPECT_TRUE(model->Model.LODs[0].Vertices.empty()) << high;
    }
    EXPECT_EQ(Errors(), 3);
}

TEST_F(ModelResource, IndicesOutsideTheirListsAreReportedOnceAndNameNothing)
{
    ztm::Model written = TwoJoints();
    written.Levels[0].Vertices.push_back({{0, 0, 0}, 9});
    written.Levels[0].Vertices.push_back({{0, 0, 0}, 9});
    ZRMFace stray = written.Levels[0].Faces[0];
    stray.Vertex = {0, 1, 40};
    written.Levels[0].Faces.push_back(stray);
    written.Groups[0].Faces[0] = {0, 1, 7};
    written.Groups[0].Material = 3;
    written.Joints.push_back(Joint("loose", 5, {}));
    written.Animations[0].Tracks.resize(3);
    written.Attachments.push_back({"lost", 200, {}});
    written.Materials = {Skin()};
    written.Materials[0].LayerTexture = {0, 255, 255, 255};
    const auto model = Load(written);
    const TModel& m = model->Model;
    EXPECT_EQ(Errors(), 7);
    EXPECT_EQ(m.LODs[0].Vertices[4].Joint, kNoJoint);
    EXPECT_EQ(m.Groups[0].Faces[0], (std::vector<uint16_t>{0}));
    EXPECT_EQ(m.Groups[0].Material, kNoMaterial);
    EXPECT_EQ(m.Joints[2].Parent, kNoJoint);
    EXPECT_EQ(m.Attachments[1].Joint, kNoJoint);
    EXPECT_EQ(m.Materials[0]->Material.Textures.LayerTexture[0], kNoLayer);
    EXPECT_TRUE(Logged("  ERROR: ZR_MODEL: Model file \"" + EngineFile("models/test.ztm") +
                       "\": a face names a vertex beyond its level's vertices"));
}

class ModelResourceGL : public GLTest {};

TEST_F(ModelResourceGL, AFlagsChunkAloneGivesOneEmptyListForTheFirstLevel)
{
    ztm::Model written;
    written.UseDisplayLists = true;
    std::filesystem::create_directories(Dir.File("models"));
    Dir.Write("models/flags.ztm", ztm::Chunk(written, kChunkFlags));
    ZRModel model(nullptr, "models\\flags");
    EXPECT_TRUE(model.IsLoaded());
    ASSERT_NE(model.Model.LODs[0].DisplayList, nullptr);
    EXPECT_EQ(model.Model.LODs[0].DisplayList->GetName(), "RESOURCE MODEL LOD 0");
    EXPECT_EQ(model.Model.LODs[1].DisplayList, nullptr);
}
