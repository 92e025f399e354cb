// A 3D model read from a chunked .ztm file: four levels of detail of triangle
// geometry, face groups with their materials, embedded materials and texture
// references, a joint hierarchy with skeletal animations, and attachment
// points. It prepares what drawing needs (bind-space copies, rest matrices,
// animation lengths, bounds, display lists) and evaluates poses on request.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/zot_constant.h"
#include "math/math_types.h"
#include "resource/resource_main.h"

class ZOTFile;
class ZRDisplayList;
class ZRMaterial;
class ZRTexture;

// The index a vertex, joint parent or attachment holds when it names no joint,
// and a group when it has no material.
constexpr uint8_t kNoJoint = 255;
constexpr uint8_t kNoMaterial = 255;
constexpr int32_t kModelLevels = 4;

// The chunks of a model file: each is a 32-bit id followed at once by its
// payload. Chunk 10 and unknown ids carry none.
enum TModelChunk : uint32_t {
    kChunkHeader = 0,
    kChunkLevels = 1,
    kChunkVertices = 2,
    kChunkFaces = 3,
    kChunkGroups = 4,
    kChunkMaterials = 5,
    kChunkJoints = 6,
    kChunkTextures = 7,
    kChunkAnimations = 8,
    kChunkAttachments = 9,
    kChunkNone = 10,
    kChunkBounds = 11,
    kChunkFlags = 12,
    kChunkInfo = 13,
};

// The high index of a list: count minus one, -1 when empty.
template <typename List>
int32_t HighIndex(const List& list)
{
    return static_cast<int32_t>(list.size()) - 1;
}

struct ZRMVertex {
    Vector3 Position;
    uint8_t Joint = kNoJoint;
};

struct ZRMFace {
    std::array<uint16_t, 3> Vertex{};
    std::array<Vector3, 3> Normal{};
    std::array<float, 3> U{};
    std::array<float, 3> V{};
};

// A level's geometry moved into the space of the joints it is bound to.
struct ZRMALOD {
    std::vector<Vector3> Positions;
    std::vector<std::array<Vector3, 3>> Normals;
};

struct ZRMLOD {
    std::string Name;
    float Distance = 0.0f;
    bool Enabled = false;
    std::vector<ZRMVertex> Vertices;
    std::vector<ZRMFace> Faces;
    // Owned by the model; none unless the model compiles its levels.
    ZRDisplayList* DisplayList = nullptr;
    ZRMALOD Bind;
};

// Level index as a new model has it: "Detail" at 0 enabled, "Near", "Far"
// and "Distant" at 15, 30 and 50 disabled, without geometry.
ZRMLOD DefaultLevel(int32_t index);

struct ZRMGroup {
    std::string Name;
    std::string SecondName;
    uint8_t Material = kNoMaterial;
    // Indices into each level's faces.
    std::array<std::vector<uint16_t>, kModelLevels> Faces;
};

struct ZRMKey {
    float Time = 0.0f;
    Vector3 Value;
};

// Fields a model file stores with each joint that nothing interprets.
struct ZRMJointExtra {
    int32_t First = 0;
    Vector3 Second;
    float Third = 0.0f;
    int32_t Fourth = 0;
    Vector3 Fifth;
};

struct ZRMJoint {
    std::string Name;
    std::string SecondName;
    ZRMJointExtra Extra;
    // Which animation slot of a drawn instance moves this joint.
    int32_t Channel = 0;
    // Always an earlier joint, or kNoJoint for a root.
    uint8_t Parent = kNoJoint;
    // Radians.
    Vector3 RestRotation;
    Vector3 RestPosition;
    // Stored with the joint, carried: the keys live in the animations' tracks.
    uint16_t RotationKeyCount = 0;
    uint16_t PositionKeyCount = 0;
    // Added to the animated rotation.
    Vector3 PoseOffset;
};

// How one animation moves one joint.
struct ZRMTrack {
    Vector3 RestRotation;
    Vector3 RestPosition;
    std::vector<ZRMKey> RotationKeys;
    std::vector<ZRMKey> PositionKeys;
};

struct ZRMAnimation {
    std::string Name;
    float Rate = 1.0f;
    bool Loop = false;
    // Key times count from 1.0; the length is the time of the last key.
    float Length = 1.0f;
    // One per joint of the model when the animation was read.
    std::vector<ZRMTrack> Tracks;
};

