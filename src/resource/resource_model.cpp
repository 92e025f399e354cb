#include "resource/resource_model.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <set>

#include "core/file_file.h"
#include "core/zot_console.h"
#include "core/zot_file.h"
#include "core/zot_main.h"
#include "gl/gl_main.h"
#include "gl/gl_modelengine.h"
#include "math/zot_math.h"
#include "resource/resource_displaylist.h"
#include "resource/resource_material.h"
#include "resource/resource_texture.h"

namespace {

constexpr const char* kErrorSource = "ZR_MODEL";
constexpr const char* kModelExtension = "ztm";
// Textures a model file names carry this tag.
constexpr int32_t kModelTextureTag = 3;

// The fewest bytes each kind of record takes in a file: a list whose records
// could not fit in what is left of the file is damage, not a reason to allocate.
constexpr int64_t kVertexBytes = 13;
constexpr int64_t kFaceBytes = 66;
constexpr int64_t kKeyBytes = 16;
constexpr int64_t kGroupBytes = 2 + 2 + 1 + kModelLevels * 4;
constexpr int64_t kMaterialBytes = 2 + 5 * 12 + 4 + 4 + 4;
constexpr int64_t kJointBytes = 2 + 2 + 4 + 12 + 4 + 4 + 12 + 4 + 1 + 12 + 12 + 2 + 2;
constexpr int64_t kTextureBytes = 2 + 2;
constexpr int64_t kTrackBytes = 12 + 12 + 2 + 2;
constexpr int64_t kAnimationBytes = 2 + 4 + 1 + 4;
constexpr int64_t kAttachmentBytes = 2 + 1 + 12;

ZOTMath& Math() { return *CurrentEngine->Math; }

const ZMMatrix& Matrices() { return *CurrentEngine->Math->Matrix; }

void Throw(const ZOTFile& file, const std::string& what)
{
    throw ZOTIOError(what + " in file \"" + file.GetSettings().FileName + "\"");
}

// A list's length from its stored high index, checked against what is left.
size_t ReadCount(ZOTFile& file, int64_t recordBytes)
{
    const int32_t high = file.ReadInteger();
    if (high < -1 || (static_cast<int64_t>(high) + 1) * recordBytes > file.Remaining())
        Throw(file, "Bad list length " + std::to_string(high));
    return static_cast<size_t>(high + 1);
}

std::vector<ZRMKey> ReadKeys(ZOTFile& file, uint16_t count)
{
    if (count * kKeyBytes > file.Remaining())
        Throw(file, "Bad key count " + std::to_string(count));
    std::vector<ZRMKey> keys(count);
    for (ZRMKey& key : keys) {
        key.Time = file.ReadSingle();
        key.Value = file.ReadVector();
    }
    return keys;
}

// The value of keys at time t: linear between the keys around t, the first
// key's value before the first key and the last key's after the last.
Vector3 Interpolate(const std::vector<ZRMKey>& keys, float t)
{
    const auto hi = std::find_if(keys.begin(), keys.end(), [t](const ZRMKey& key) { return key.Time >= t; });
    if (hi == keys.end())
        return keys.back().Value;
    if (hi == keys.begin())
        return hi->Value;
    const ZRMKey& lo = *(hi - 1);
    const float f = (t - lo.Time) / (hi->Time - lo.Time);
    return Math().Add(lo.Value, Math().Scale(Math().Subtract(lo.Value, hi->Value), f));
}

float LastKeyTime(const std::vector<ZRMKey>& keys) { return keys.empty() ? 0.0f : keys.back().Time; }

Vector3 Translation(const Matrix4& m) { return {m.m[3], m.m[7], m.m[11]}; }

void SetTranslation(Matrix4& m, const Vector3& v)
{
    m.m[3] = v.x;
    m.m[7] = v.y;
    m.m[11] = v.z;
}

Matrix4 Product(const Matrix4& a, const Matrix4& b)
{
    Matrix4 out;
    Matrices().Multiply(a, b, out);
    return out;
}

// Collects the kinds of faults found in one file, to report each kind once.
class FaultList {
public:
    void Add(const std::string& what) { Faults.insert(what); }
    void Report(const std::string& path) const
    {
        for (const std::string& fault : Faults)
            ReportError(kErrorSource, "Model file \"" + path + "\": " + fault);
    }

private:
    std::set<std::string> Faults;
};

template <typename Index>
bool Outside(Index index, size_t size, Index none)
{
    return index != none && static_cast<size_t>(index) >= size;
}

}  // namespace

