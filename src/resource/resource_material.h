// How a surface is drawn: colours, blending, depth, culling, lighting, fog and
// geometry options, texture layers with animated coordinate effects, an
// ordered list of rendering steps and two colour effects. Filled from a
// material script, either its own file or the script stored in a model file.
#pragma once

#include <array>
#include <cstdint>
#include <string>
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

struct TMTextureLayer {
    ZRTexture* Texture = nullptr;
    float ScaleX = 1.0f;
    float ScaleY = 1.0f;
    bool EffectsOn = false;
    bool EnvironmentOn = false;
    int32_t EnvironmentType = 0;
    int32_t EnvironmentSource = 0;
    bool RollOn = false;
    float RollOffsetX = 0.0f;
    float RollOffsetY = 0.0f;
    float RollSpeedX = 1.0f;
    float RollSpeedY = 1.0f;
    bool AnimationOn = false;
    int32_t AnimationType = 0;
    float AnimationSpeed = 10.0f;
    float PatternSizeX = 0.25f;
    float PatternSizeY = 0.25f;
    float AnimationOffsetX = 0.0f;
    float AnimationOffsetY = 0.0f;
    int32_t AnimationOffset = 0;
    int32_t AnimationCount = 16;
};

struct TMTextures {
    std::vector<TMTextureLayer> Layers;
    int32_t LastLayer = -1;
    std::array<uint8_t, kDefaultLayers> LayerTexture{kNoLayer, kNoLayer, kNoLayer, kNoLayer};
};

struct TMRenderStep {
    uint8_t Layer = kNoLayer;
    int32_t Style = 0;
    Color3 Color{1.0f, 1.0f, 1.0f};
    float Density = 1.0f;
    bool ColorOn = false;
    bool DensityOn = false;
};

struct TMRendering {
    std::vector<TMRenderStep> Steps;
    int32_t LastStep = -1;
};

// The defaults are those a material has after a reset.
struct TMaterial {
    TMTextures Textures;
    bool ColorUse = true;
    Color3 Ambient{0.0f, 0.0f, 0.0f};
    Color3 Diffuse{1.0f, 1.0f, 1.0f};
    Color3 Specular{0.0f, 0.0f, 0.0f};
    float Shininess = 1.0f;
    Color3 Emissive{0.0f, 0.0f, 0.0f};
    bool NoMaterialColors = false;
    int32_t TintUse = 0;
    Color3 Tint{1.0f, 1.0f, 1.0f};
    bool BlendUse = false;
    int32_t BlendMode = 0;
    float BlendDensity = 1.0f;
    bool DepthUse = false;
    bool DepthTest = true;
    bool DepthWrite = true;
    bool CullUse = false;
    bool CullFace = true;
    bool BackFacesOnly = false;
    bool LightingUse = false;
    bool StaticLighting = true;
    bool DynamicLighting = true;
    bool FogUse = false;
    int32_t FogType = 0;
    Color3 FogColor{1.0f, 1.0f, 1.0f};
    float FogDensity = 0.05f;
    float FogNear = 10.0f;
    float FogFar = 20.0f;
    bool GeometryUse = false;
    int32_t GeometryType = 0;
    bool FlatShade = false;
    float PointSize = 1.0f;
    float LineWidth = 1.0f;
    bool Smooth = false;
    TMRendering Rendering;
    bool PulsateUse = false;
    int32_t PulsateMode = 0;
    Color3 PulsateColor{0.0f, 0.0f, 0.0f};
    float PulsateDensity = 1.0f;
    float PulsateSpeed = 1.0f;
    float PulsateOffset = 0.0f;
    bool PredefinedUse = false;
    int32_t PredefinedDensity = -1;
    int32_t PredefinedColor = -1;
    std::array<int32_t, kPredefinedSteps> PredefinedStep{-1, -1, -1, -1};
    bool EffectsUse = false;
    ZTScript Script;
};

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

// Copies the colour group, the one group a reset leaves alone.
void CopyColorGroup(const TMaterial& from, TMaterial& to);

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