// Key times count from 1.0: an animation lasts until the last key of any of
// its tracks, and at least until 1.0.
float AnimationLength(const std::vector<ZRMTrack>& tracks);

struct ZRMAttachment {
    std::string Name;
    uint8_t Joint = kNoJoint;
    Vector3 Offset;
};

struct ZRMJointMatrices {
    Matrix4 LocalRest;
    Matrix4 AbsoluteRest;
    Matrix4 LocalAnimated;
    Matrix4 AbsoluteAnimated;
    Matrix4 AbsoluteRotation;
    Matrix4 LocalRestRotation;
};

// The header of a model file, carried.
struct TMMain {
    std::string Name;
    ZTScript Script;
    std::string Text;
    float Value = 1.0f;
};

struct TModel {
    std::array<ZRMLOD, kModelLevels> LODs;
    std::vector<ZRMGroup> Groups;
    // Owned.
    std::vector<ZRMaterial*> Materials;
    std::vector<ZRMJoint> Joints;
    std::vector<ZRMAnimation> Animations;
    std::vector<ZRMAttachment> Attachments;
    // Owned.
    std::vector<ZRTexture*> Textures;
    std::vector<ZRMJointMatrices> JointMatrices;
    TMMain Main;
    float BoundingRadius = 1.0f;
    // Bounds of level 0, around the model's origin.
    float HalfWidth = 0.0f;
    float Top = 0.0f;
    float Bottom = 0.0f;
    Vector3 Extents;
    std::array<Vector3, 3> BoundsExtra{};
    bool UseDisplayLists = false;
    std::array<bool, 3> FlagsExtra{true, true, true};
    ZTScript Info;
};

class ZRModel : public ZOTResource {
public:
    static constexpr const char* kDefaultName = "RESOURCE MODEL";

    explicit ZRModel(ZOTOwner* owner = nullptr, const std::string& fileName = std::string());
    ~ZRModel() override;

    // Reads <fileName>.ztm under the data root (models\cat, say) into a
    // freshly created model; the object takes the name the file gives it.
    void LoadFromFile(const std::string& fileName) override;
    void Unload() override;

    // The last enabled level among 1..3 whose switch distance distance exceeds, else 0.
    int32_t SelectLOD(float distance) const;
    // The first animation of exactly this name (32 characters compared), or -1.
    int32_t AnimationIndex(const std::string& name) const;
    float BoundingRadius() const { return Model.BoundingRadius; }
    // Poses the joints of channel (all of them when all is set or channel is
    // -1) as animation moves them at time.
    void EvaluatePose(int32_t animation, bool all, int32_t channel, float time);
    // Where the joint stands in its last evaluated pose; origin for no joint.
    Vector3 JointPosition(int32_t joint) const;
    // Where the joint stands at rest; recomputes the joints up to it.
    Vector3 RestJointPosition(int32_t joint);

    TModel Model;

private:
    void ReadChunks(ZOTFile& file);
    void ReadChunk(ZOTFile& file, uint32_t id);
    void ReadHeader(ZOTFile& file);
    void ReadLevelSettings(ZOTFile& file);
    void ReadVertices(ZOTFile& file);
    void ReadFaces(ZOTFile& file);
    void ReadGroups(ZOTFile& file);
    void ReadMaterials(ZOTFile& file);
    void ReadJoints(ZOTFile& file);
    void ReadTextures(ZOTFile& file);
    void ReadAnimations(ZOTFile& file);
    void ReadAttachments(ZOTFile& file);
    void ReadBounds(ZOTFile& file);
    void ReadFlags(ZOTFile& file);
    void ReadInfo(ZOTFile& file);

    // Treats every index that points outside its list as absent, reporting
    // each kind of fault once.
    void CheckIndices(const std::string& path);
    void AssignTextures();
    void PrepareSkeleton();
    void ComputeRestMatrices();
    void MakeBindSpace();
    void ComputeLengths();
    void ComputeBounds();
    void CompileLevels();
    // The joint's animated matrices for this local rotation and translation.
    void PoseJoint(int32_t joint, const Vector3& rotation, const Vector3& position);
    void FreeAll();
};