ZRMLOD DefaultLevel(int32_t index)
{
    static constexpr std::array<const char*, kModelLevels> kNames{"Detail", "Near", "Far", "Distant"};
    static constexpr std::array<float, kModelLevels> kDistances{0.0f, 15.0f, 30.0f, 50.0f};
    ZRMLOD level;
    const size_t i = static_cast<size_t>(std::clamp(index, 0, kModelLevels - 1));
    level.Name = kNames[i];
    level.Distance = kDistances[i];
    level.Enabled = i == 0;
    return level;
}

ZRModel::ZRModel(ZOTOwner* owner, const std::string& fileName) : ZOTResource(owner, kDefaultName, "ZRModel")
{
    Settings.Tag = 0;
    for (int32_t i = 0; i < kModelLevels; ++i)
        Model.LODs[static_cast<size_t>(i)] = DefaultLevel(i);
    if (owner)
        SetParent(owner);
    if (!fileName.empty())
        LoadFromFile(fileName);
    Reset();
}

ZRModel::~ZRModel() { ZRModel::Unload(); }

void ZRModel::LoadFromFile(const std::string& fileName)
{
    if (!CurrentEngine || !CurrentEngine->FileSystem)
        return;
    ZOTFileSystem& files = *CurrentEngine->FileSystem;
    const std::string path = files.MakePath(fileName, kModelExtension);
    if (!files.Exists(path, true))
        return;
    Settings.FileName = fileName;
    LogLine("Creating Model: \"" + fileName + "\"");
    try {
        const std::unique_ptr<ZOTFile> file = files.OpenForReading(path, kFileBinary);
        ReadChunks(*file);
    } catch (const ZOTIOError&) {
        ReportError(kErrorSource, "Error while reading model file \"" + path + "\"");
    }
    Empty = false;
    CheckIndices(path);
    AssignTextures();
    PrepareSkeleton();
    ComputeBounds();
    CompileLevels();
}

void ZRModel::ReadChunks(ZOTFile& file)
{
    while (!file.AtEnd())
        ReadChunk(file, file.ReadCardinal());
}

// Each chunk is read whole into its own lists before it replaces the model's,
// so a chunk the file cuts short leaves the earlier ones as they were.
void ZRModel::ReadChunk(ZOTFile& file, uint32_t id)
{
    using Reader = void (ZRModel::*)(ZOTFile&);
    static const std::pair<uint32_t, Reader> kReaders[] = {
        {kChunkHeader, &ZRModel::ReadHeader},         {kChunkLevels, &ZRModel::ReadLevelSettings},
        {kChunkVertices, &ZRModel::ReadVertices},     {kChunkFaces, &ZRModel::ReadFaces},
        {kChunkGroups, &ZRModel::ReadGroups},         {kChunkMaterials, &ZRModel::ReadMaterials},
        {kChunkJoints, &ZRModel::ReadJoints},         {kChunkTextures, &ZRModel::ReadTextures},
        {kChunkAnimations, &ZRModel::ReadAnimations}, {kChunkAttachments, &ZRModel::ReadAttachments},
        {kChunkBounds, &ZRModel::ReadBounds},         {kChunkFlags, &ZRModel::ReadFlags},
        {kChunkInfo, &ZRModel::ReadInfo},
    };
    for (const auto& [chunk, read] : kReaders) {
        if (chunk == id) {
            (this->*read)(file);
            return;
        }
    }
    // Chunks carry no length, so nothing after an unknown one can be found.
    if (id != kChunkNone)
        Throw(file, "Unknown chunk " + std::to_string(id));
}

void ZRModel::ReadHeader(ZOTFile& file)
{
    const std::string name = file.ReadName();
    TMMain main;
    main.Name = file.ReadName();
    file.ReadLineList(main.Script);
    main.Text = file.ReadString();
    main.Value = file.ReadSingle();
    SetName(name);
    Model.Main = std::move(main);
}

void ZRModel::ReadLevelSettings(ZOTFile& file)
{
    std::array<ZRMLOD, kModelLevels> read;
    for (ZRMLOD& level : read) {
        level.Name = file.ReadName();
        level.Distance = file.ReadSingle();
        level.Enabled = file.ReadBoolean();
    }
    for (size_t i = 0; i < read.size(); ++i) {
        Model.LODs[i].Name = read[i].Name;
        Model.LODs[i].Distance = read[i].Distance;
        Model.LODs[i].Enabled = read[i].Enabled;
    }
}

