#include "gl/gl_model.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "core/zot_main.h"
#include "gl/gl_camera.h"
#include "gl/gl_frustum.h"
#include "gl/gl_lightingengine.h"
#include "gl/gl_main.h"
#include "gl/gl_materialengine.h"
#include "gl/gl_textureengine.h"
#include "math/zot_math.h"
#include "resource/resource_displaylist.h"
#include "resource/resource_model.h"

namespace {

// A pass asking for this many texture units or more draws nothing.
constexpr int32_t kUnusableUnits = 100;

ZOTGL& GL() { return *CurrentGL; }

const ZMMatrix& Matrices() { return *CurrentEngine->Math->Matrix; }

Vector3 Translation(const Matrix4& m) { return {m.m[3], m.m[7], m.m[11]}; }

// Rotation first, then the matrix's translation.
Vector3 TransformPoint(const Matrix4& m, const Vector3& v)
{
    Vector3 out;
    Matrices().Transform(out, m, v);
    return CurrentEngine->Math->Add(out, Translation(m));
}

// The three columns of the rotation part to unit length; a zero column stays.
void NormalizeColumns(Matrix4& m)
{
    for (int k = 0; k < 3; ++k)
        Matrices().NormalizeInPlace(m.m[k], m.m[4 + k], m.m[8 + k]);
}

void TexCoord(int32_t unit, const TSUnitTransform& t, float u, float v, bool multi)
{
    const float s = u * t.ScaleX + t.OffsetX;
    const float r = v * t.ScaleY + t.OffsetY;
    if (multi)
        GL().TextureEngine->MultiTexCoord(unit, s, r);
    else
        glTexCoord2f(s, r);
}

}  // namespace

GLModel::GLModel(ZOTOwner* parent) : ZOTObject(parent, "ZOT GL Model", "GLModel") { ResetSettings(); }

void GLModel::ResetSettings()
{
    TSettings defaults;
    defaults.Position = Settings.Position;
    defaults.Rotation = Settings.Rotation;
    defaults.ScaleFactor = Settings.ScaleFactor;
    defaults.LOD = Settings.LOD;
    defaults.GroupVisible.fill(true);
    Settings = std::move(defaults);
}

void GLModel::Setup(ZRModel* model, const Vector3& position, int32_t level, float scale, const Vector3& rotation)
{
    Model = model;
    Settings.Position = position;
    Settings.LOD = std::clamp(level, 0, kModelLevels - 1);
    Settings.ScaleFactor = scale;
    Settings.Rotation = rotation;
}

void GLModel::SetAnimation(int32_t animation, int32_t slot, float time)
{
    if (slot == -1) {
        slot = 0;
        Settings.WholeBody = true;
    }
    if (slot < 0 || slot >= kAnimationSlots)
        return;
    Settings.SlotHigh = std::max(Settings.SlotHigh, slot);
    Settings.Slots[static_cast<size_t>(slot)] = {animation, time};
}

void GLModel::SetGroupVisible(int32_t group, bool visible)
{
    if (group >= 0 && group < kVisibilityFlags)
        Settings.GroupVisible[static_cast<size_t>(group)] = visible;
}

void GLModel::SetMaterialFlags(bool enabled, bool override)
{
    Settings.Material.Enabled = enabled;
    Settings.Material.Override = override;
}

void GLModel::Draw()
{
    if (!Model || (Settings.Cull && Culled()))
        return;
    Prepare();
    if (UsesDisplayList())
        Model->Model.LODs[static_cast<size_t>(Settings.LOD)].DisplayList->Call();
    else
        DrawGroups();
    Finish();
}

bool GLModel::Culled() const
{
    const float radius = Model->BoundingRadius() * Settings.ScaleFactor;
    return !GL().Camera->Frustum->SphereVisible(Settings.Position, radius);
}

bool GLModel::UsesDisplayList() const
{
    const TSMaterial& material = Settings.Material;
    return Model->Model.UseDisplayLists && Model->Model.LODs[static_cast<size_t>(Settings.LOD)].DisplayList &&
           material.Before.empty() && material.After.empty() && Settings.SlotHigh == -1 &&
           GL().TextureEngine->Enabled && material.ModelMaterials && !material.Override;
}

void GLModel::Prepare()
{
    const TModel& model = Model->Model;
    GL().AddTriangles(static_cast<uint32_t>(model.LODs[static_cast<size_t>(Settings.LOD)].Faces.size()));
    if (Settings.CameraReload) {
        glLoadIdentity();
        GL().Camera->Apply();
    } else {
        glPushMatrix();
    }
    if (Settings.Lit)
        GL().LightingEngine->ApplyLights(Settings.StaticLighting, Settings.DynamicLighting, Settings.Position,
                                         model.HalfWidth, model.Top, model.Bottom);
    ApplyTransform();
    if (Settings.SlotHigh == -1 || !Settings.Animate)
        return;
    Pose();
    Skin();
    ++GL().SkinsThisFrame;
}

void GLModel::ApplyTransform()
{
    if (Settings.Translate)
        glTranslatef(Settings.Position.x, Settings.Position.y, Settings.Position.z);
    if (Settings.Rotate) {
        glRotatef(Settings.Rotation.y + 180.0f, 0.0f, 1.0f, 0.0f);
        glRotatef(-Settings.Rotation.x, 1.0f, 0.0f, 0.0f);
        glRotatef(-Settings.Rotation.z, 0.0f, 0.0f, 1.0f);
    }
    if (Settings.UseMatrix) {
        NormalizeColumns(Settings.Matrix);
        glRotatef(180.0f, 0.0f, 1.0f, 0.0f);
        glMultMatrixf(Settings.Matrix.m);
    }
    if (Settings.Scale) {
        GL().SetMode(ZOTGL::kModeNormalize, 1);
        const float s = Settings.ScaleFactor;
        glScalef(s, s, s);
        Settings.ScaleFactor = 1.0f;
    }
}

