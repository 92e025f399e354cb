// The material engine: turns materials into GL state and into a sequence of
// rendering passes. The base material holds the engine's defaults; every
// object drawn starts from it in the working material, into which its own
// materials and the direct setters are merged before Apply writes it to GL.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/zot_object.h"
#include "math/math_types.h"

#include "resource/resource_material.h"

class ZRTexture;

// A rendering step as the material handed it over.
struct TSPass : TMStepState {
    // The drawing that holds this pass ends with it.
    bool NewBatch = false;
};

// The texture-coordinate transform the drawing code applies on one unit.
struct TSUnitTransform {
    float OffsetX = 0.0f;
    float OffsetY = 0.0f;
    float ScaleX = 1.0f;
    float ScaleY = 1.0f;
};

class GLMaterialEngine : public ZOTObject {
public:
    static constexpr int32_t kPredefinedValues = 32;
    static constexpr int32_t kUnits = 8;

    struct TSRendering {
        std::vector<TSPass> Items;
        std::array<TSUnitTransform, kUnits> UnitTransform{};
        int32_t LastPass = -1;
        int32_t CurrentPass = -1;
        Color3 CurrentColor{1.0f, 1.0f, 1.0f};
        float CurrentDensity = 1.0f;
    };

    struct TSettings {
        bool StaticLightingOn = false;
        bool DynamicLightingOn = false;
        std::array<float, kPredefinedValues> PredefinedDensity{};
        std::array<Color3, kPredefinedValues> PredefinedColor{};
        std::array<ZRTexture*, kPredefinedValues> PredefinedTexture{};
        TSRendering Passes;
        bool SkipWhenOff = false;
        bool AcceptBlended = true;
        bool AcceptBlendedWhenOff = true;
        bool NoBlendWhenOff = true;
        bool GlobalTintUse = false;
        Color4 GlobalTint{1.0f, 1.0f, 1.0f, 1.0f};
    };

    explicit GLMaterialEngine(ZOTOwner* parent);
    ~GLMaterialEngine() override;

    void Initialize();

    void Reset();
    // Copies every group the material sets; of its effects only the pulsate
    // group travels, so the predefined effect is the working material's own.
    void Merge(const ZRMaterial* material);
    void SetMaterial(const ZRMaterial* material);
    void AddPass(const TMStepState& step);
    void Apply();
    // False when the working material must not be drawn; the engine is then reset.
    bool Accept();
    // Binds the next batch of passes and answers how many texture units it
    // uses; 0 once every pass has been drawn.
    int32_t NextPass();
    bool Finished() const;
    // Whether the working material draws with a blend mode other than opaque.
    bool Blends() const;

    void SetTexture(ZRTexture* texture);
    void SetColorBlend(int32_t mode, const Color3& color, float density);
    void SetDiffuse(const Color3& color);
    void SetColors(const Color3& ambient, const Color3& diffuse, const Color3& emissive, float shininess,
                   const Color3& specular);
    void SetUnlit();
    void SetDepthTest(bool on);
    void SetDepthWrite(bool on);
    void SetCulling(bool cull, bool backFacesOnly);
    void SetLighting(bool staticLighting, bool dynamicLighting);
    void SetGlobalTint(bool use, const Color4& colorAndAlpha);
    // Indices outside 0..31 are ignored.
    void SetPredefinedDensity(int32_t index, float value);
    void SetPredefinedColor(int32_t index, const Color3& color);
    void SetPredefinedTexture(int32_t index, ZRTexture* texture);

    void EnableMaterials();
    void DisableMaterials();

    TSettings Settings;
    ZRMaterial* BaseMaterial = nullptr;
    ZRMaterial* WorkMaterial = nullptr;
    bool MaterialsOn = true;

private:
    TMaterial& Work() const;
    void CreateMaterials();
    void SetBaseDefaults();
    void ResetPredefined();
    void ApplyBase();
    void ApplyMaterial();
    void ApplyWithoutMaterials();
    void ApplyEffects();
    void ApplyPulsate();
    void ApplyPredefined();
    void ApplyGlobalTint();
    void ApplyColors();
    void ApplyBlending();
    void ApplyFaces();
    void ApplyFog();
    void ApplyGeometry();
    void ApplyTexturing();
    void SetWorkBlendMode(int32_t mode, const Color3& color, float density);
    float PulsateFactor() const;
    void BindPass(const TSPass& pass, int32_t unit);
    void BlendPass(const TSPass& pass);
    int32_t HighestUnit() const;
};