void ZRModel::ReadVertices(ZOTFile& file)
{
    std::array<std::vector<ZRMVertex>, kModelLevels> read;
    for (std::vector<ZRMVertex>& vertices : read) {
        vertices.resize(ReadCount(file, kVertexBytes));
        for (ZRMVertex& vertex : vertices) {
            vertex.Position = file.ReadVector();
            vertex.Joint = file.ReadByte();
        }
    }
    for (size_t i = 0; i < read.size(); ++i)
        Model.LODs[i].Vertices = std::move(read[i]);
}

void ZRModel::ReadFaces(ZOTFile& file)
{
    std::array<std::vector<ZRMFace>, kModelLevels> read;
    for (std::vector<ZRMFace>& faces : read) {
        faces.resize(ReadCount(file, kFaceBytes));
        for (ZRMFace& face : faces) {
            for (size_t c = 0; c < 3; ++c) {
                face.Vertex[c] = file.ReadWord();
                face.Normal[c] = file.ReadVector();
                face.U[c] = file.ReadSingle();
                face.V[c] = file.ReadSingle();
            }
        }
    }
    for (size_t i = 0; i < read.size(); ++i)
        Model.LODs[i].Faces = std::move(read[i]);
}

void ZRModel::ReadGroups(ZOTFile& file)
{
    std::vector<ZRMGroup> groups(ReadCount(file, kGroupBytes));
    for (ZRMGroup& group : groups) {
        group.Name = file.ReadName();
        group.SecondName = file.ReadName();
        group.Material = file.ReadByte();
        for (std::vector<uint16_t>& faces : group.Faces) {
            faces.resize(ReadCount(file, 2));
            for (uint16_t& face : faces)
                face = file.ReadWord();
        }
    }
    Model.Groups = std::move(groups);
}

void ZRModel::ReadMaterials(ZOTFile& file)
{
    const size_t count = ReadCount(file, kMaterialBytes);
    std::vector<std::unique_ptr<ZRMaterial>> read;
    for (size_t i = 0; i < count; ++i) {
        read.push_back(std::make_unique<ZRMaterial>(this));
        read.back()->ReadFromModel(file);
    }
    for (ZRMaterial* material : Model.Materials)
        delete material;
    Model.Materials.clear();
    for (std::unique_ptr<ZRMaterial>& material : read)
        Model.Materials.push_back(material.release());
}

void ZRModel::ReadJoints(ZOTFile& file)
{
    std::vector<ZRMJoint> joints(ReadCount(file, kJointBytes));
    for (ZRMJoint& joint : joints) {
        joint.Name = file.ReadName();
        joint.SecondName = file.ReadName();
        joint.Extra.First = file.ReadInteger();
        joint.Extra.Second = file.ReadVector();
        joint.Extra.Third = file.ReadSingle();
        joint.Extra.Fourth = file.ReadInteger();
        joint.Extra.Fifth = file.ReadVector();
        joint.Channel = file.ReadInteger();
        joint.Parent = file.ReadByte();
        joint.RestRotation = file.ReadVector();
        joint.RestPosition = file.ReadVector();
        joint.RotationKeyCount = file.ReadWord();
        joint.PositionKeyCount = file.ReadWord();
    }
    Model.Joints = std::move(joints);
}

void ZRModel::ReadTextures(ZOTFile& file)
{
    const size_t count = ReadCount(file, kTextureBytes);
    std::vector<std::unique_ptr<ZRTexture>> read;
    for (size_t i = 0; i < count; ++i) {
        read.push_back(std::make_unique<ZRTexture>(std::string(), this, kModelTextureTag));
        read.back()->ReadReference(file);
    }
    for (ZRTexture* texture : Model.Textures)
        delete texture;
    Model.Textures.clear();
    for (std::unique_ptr<ZRTexture>& texture : read)
        Model.Textures.push_back(texture.release());
}

