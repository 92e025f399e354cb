// How a surface is drawn: colours, blending, depth, culling, lighting, fog and
// geometry options, texture layers with animated coordinate effects, an
// ordered list of rendering steps and two colour effects. Filled from a
// material script, either its own file or the script stored in a model file.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "core/zot_constant.h"
#include "math/math_types.h"
#include "resource/resource_main.h"

class ZRTexture;
class ZOTFile;

// The layer index a step or a model texture slot holds when it names no layer.
constexpr uint8_t kNoLayer = 255;
// Layers 0..3 exist in every material.
constexpr int32_t kDefaultLayers = 4;
constexpr int32_t kPredefinedSteps = 4;

// The kinds a material stores as numbers; blend modes are the GL module's.
enum TMFogType : int32_t { kFogNone = 0, kFogLinear = 1, kFogExp = 2, kFogExp2 = 3 };
enum TMGeometryType : int32_t { kGeometryFilled = 0, kGeometryWireframe = 1, kGeometryPoints = 2 };
enum TMPulsateMode : int32_t {
    kPulsateNone = 0,
    kPulsateSine = 1,
    kPulsateTriangle = 2,
    kPulsateAbsoluteSine = 3,
    kPulsateFlash = 4,
};
enum TMAnimationType : int32_t { kAnimationNone = 0, kAnimationPattern = 1, kAnimationTextures = 2 };
enum TMTimerSource : int32_t { kTimerFrame = 0, kTimerOwn = 1 };

using TMPredefinedSteps = std::array<int32_t, kPredefinedSteps>;
constexpr TMPredefinedSteps kNoPredefinedSteps{-1, -1, -1, -1};

// The field lists of the material records, each entry X(type, name, default).
// The records, the group copies, the group setters and the rows tamsel-inspect
// prints are all generated from them, so a field is added in one place. A
// group's list starts with its use flag and follows the order in which its
// setter takes the values.
#define ZOT_MATERIAL_COLOR_GROUP(X)  \
    X(bool, ColorUse, true)          \
    X(Color3, Ambient, kBlack)       \
    X(bool, NoMaterialColors, false) \
    X(Color3, Emissive, kBlack)      \
    X(float, Shininess, 1.0f)        \
    X(Color3, Specular, kBlack)      \
    X(Color3, Diffuse, kWhite)
#define ZOT_MATERIAL_TINT_GROUP(X) \
    X(int32_t, TintUse, 0)         \
    X(Color3, Tint, kWhite)
#define ZOT_MATERIAL_BLEND_GROUP(X) \
    X(bool, BlendUse, false)        \
    X(int32_t, BlendMode, 0)        \
    X(float, BlendDensity, 1.0f)
#define ZOT_MATERIAL_DEPTH_GROUP(X) \
    X(bool, DepthUse, false)        \
    X(bool, DepthTest, true)        \
    X(bool, DepthWrite, true)
#define ZOT_MATERIAL_CULL_GROUP(X) \
    X(bool, CullUse, false)        \
    X(bool, CullFace, true)        \
    X(bool, BackFacesOnly, false)
#define ZOT_MATERIAL_LIGHTING_GROUP(X) \
    X(bool, LightingUse, false)        \
    X(bool, StaticLighting, true)      \
    X(bool, DynamicLighting, true)
#define ZOT_MATERIAL_FOG_GROUP(X) \
    X(bool, FogUse, false)        \
    X(int32_t, FogType, kFogNone) \
    X(float, FogFar, 20.0f)       \
    X(float, FogNear, 10.0f)      \
    X(float, FogDensity, 0.05f)   \
    X(Color3, FogColor, kWhite)
#define ZOT_MATERIAL_GEOMETRY_GROUP(X)        \
    X(bool, GeometryUse, false)               \
    X(int32_t, GeometryType, kGeometryFilled) \
    X(bool, Smooth, false)                    \
    X(float, LineWidth, 1.0f)                 \
    X(float, PointSize, 1.0f)                 \
    X(bool, FlatShade, false)
#define ZOT_MATERIAL_PULSATE_GROUP(X)     \
    X(bool, PulsateUse, false)            \
    X(int32_t, PulsateMode, kPulsateNone) \
    X(float, PulsateOffset, 0.0f)         \
    X(float, PulsateSpeed, 1.0f)          \
    X(float, PulsateDensity, 1.0f)        \
    X(Color3, PulsateColor, kBlack)
#define ZOT_MATERIAL_PREDEFINED_GROUP(X)                     \
    X(bool, PredefinedUse, false)                            \
    X(int32_t, PredefinedDensity, -1)                        \
    X(TMPredefinedSteps, PredefinedStep, kNoPredefinedSteps) \
    X(int32_t, PredefinedColor, -1)
