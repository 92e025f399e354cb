#include "ztm.h"

#include <cstring>
#include <fstream>

#include "resource/resource_material.h"
#include "resource/resource_texture.h"

namespace ztm {

namespace {

// Little-endian numbers and the engine's strings and script blocks.
class Out {
public:
    void U8(uint8_t v) { Bytes += static_cast<char>(v); }
    void U16(uint16_t v)
    {
        U8(static_cast<uint8_t>(v));
        U8(static_cast<uint8_t>(v >> 8));
    }
    void U32(uint32_t v)
    {
        U16(static_cast<uint16_t>(v));
        U16(static_cast<uint16_t>(v >> 16));
    }
    void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
    void F32(float v)
    {
        uint32_t bits = 0;
        std::memcpy(&bits, &v, sizeof bits);
        U32(bits);
    }
    void Bool(bool v) { U8(v ? 1 : 0); }
    void Vector(const Vector3& v)
    {
        F32(v.x);
        F32(v.y);
        F32(v.z);
    }
    void Color(const Color3& c) { Vector({c.r, c.g, c.b}); }
    void String(const std::string& text)
    {
        U16(static_cast<uint16_t>(text.size()));
        Bytes += text.substr(0, UINT16_MAX);
    }
    // Each line as a length byte and 55 character bytes.
    void Script(const std::vector<std::string>& lines)
    {
        I32(static_cast<int32_t>(lines.size()));
        for (const std::string& line : lines) {
            const std::string kept = line.substr(0, kStringTextLength);
            U8(static_cast<uint8_t>(kept.size()));
            Bytes += kept + std::string(kStringTextLength - kept.size(), '\0');
        }
    }
    template <typename List>
    void High(const List& list)
    {
        I32(HighIndex(list));
    }

