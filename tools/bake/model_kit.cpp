#include "model_kit.h"

#include <algorithm>
#include <cmath>

namespace bake {

namespace {

constexpr int kBallSteps = 8;
constexpr float kHighlight = 0.5f;
constexpr float kMattShininess = 8.0f;
constexpr float kGlossShininess = 64.0f;
const std::string kTexturedScript = "SET_RENDERING STEP0 TEX0 OPAQUE";

}  // namespace

ztm::Material Painted(const std::string& name, const Color3& colour, float shine)
{
    ztm::Material material;
    material.Name = name;
    material.Ambient = colour;
    material.Diffuse = colour;
    material.Specular = {kHighlight * shine, kHighlight * shine, kHighlight * shine};
    material.Shininess = kMattShininess + (kGlossShininess - kMattShininess) * shine;
    return material;
}

ztm::Material Textured(const std::string& name, uint8_t texture, const Color3& tint, float shine)
{
    ztm::Material material = Painted(name, tint, shine);
    material.LayerTexture[0] = texture;
    material.Script = {kTexturedScript};
    return material;
}

Outline BallProfile(float radius)
{
    Outline profile;
    for (int i = 0; i <= kBallSteps; ++i) {
        const float angle = 3.14159265f * i / kBallSteps;
        const float out = i % kBallSteps == 0 ? 0.0f : radius * std::sin(angle);
        profile.push_back({out, radius * (1.0f - std::cos(angle))});
    }
    return profile;
}

void CentreOnOrigin(Mesh& mesh)
{
    if (mesh.Vertices.empty())
        return;
    Vector3 low = mesh.Vertices[0].Position, high = low;
    for (const MeshVertex& vertex : mesh.Vertices) {
        low = {std::min(low.x, vertex.Position.x), low.y, std::min(low.z, vertex.Position.z)};
        high = {std::max(high.x, vertex.Position.x), high.y, std::max(high.z, vertex.Position.z)};
    }
    const Vector3 shift{-0.5f * (low.x + high.x), 0.0f, -0.5f * (low.z + high.z)};
    for (MeshVertex& vertex : mesh.Vertices)
        vertex.Position = vertex.Position + shift;
}

ModelFile Finished(const std::string& file, const std::string& name, const Mesh& mesh,
                   const std::vector<ztm::Material>& materials, const std::vector<ztm::Texture>& textures)
{
    ModelFile model{"models\\" + file, {}};
    model.Model.Name = name;
    mesh.ToModel(model.Model);
    for (size_t g = 0; g < model.Model.Groups.size() && g < materials.size(); ++g) {
        model.Model.Groups[g].Name = materials[g].Name;
        model.Model.Groups[g].Material = static_cast<uint8_t>(g);
    }
    model.Model.Materials = materials;
    model.Model.Textures = textures;
    model.Model.BoundingRadius = mesh.Radius();
    return model;
}

}  // namespace bake