// Set whenever the pulsate or the predefined effect is.
#define ZOT_MATERIAL_EFFECTS_GROUP(X) X(bool, EffectsUse, false)

#define ZOT_MATERIAL_FIELDS(X)       \
    ZOT_MATERIAL_COLOR_GROUP(X)      \
    ZOT_MATERIAL_TINT_GROUP(X)       \
    ZOT_MATERIAL_BLEND_GROUP(X)      \
    ZOT_MATERIAL_DEPTH_GROUP(X)      \
    ZOT_MATERIAL_CULL_GROUP(X)       \
    ZOT_MATERIAL_LIGHTING_GROUP(X)   \
    ZOT_MATERIAL_FOG_GROUP(X)        \
    ZOT_MATERIAL_GEOMETRY_GROUP(X)   \
    ZOT_MATERIAL_PULSATE_GROUP(X)    \
    ZOT_MATERIAL_PREDEFINED_GROUP(X) \
    ZOT_MATERIAL_EFFECTS_GROUP(X)

#define ZOT_MATERIAL_LAYER_FIELDS(X)          \
    X(ZRTexture*, Texture, nullptr)           \
    X(float, ScaleX, 1.0f)                    \
    X(float, ScaleY, 1.0f)                    \
    X(bool, EffectsOn, false)                 \
    X(bool, EnvironmentOn, false)             \
    X(int32_t, EnvironmentType, 0)            \
    X(int32_t, EnvironmentSource, 0)          \
    X(bool, RollOn, false)                    \
    X(float, RollOffsetX, 0.0f)               \
    X(float, RollOffsetY, 0.0f)               \
    X(float, RollSpeedX, 1.0f)                \
    X(float, RollSpeedY, 1.0f)                \
    X(bool, AnimationOn, false)               \
    X(int32_t, AnimationType, kAnimationNone) \
    X(float, AnimationSpeed, 10.0f)           \
    X(float, PatternSizeX, 0.25f)             \
    X(float, PatternSizeY, 0.25f)             \
    X(float, AnimationOffsetX, 0.0f)          \
    X(float, AnimationOffsetY, 0.0f)          \
    X(int32_t, AnimationOffset, 0)            \
    X(int32_t, AnimationCount, 16)

#define ZOT_MATERIAL_STEP_FIELDS(X) \
    X(uint8_t, Layer, kNoLayer)     \
    X(int32_t, Style, 0)            \
    X(Color3, Color, kWhite)        \
    X(float, Density, 1.0f)         \
    X(bool, ColorOn, false)         \
    X(bool, DensityOn, false)

#define ZOT_MATERIAL_DECLARE_FIELD(Type, Name, Default) Type Name = Default;

struct TMTextureLayer {
    ZOT_MATERIAL_LAYER_FIELDS(ZOT_MATERIAL_DECLARE_FIELD)
};

struct TMTextures {
    std::vector<TMTextureLayer> Layers;
    int32_t LastLayer = -1;
    std::array<uint8_t, kDefaultLayers> LayerTexture{kNoLayer, kNoLayer, kNoLayer, kNoLayer};
};

struct TMRenderStep {
    ZOT_MATERIAL_STEP_FIELDS(ZOT_MATERIAL_DECLARE_FIELD)
};

struct TMRendering {
    std::vector<TMRenderStep> Steps;
    int32_t LastStep = -1;
};

// The defaults are those a material has after a reset.
struct TMaterial {
    TMTextures Textures;
    ZOT_MATERIAL_FIELDS(ZOT_MATERIAL_DECLARE_FIELD)
    TMRendering Rendering;
    ZTScript Script;
};

#undef ZOT_MATERIAL_DECLARE_FIELD

// Each group as a tuple of pointers to its members, for code that handles a
// group as a whole; the first member is the group's use flag.
#define ZOT_MATERIAL_MEMBER(Type, Name, Default) &TMaterial::Name,
inline constexpr std::tuple kColorGroup{ZOT_MATERIAL_COLOR_GROUP(ZOT_MATERIAL_MEMBER)};
inline constexpr std::tuple kTintGroup{ZOT_MATERIAL_TINT_GROUP(ZOT_MATERIAL_MEMBER)};
inline constexpr std::tuple kBlendGroup{ZOT_MATERIAL_BLEND_GROUP(ZOT_MATERIAL_MEMBER)};
inline constexpr std::tuple kDepthGroup{ZOT_MATERIAL_DEPTH_GROUP(ZOT_MATERIAL_MEMBER)};
inline constexpr std::tuple kCullGroup{ZOT_MATERIAL_CULL_GROUP(ZOT_MATERIAL_MEMBER)};
inline constexpr std::tuple kLightingGroup{ZOT_MATERIAL_LIGHTING_GROUP(ZOT_MATERIAL_MEMBER)};
inline constexpr std::tuple kFogGroup{ZOT_MATERIAL_FOG_GROUP(ZOT_MATERIAL_MEMBER)};
inline constexpr std::tuple kGeometryGroup{ZOT_MATERIAL_GEOMETRY_GROUP(ZOT_MATERIAL_MEMBER)};
inline constexpr std::tuple kPulsateGroup{ZOT_MATERIAL_PULSATE_GROUP(ZOT_MATERIAL_MEMBER)};
inline constexpr std::tuple kPredefinedGroup{ZOT_MATERIAL_PREDEFINED_GROUP(ZOT_MATERIAL_MEMBER)};
inline constexpr std::tuple kEffectsGroup{ZOT_MATERIAL_EFFECTS_GROUP(ZOT_MATERIAL_MEMBER)};
#undef ZOT_MATERIAL_MEMBER