    std::string Bytes;
};

void Keys(Out& out, const std::vector<ZRMKey>& keys)
{
    for (const ZRMKey& key : keys) {
        out.F32(key.Time);
        out.Vector(key.Value);
    }
}

void Header(Out& out, const Model& model)
{
    out.String(model.Name);
    out.String(model.Main.Name);
    out.Script(model.Main.Script.Lines);
    out.String(model.Main.Text);
    out.F32(model.Main.Value);
}

void Levels(Out& out, const Model& model)
{
    for (const Level& level : model.Levels) {
        out.String(level.Name);
        out.F32(level.Distance);
        out.Bool(level.Enabled);
    }
}

void Vertices(Out& out, const Model& model)
{
    for (const Level& level : model.Levels) {
        out.High(level.Vertices);
        for (const ZRMVertex& vertex : level.Vertices) {
            out.Vector(vertex.Position);
            out.U8(vertex.Joint);
        }
    }
}

void Faces(Out& out, const Model& model)
{
    for (const Level& level : model.Levels) {
        out.High(level.Faces);
        for (const ZRMFace& face : level.Faces) {
            for (size_t c = 0; c < 3; ++c) {
                out.U16(face.Vertex[c]);
                out.Vector(face.Normal[c]);
                out.F32(face.U[c]);
                out.F32(face.V[c]);
            }
        }
    }
}

void Groups(Out& out, const Model& model)
{
    out.High(model.Groups);
    for (const ZRMGroup& group : model.Groups) {
        out.String(group.Name);
        out.String(group.SecondName);
        out.U8(group.Material);
        for (const std::vector<uint16_t>& faces : group.Faces) {
            out.High(faces);
            for (uint16_t face : faces)
                out.U16(face);
        }
    }
}

void Materials(Out& out, const Model& model)
{
    out.High(model.Materials);
    for (const Material& material : model.Materials) {
        out.String(material.Name);
        out.Color(material.Ambient);
        out.Color(material.Diffuse);
        out.Color(material.Specular);
        out.F32(material.Shininess);
        out.Color(material.Emissive);
        for (uint8_t texture : material.LayerTexture)
            out.U8(texture);
        out.Script(material.Script);
    }
}

void Joints(Out& out, const Model& model)
{
    out.High(model.Joints);
    for (const ZRMJoint& joint : model.Joints) {
        out.String(joint.Name);
        out.String(joint.SecondName);
        out.I32(joint.Extra.First);
        out.Vector(joint.Extra.Second);
        out.F32(joint.Extra.Third);
        out.I32(joint.Extra.Fourth);
        out.Vector(joint.Extra.Fifth);
        out.I32(joint.Channel);
        out.U8(joint.Parent);
        out.Vector(joint.RestRotation);
        out.Vector(joint.RestPosition);
        out.U16(joint.RotationKeyCount);
        out.U16(joint.PositionKeyCount);
    }
}

void Textures(Out& out, const Model& model)
{
    out.High(model.Textures);
    for (const Texture& texture : model.Textures) {
        out.String(texture.Name);
        out.String(texture.File);
    }
}

// The engine reads one track per joint it knows: a model with fewer tracks
// than joints gets resting ones.
void Animations(Out& out, const Model& model)
{
    out.High(model.Animations);
    for (const ZRMAnimation& animation : model.Animations) {
        out.String(animation.Name);
        out.F32(animation.Rate);
        out.Bool(animation.Loop);
        out.F32(AnimationLength(animation.Tracks));
        for (size_t j = 0; j < model.Joints.size(); ++j) {
            const ZRMTrack track = j < animation.Tracks.size() ? animation.Tracks[j] : ZRMTrack{};
            out.Vector(track.RestRotation);
            out.Vector(track.RestPosition);
            out.U16(static_cast<uint16_t>(track.RotationKeys.size()));
            out.U16(static_cast<uint16_t>(track.PositionKeys.size()));
            Keys(out, track.RotationKeys);
            Keys(out, track.PositionKeys);
        }
    }
}

void Attachments(Out& out, const Model& model)
{
    out.High(model.Attachments);
    for (const ZRMAttachment& attachment : model.Attachments) {
        out.String(attachment.Name);
        out.U8(attachment.Joint);
        out.Vector(attachment.Offset);
    }
}

void Bounds(Out& out, const Model& model)
{
    out.F32(model.BoundingRadius);
    for (const Vector3& vector : model.BoundsExtra)
        out.Vector(vector);
}

void Flags(Out& out, const Model& model)
{
    out.Bool(model.UseDisplayLists);
    for (bool flag : model.FlagsExtra)
        out.Bool(flag);
}

void Info(Out& out, const Model& model) { out.Script(model.Info.Lines); }

// The writer of each chunk id, in the order a whole file holds them.
using Writer = void (*)(Out&, const Model&);
const std::pair<uint32_t, Writer> kWriters[] = {
    {kChunkHeader, Header},         {kChunkLevels, Levels},         {kChunkVertices, Vertices},
    {kChunkFaces, Faces},           {kChunkGroups, Groups},         {kChunkMaterials, Materials},
    {kChunkJoints, Joints},         {kChunkTextures, Textures},     {kChunkAnimations, Animations},
    {kChunkAttachments, Attachments}, {kChunkNone, nullptr},          {kChunkBounds, Bounds},
    {kChunkFlags, Flags},           {kChunkInfo, Info},
};

Material MaterialOf(const ZRMaterial& source)
{
    const TMaterial& m = source.Material;
    Material material;
    material.Name = source.GetName();
    material.Ambient = m.Ambient;
    material.Diffuse = m.Diffuse;
    material.Specular = m.Specular;
    material.Shininess = m.Shininess;
    material.Emissive = m.Emissive;
    material.LayerTexture = m.Textures.LayerTexture;
    material.Script = m.Script.Lines;
    return material;
}

}  // namespace

Model::Model()
{
    for (int32_t i = 0; i < kModelLevels; ++i) {
        const ZRMLOD level = DefaultLevel(i);
        Levels[static_cast<size_t>(i)] = {level.Name, level.Distance, level.Enabled, {}, {}};
    }
}

std::string Chunk(const Model& model, uint32_t id)
{
    Out out;
    out.U32(id);
    for (const auto& [chunk, write] : kWriters) {
        if (chunk == id && write)
            write(out, model);
    }
    return out.Bytes;
}

std::string Bytes(const Model& model)
{
    std::string bytes;
    for (const auto& writer : kWriters)
        bytes += Chunk(model, writer.first);
    return bytes;
}

bool Write(const std::string& nativePath, const Model& model)
{
    const std::string bytes = Bytes(model);
    std::ofstream file(nativePath, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    return file.good();
}

Model FromEngine(const ZRModel& source)
{
    const TModel& m = source.Model;
    Model model;
    model.Name = source.GetName();
    model.Main = m.Main;
    for (size_t i = 0; i < m.LODs.size(); ++i) {
        const ZRMLOD& level = m.LODs[i];
        model.Levels[i] = {level.Name, level.Distance, level.Enabled, level.Vertices, level.Faces};
    }
    model.Groups = m.Groups;
    for (const ZRMaterial* material : m.Materials)
        model.Materials.push_back(MaterialOf(*material));
    model.Joints = m.Joints;
    for (const ZRTexture* texture : m.Textures)
        model.Textures.push_back({texture->GetName(), texture->Settings.FileName});
    model.Animations = m.Animations;
    model.Attachments = m.Attachments;
    model.BoundingRadius = m.BoundingRadius;
    model.BoundsExtra = m.BoundsExtra;
    model.UseDisplayLists = m.UseDisplayLists;
    model.FlagsExtra = m.FlagsExtra;
    model.Info = m.Info;
    return model;
}

}  // namespace ztm