// Each animation has one track for every joint read so far.
void ZRModel::ReadAnimations(ZOTFile& file)
{
    const int64_t tracks = static_cast<int64_t>(Model.Joints.size());
    std::vector<ZRMAnimation> animations(ReadCount(file, kAnimationBytes + tracks * kTrackBytes));
    for (ZRMAnimation& animation : animations) {
        animation.Name = file.ReadName();
        animation.Rate = file.ReadSingle();
        animation.Loop = file.ReadByte() != 0;
        file.ReadSingle();
        animation.Tracks.resize(static_cast<size_t>(tracks));
        for (ZRMTrack& track : animation.Tracks) {
            track.RestRotation = file.ReadVector();
            track.RestPosition = file.ReadVector();
            const uint16_t rotations = file.ReadWord();
            const uint16_t positions = file.ReadWord();
            track.RotationKeys = ReadKeys(file, rotations);
            track.PositionKeys = ReadKeys(file, positions);
        }
    }
    Model.Animations = std::move(animations);
}

void ZRModel::ReadAttachments(ZOTFile& file)
{
    std::vector<ZRMAttachment> attachments(ReadCount(file, kAttachmentBytes));
    for (ZRMAttachment& attachment : attachments) {
        attachment.Name = file.ReadName();
        attachment.Joint = file.ReadByte();
        attachment.Offset = file.ReadVector();
    }
    Model.Attachments = std::move(attachments);
}

void ZRModel::ReadBounds(ZOTFile& file)
{
    const float radius = file.ReadSingle();
    std::array<Vector3, 3> extra;
    for (Vector3& vector : extra)
        vector = file.ReadVector();
    Model.BoundingRadius = radius;
    Model.BoundsExtra = extra;
}

void ZRModel::ReadFlags(ZOTFile& file)
{
    const bool useDisplayLists = file.ReadBoolean();
    std::array<bool, 3> extra;
    for (bool& flag : extra)
        flag = file.ReadBoolean();
    Model.UseDisplayLists = useDisplayLists;
    Model.FlagsExtra = extra;
}

void ZRModel::ReadInfo(ZOTFile& file)
{
    ZTScript info;
    file.ReadLineList(info);
    Model.Info = std::move(info);
}

// Drawing, posing and skinning trust these indices, so whatever the file
// held, each one that points outside its list is made to name nothing.
void ZRModel::CheckIndices(const std::string& path)
{
    FaultList faults;
    for (size_t i = 0; i < Model.LODs.size(); ++i) {
        ZRMLOD& level = Model.LODs[i];
        for (ZRMVertex& vertex : level.Vertices) {
            if (Outside(vertex.Joint, Model.Joints.size(), kNoJoint)) {
                faults.Add("a vertex is bound to a joint beyond the joints");
                vertex.Joint = kNoJoint;
            }
        }
        std::vector<bool> drawable(level.Faces.size(), true);
        for (size_t f = 0; f < level.Faces.size(); ++f) {
            for (uint16_t vertex : level.Faces[f].Vertex) {
                if (vertex >= level.Vertices.size()) {
                    faults.Add("a face names a vertex beyond its level's vertices");
                    drawable[f] = false;
                }
            }
        }
        for (ZRMGroup& group : Model.Groups) {
            std::vector<uint16_t>& faces = group.Faces[i];
            const auto beyond = [&](uint16_t face) { return face >= level.Faces.size(); };
            if (std::any_of(faces.begin(), faces.end(), beyond))
                faults.Add("a group names a face beyond its level's faces");
            faces.erase(std::remove_if(faces.begin(), faces.end(),
                                       [&](uint16_t face) { return beyond(face) || !drawable[face]; }),
                        faces.end());
        }
    }
    for (ZRMGroup& group : Model.Groups) {
        if (Outside(group.Material, Model.Materials.size(), kNoMaterial)) {
            faults.Add("a group names a material beyond the materials");
            group.Material = kNoMaterial;
        }
    }
    for (size_t j = 0; j < Model.Joints.size(); ++j) {
        ZRMJoint& joint = Model.Joints[j];
        if (Outside(joint.Parent, j, kNoJoint)) {
            faults.Add("a joint's parent is not an earlier joint");
            joint.Parent = kNoJoint;
        }
    }
    for (ZRMAttachment& attachment : Model.Attachments) {
        if (Outside(attachment.Joint, Model.Joints.size(), kNoJoint)) {
            faults.Add("an attachment point names a joint beyond the joints");
            attachment.Joint = kNoJoint;
        }
    }
    for (ZRMaterial* material : Model.Materials) {
        for (uint8_t& texture : material->Material.Textures.LayerTexture) {
            if (Outside(texture, Model.Textures.size(), kNoLayer)) {
                faults.Add("a material names a texture beyond the textures");
                texture = kNoLayer;
            }
        }
    }
    faults.Report(path);
}