template <typename Group>
bool GroupInUse(const Group& group, const TMaterial& material)
{
    return material.*std::get<0>(group) != 0;
}

template <typename Group>
void CopyGroup(const Group& group, const TMaterial& from, TMaterial& to)
{
    std::apply([&](auto... member) { ((to.*member = from.*member), ...); }, group);
}

// Stores the values into the group's members, in the order of its list.
template <typename Group, typename... Values>
void StoreGroup(const Group& group, TMaterial& to, const Values&... values)
{
    static_assert(sizeof...(Values) == std::tuple_size_v<Group>, "one value for every member of the group");
    std::apply([&](auto... member) { ((to.*member = values), ...); }, group);
}

// What GetStep hands the material engine for one rendering step.
struct TMStepState {
    ZRTexture* Texture = nullptr;
    bool DensityOn = false;
    bool ColorOn = false;
    float Density = 1.0f;
    Color3 Color{1.0f, 1.0f, 1.0f};
    float ScaleX = 1.0f;
    float ScaleY = 1.0f;
    float OffsetX = 0.0f;
    float OffsetY = 0.0f;
    int32_t Style = 0;
};

class ZRMaterial : public ZOTResource {
public:
    explicit ZRMaterial(ZOTOwner* owner = nullptr);
    ~ZRMaterial() override;

    void LoadFromFile(const std::string& fileName) override;
    void Unload() override;
    // Reads a material stored in a model file; I/O failures travel to the caller as ZOTIOError.
    void ReadFromModel(ZOTFile& file);
    void AssignModelTextures(const std::vector<ZRTexture*>& textures);

    void SetTimer(int32_t source, float value);
    float GetTime() const;

    void SetColor(bool use, const Color3& ambient, bool noMaterialColors, const Color3& emissive, float shininess,
                  const Color3& specular, const Color3& diffuse);
    void SetTint(int32_t use, const Color3& color);
    void SetBlending(bool use, int32_t mode, float density);
    void SetDepth(bool use, bool test, bool write);
    void SetCulling(bool use, bool cull, bool backFacesOnly);
    void SetLighting(bool use, bool staticLighting, bool dynamicLighting);
    void SetFog(bool use, int32_t type, float farPlane, float nearPlane, float density, const Color3& color);
    void SetGeometry(bool use, int32_t type, bool smooth, float lineWidth, float pointSize, bool flatShade);
    void SetPulsate(bool use, int32_t mode, float offset, float speed, float density, const Color3& color);
    void SetPredefined(bool use, int32_t densityIndex, int32_t stepIndex, int32_t colorIndex);

    // The texture, colours and coordinate transform of rendering step index
    // at the current time; a step index outside the steps gives the defaults.
    TMStepState GetStep(int32_t index) const;

    // Resets every group but the colour group, frees the owned textures,
    // recreates the four default layers, parses Script and drops step layers
    // beyond the last layer.
    void ParseScript();

    // Layer index when it is one of the layers 0..LastLayer, otherwise none.
    TMTextureLayer* LayerAt(int64_t index);
    const TMTextureLayer* LayerAt(int64_t index) const;
    // Empties the layer's texture slot and frees the texture if this material
    // owns it (is its parent); model textures are only let go.
    void ReleaseTexture(TMTextureLayer& layer);

    TMaterial Material;
    int32_t TimerSource = 0;
    float TimerValue = 0.0f;

private:
    void ResetGroups();
    void ReleaseLayers();
    void CreateDefaultLayers();
    void RunParser();
    void DropMissingStepLayers();
    bool ReadScriptFile(const std::string& path);
    const TMRenderStep* StepAt(int32_t index) const;
    void ApplyLayer(uint8_t layerIndex, TMStepState& state) const;
    void ApplyEffects(const TMTextureLayer& layer, uint8_t layerIndex, TMStepState& state) const;
    void ApplyTextureAnimation(uint8_t layerIndex, int64_t frame, TMStepState& state) const;
};