void GLModel::Pose()
{
    for (int32_t k = 0; k <= Settings.SlotHigh; ++k) {
        const TSAnimationSlot& slot = Settings.Slots[static_cast<size_t>(k)];
        if (slot.Animation >= 0)
            Model->EvaluatePose(slot.Animation, k == 0 && Settings.WholeBody, k, slot.Time);
    }
}

// Vertices and corners bound to no joint, or read from a model without
// bind-space copies, keep their model-space values; so do the corners of
// faces the loading checks found naming no vertex.
void GLModel::Skin()
{
    const TModel& model = Model->Model;
    const ZRMLOD& level = model.LODs[static_cast<size_t>(Settings.LOD)];
    const bool bindSpace = level.Bind.Positions.size() == level.Vertices.size() &&
                           level.Bind.Normals.size() == level.Faces.size();
    const auto jointOf = [&](size_t vertex) -> const ZRMJointMatrices* {
        if (!bindSpace || vertex >= level.Vertices.size())
            return nullptr;
        const uint8_t joint = level.Vertices[vertex].Joint;
        return joint != kNoJoint && joint < model.JointMatrices.size() ? &model.JointMatrices[joint] : nullptr;
    };
    SkinnedPositions.resize(level.Vertices.size());
    for (size_t i = 0; i < level.Vertices.size(); ++i) {
        const ZRMJointMatrices* joint = jointOf(i);
        SkinnedPositions[i] =
            joint ? TransformPoint(joint->AbsoluteAnimated, level.Bind.Positions[i]) : level.Vertices[i].Position;
    }
    SkinnedNormals.resize(level.Faces.size());
    for (size_t f = 0; f < level.Faces.size(); ++f) {
        for (size_t c = 0; c < 3; ++c) {
            const ZRMJointMatrices* joint = jointOf(level.Faces[f].Vertex[c]);
            if (joint)
                Matrices().Transform(SkinnedNormals[f][c], joint->AbsoluteRotation, level.Bind.Normals[f][c]);
            else
                SkinnedNormals[f][c] = level.Faces[f].Normal[c];
        }
    }
}

void GLModel::Finish()
{
    if (Settings.Scale)
        GL().SetMode(ZOTGL::kModeNormalize, 0);
    if (!Settings.CameraReload)
        glPopMatrix();
}

void GLModel::DrawGroups()
{
    if (!Model)
        return;
    for (int32_t g = 0; g <= HighIndex(Model->Model.Groups); ++g)
        DrawGroup(g);
}

void GLModel::DrawGroup(int32_t index)
{
    if (index < kVisibilityFlags && !Settings.GroupVisible[static_cast<size_t>(index)])
        return;
    const ZRMGroup& group = Model->Model.Groups[static_cast<size_t>(index)];
    GLMaterialEngine& materials = *GL().MaterialEngine;
    const bool override = Settings.Material.Override;
    if (Settings.Material.Enabled && !override)
        SelectMaterial(group);
    if (!override)
        materials.Apply();
    if (!materials.Accept() && !override)
        return;
    const bool animated = Settings.SlotHigh != -1;
    do {
        const int32_t units = override ? GL().TextureEngine->MaxUnit + 1 : materials.NextPass();
        DrawFaces(group, units, animated);
    } while (!override && !materials.Finished());
}

void GLModel::SelectMaterial(const ZRMGroup& group)
{
    GLMaterialEngine& materials = *GL().MaterialEngine;
    const TSMaterial& settings = Settings.Material;
    materials.Reset();
    for (const ZRMaterial* material : settings.Before)
        materials.SetMaterial(material);
    materials.SetLighting(Settings.StaticLighting, Settings.DynamicLighting);
    const std::vector<ZRMaterial*>& own = Model->Model.Materials;
    if (settings.ModelMaterials && group.Material < own.size())
        materials.SetMaterial(own[group.Material]);
    for (const ZRMaterial* material : settings.After)
        materials.SetMaterial(material);
}

// The loading checks leave groups only faces whose corners all exist, and
// the skinned lists are used only while they match the level.
void GLModel::DrawFaces(const ZRMGroup& group, int32_t units, bool animated)
{
    if (units >= kUnusableUnits)
        return;
    const ZRMLOD& level = Model->Model.LODs[static_cast<size_t>(Settings.LOD)];
    const bool skinned = animated && SkinnedPositions.size() == level.Vertices.size() &&
                         SkinnedNormals.size() == level.Faces.size();
    const auto& transforms = GL().MaterialEngine->Settings.Passes.UnitTransform;
    const int32_t coordinateSets = std::clamp(units, 1, static_cast<int32_t>(transforms.size()));
    glBegin(GL_TRIANGLES);
    for (const uint16_t faceIndex : group.Faces[static_cast<size_t>(Settings.LOD)]) {
        const ZRMFace& face = level.Faces[faceIndex];
        for (size_t c = 0; c < 3; ++c) {
            const Vector3& normal = skinned ? SkinnedNormals[faceIndex][c] : face.Normal[c];
            glNormal3f(normal.x, normal.y, normal.z);
            for (int32_t unit = 0; unit < coordinateSets; ++unit)
                TexCoord(unit, transforms[static_cast<size_t>(unit)], face.U[c], face.V[c], units >= 2);
            const uint16_t vertex = face.Vertex[c];
            const Vector3& position = skinned ? SkinnedPositions[vertex] : level.Vertices[vertex].Position;
            glVertex3f(position.x, position.y, position.z);
        }
    }
    glEnd();
}