void ZRModel::AssignTextures()
{
    for (ZRMaterial* material : Model.Materials) {
        material->ParseScript();
        material->AssignModelTextures(Model.Textures);
    }
}

void ZRModel::PrepareSkeleton()
{
    Model.JointMatrices.assign(Model.Joints.size(), ZRMJointMatrices{});
    for (ZRMJoint& joint : Model.Joints)
        joint.PoseOffset = Vector3{};
    ComputeRestMatrices();
    if (!Model.Animations.empty())
        MakeBindSpace();
    ComputeLengths();
}

// In joint order, so that every parent's matrices are ready for its children.
void ZRModel::ComputeRestMatrices()
{
    for (size_t j = 0; j < Model.Joints.size(); ++j) {
        const ZRMJoint& joint = Model.Joints[j];
        ZRMJointMatrices& m = Model.JointMatrices[j];
        Matrices().RotationMatrix(m.LocalRestRotation, joint.RestRotation);
        m.LocalRest = m.LocalRestRotation;
        SetTranslation(m.LocalRest, joint.RestPosition);
        m.AbsoluteRotation = m.LocalRestRotation;
        m.AbsoluteRest = m.LocalRest;
        if (joint.Parent != kNoJoint) {
            const ZRMJointMatrices& parent = Model.JointMatrices[joint.Parent];
            m.AbsoluteRest = Product(parent.AbsoluteRest, m.LocalRest);
            m.AbsoluteRotation = Product(parent.AbsoluteRotation, m.AbsoluteRotation);
        }
        m.AbsoluteAnimated = m.AbsoluteRest;
    }
}

// Moves every bound vertex and normal into the space of its joint at rest,
// from where skinning carries it to the joint's animated place.
void ZRModel::MakeBindSpace()
{
    for (ZRMLOD& level : Model.LODs) {
        level.Bind.Positions.resize(level.Vertices.size());
        for (size_t i = 0; i < level.Vertices.size(); ++i) {
            Vector3& position = level.Bind.Positions[i];
            position = level.Vertices[i].Position;
            if (level.Vertices[i].Joint == kNoJoint)
                continue;
            const Matrix4& rest = Model.JointMatrices[level.Vertices[i].Joint].AbsoluteRest;
            position = Math().Subtract(Translation(rest), position);
            Matrices().TransformTransposed(position, rest, position);
        }
        level.Bind.Normals.resize(level.Faces.size());
        for (size_t f = 0; f < level.Faces.size(); ++f) {
            for (size_t c = 0; c < 3; ++c) {
                Vector3& normal = level.Bind.Normals[f][c];
                normal = level.Faces[f].Normal[c];
                const uint16_t vertex = level.Faces[f].Vertex[c];
                if (vertex >= level.Vertices.size() || level.Vertices[vertex].Joint == kNoJoint)
                    continue;
                const Matrix4& rotation = Model.JointMatrices[level.Vertices[vertex].Joint].AbsoluteRotation;
                Matrices().TransformTransposed(normal, rotation, normal);
            }
        }
    }
}

float AnimationLength(const std::vector<ZRMTrack>& tracks)
{
    float length = 1.0f;
    for (const ZRMTrack& track : tracks)
        length = std::max({length, LastKeyTime(track.RotationKeys), LastKeyTime(track.PositionKeys)});
    return length;
}

void ZRModel::ComputeLengths()
{
    for (ZRMAnimation& animation : Model.Animations)
        animation.Length = AnimationLength(animation.Tracks);
}

void ZRModel::ComputeBounds()
{
    Vector3 extents;
    float top = 0.0f;
    float bottom = 0.0f;
    for (const ZRMVertex& vertex : Model.LODs[0].Vertices) {
        const Vector3& p = vertex.Position;
        extents = {std::max(extents.x, std::fabs(p.x)), std::max(extents.y, std::fabs(p.y)),
                   std::max(extents.z, std::fabs(p.z))};
        top = std::max(top, p.y);
        bottom = std::max(bottom, -p.y);
    }
    Model.Extents = extents;
    Model.HalfWidth = std::max(extents.x, extents.z);
    Model.Top = top;
    Model.Bottom = bottom;
}

void ZRModel::CompileLevels()
{
    if (!Model.UseDisplayLists || !CurrentGL)
        return;
    for (int32_t i = 0; i < kModelLevels; ++i) {
        ZRMLOD& level = Model.LODs[static_cast<size_t>(i)];
        if (!level.Enabled)
            continue;
        auto* list = new ZRDisplayList(this);
        list->SetName(GetName() + " LOD " + std::to_string(i));
        list->BeginCompile();
        CurrentGL->ModelEngine->DrawLevel(this, i);
        list->EndCompile();
        level.DisplayList = list;
    }
}

int32_t ZRModel::SelectLOD(float distance) const
{
    int32_t selected = 0;
    for (int32_t i = 1; i < kModelLevels; ++i) {
        const ZRMLOD& level = Model.LODs[static_cast<size_t>(i)];
        if (level.Enabled && distance > level.Distance)
            selected = i;
    }
    return selected;
}

int32_t ZRModel::AnimationIndex(const std::string& name) const
{
    const std::string wanted = CutText(name, kNameLength);
    for (size_t i = 0; i < Model.Animations.size(); ++i) {
        if (Model.Animations[i].Name == wanted)
            return static_cast<int32_t>(i);
    }
    return -1;
}

// A joint without keys in both of its lists, or without a track at all (the
// animation was read before the joints), stays at rest.
void ZRModel::EvaluatePose(int32_t animation, bool all, int32_t channel, float time)
{
    if (animation < 0 || animation > HighIndex(Model.Animations))
        return;
    const std::vector<ZRMTrack>& tracks = Model.Animations[static_cast<size_t>(animation)].Tracks;
    all = all || channel == -1;
    for (size_t j = 0; j < Model.Joints.size(); ++j) {
        if (!all && Model.Joints[j].Channel != channel)
            continue;
        const ZRMTrack* track = j < tracks.size() ? &tracks[j] : nullptr;
        if (!track || track->RotationKeys.empty() || track->PositionKeys.empty()) {
            Model.JointMatrices[j].AbsoluteAnimated = Model.JointMatrices[j].AbsoluteRest;
            continue;
        }
        const Vector3 rotation = Math().Add(Interpolate(track->RotationKeys, time), Model.Joints[j].PoseOffset);
        PoseJoint(static_cast<int32_t>(j), rotation, Interpolate(track->PositionKeys, time));
    }
}

void ZRModel::PoseJoint(int32_t index, const Vector3& rotation, const Vector3& position)
{
    const ZRMJoint& joint = Model.Joints[static_cast<size_t>(index)];
    ZRMJointMatrices& m = Model.JointMatrices[static_cast<size_t>(index)];
    Matrix4 local;
    Matrices().RotationMatrix(local, rotation);
    m.AbsoluteRotation = Product(m.LocalRestRotation, local);
    SetTranslation(local, position);
    m.LocalAnimated = Product(m.LocalRest, local);
    m.AbsoluteAnimated = m.LocalAnimated;
    if (joint.Parent == kNoJoint)
        return;
    const ZRMJointMatrices& parent = Model.JointMatrices[joint.Parent];
    m.AbsoluteAnimated = Product(parent.AbsoluteAnimated, m.LocalAnimated);
    m.AbsoluteRotation = Product(parent.AbsoluteRotation, m.AbsoluteRotation);
}

Vector3 ZRModel::JointPosition(int32_t joint) const
{
    if (joint < 0 || joint > HighIndex(Model.JointMatrices))
        return Vector3{};
    const Vector3 t = Translation(Model.JointMatrices[static_cast<size_t>(joint)].AbsoluteAnimated);
    return {-t.x, t.y, t.z};
}

Vector3 ZRModel::RestJointPosition(int32_t joint)
{
    const int32_t last = std::min(joint, HighIndex(Model.JointMatrices));
    for (int32_t j = 0; j <= last; ++j)
        PoseJoint(j, Vector3{}, Vector3{});
    return JointPosition(joint);
}

void ZRModel::Unload()
{
    if (!Empty) {
        LogLine("Deleting Model: \"" + Settings.FileName + "\"");
        Empty = true;
    }
    FreeAll();
}

void ZRModel::FreeAll()
{
    for (ZRMLOD& level : Model.LODs) {
        DeleteAndClear(level.DisplayList);
        level.Vertices.clear();
        level.Faces.clear();
        level.Bind = ZRMALOD{};
    }
    for (ZRMaterial* material : Model.Materials)
        delete material;
    for (ZRTexture* texture : Model.Textures)
        delete texture;
    Model.Materials.clear();
    Model.Textures.clear();
    Model.Groups.clear();
    Model.Joints.clear();
    Model.Animations.clear();
    Model.Attachments.clear();
    Model.JointMatrices.clear();
}
