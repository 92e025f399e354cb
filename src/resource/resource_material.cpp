#include "resource/resource_material.h"

#include <cmath>
#include <optional>
#include <utility>

#include "core/file_file.h"
#include "core/zot_file.h"
#include "core/zot_main.h"
#include "core/zot_script.h"
#include "core/zot_timer.h"
#include "resource/material_parser.h"
#include "resource/resource_texture.h"

namespace {

constexpr const char* kDefaultName = "RESOURCE MATERIAL";
constexpr const char* kErrorSource = "ZR_MATERIAL";
constexpr const char* kScriptExtension = "txt";

// Frames are counted in 64 bits; a rounded time beyond that has no frame.
constexpr double kFrameLimit = 9.2e18;
// Frames lie within plus or minus a 32-bit count, so more columns than that
// all give the same offsets.
constexpr double kColumnLimit = 4294967296.0;

float FrameTimerTime()
{
    if (!CurrentEngine || !CurrentEngine->Timer)
        return 0.0f;
    return CurrentEngine->Timer->GetElapsedTime();
}

// round(t * speed + first frame) modulo count, remainder with the sign of the
// dividend; none when the layer has no frames or the time is out of reach.
std::optional<int64_t> AnimationFrame(const TMTextureLayer& layer, float t)
{
    if (layer.AnimationCount <= 0)
        return std::nullopt;
    const float position = t * layer.AnimationSpeed + static_cast<float>(layer.AnimationOffset);
    const double rounded = std::nearbyint(position);
    if (!(std::fabs(rounded) < kFrameLimit))
        return std::nullopt;
    return static_cast<int64_t>(rounded) % layer.AnimationCount;
}

// A pattern size of 0, below 0 or so large that no column fits has no frame grid.
void ApplyPattern(const TMTextureLayer& layer, int64_t frame, TMStepState& state)
{
    if (!(layer.PatternSizeX > 0.0f))
        return;
    const double columns = std::nearbyint(1.0f / layer.PatternSizeX);
    if (!(columns >= 1.0))
        return;
    const int64_t count = static_cast<int64_t>(std::fmin(columns, kColumnLimit));
    state.OffsetX = static_cast<float>(frame % count) * layer.PatternSizeX + state.OffsetX + layer.AnimationOffsetX;
    state.OffsetY = state.OffsetY - static_cast<float>(frame / count) * layer.PatternSizeY + layer.AnimationOffsetY;
}

ZRTexture* ModelTexture(const std::vector<ZRTexture*>& textures, uint8_t slot)
{
    if (slot == kNoLayer || slot >= textures.size())
        return nullptr;
    return textures[slot];
}

}  // namespace

ZRMaterial::ZRMaterial(ZOTOwner* owner) : ZOTResource(owner, kDefaultName, "ZRMaterial")
{
    ParseScript();
    Settings.Tag = 0;
    if (owner)
        SetParent(owner);
    Reset();
}

ZRMaterial::~ZRMaterial() { ZRMaterial::Unload(); }

void ZRMaterial::LoadFromFile(const std::string& fileName)
{
    Unload();
    NameAfterFile(fileName, kDefaultName, false);
    if (!CurrentEngine || !CurrentEngine->FileSystem)
        return;
    const std::string path = CurrentEngine->FileSystem->MakePath(fileName, kScriptExtension);
    if (!CurrentEngine->FileSystem->Exists(path, true) || !ReadScriptFile(path))
        return;
    ParseScript();
    Empty = false;
}

// An unreadable file is reported like any other failed load instead of
// unwinding through the caller, which expects only a report.
bool ZRMaterial::ReadScriptFile(const std::string& path)
{
    try {
        ZOTFile reader(nullptr);
        reader.LoadLines(path, Material.Script);
        return true;
    } catch (const ZOTIOError& error) {
        ZOTScript::ClearLines(Material.Script);
        CurrentEngine->Error(kErrorSource, error.what());
        return false;
    }
}

void ZRMaterial::ReadFromModel(ZOTFile& file)
{
    SetName(file.ReadName());
    Material.Ambient = file.ReadColor();
    Material.Diffuse = file.ReadColor();
    Material.Specular = file.ReadColor();
    Material.Shininess = file.ReadSingle();
    Material.Emissive = file.ReadColor();
    for (uint8_t& slot : Material.Textures.LayerTexture)
        slot = file.ReadByte();
    file.ReadLineList(Material.Script);
    ParseScript();
    Empty = false;
}

void ZRMaterial::AssignModelTextures(const std::vector<ZRTexture*>& textures)
{
    for (int32_t i = 0; i < kDefaultLayers; ++i) {
        TMTextureLayer* layer = LayerAt(i);
        if (!layer)
            continue;
        ReleaseTexture(*layer);
        layer->Texture = ModelTexture(textures, Material.Textures.LayerTexture[static_cast<std::size_t>(i)]);
    }
}

void ZRMaterial::Unload()
{
    ZOTResource::Unload();
    ReleaseLayers();
    Material.Textures.Layers.shrink_to_fit();
    Material.Rendering = TMRendering{};
    ZOTScript::ClearLines(Material.Script);
}

void ZRMaterial::ParseScript()
{
    ResetGroups();
    ReleaseLayers();
    CreateDefaultLayers();
    RunParser();
    DropMissingStepLayers();
}

// Everything but the layers, the script and the colour group, which a model
// file sets before its script is parsed, goes back to the defaults.
void ZRMaterial::ResetGroups()
{
    TMaterial defaults;
    defaults.Textures = std::move(Material.Textures);
    defaults.Script = std::move(Material.Script);
    CopyGroup(kColorGroup, Material, defaults);
    Material = std::move(defaults);
}

void ZRMaterial::ReleaseLayers()
{
    for (TMTextureLayer& layer : Material.Textures.Layers)
        ReleaseTexture(layer);
    Material.Textures.Layers.clear();
    Material.Textures.LastLayer = -1;
}

void ZRMaterial::CreateDefaultLayers()
{
    Material.Textures.Layers.assign(kDefaultLayers, TMTextureLayer{});
    Material.Textures.LastLayer = kDefaultLayers - 1;
}

void ZRMaterial::RunParser()
{
    ZRMaterialParser parser(this);
    parser.SetMaterial(this);
    parser.Parse();
}

// Steps may name layers that a later import would have created; those that
// never were name no layer.
void ZRMaterial::DropMissingStepLayers()
{
    for (TMRenderStep& step : Material.Rendering.Steps) {
        if (step.Layer != kNoLayer && step.Layer > Material.Textures.LastLayer)
            step.Layer = kNoLayer;
    }
}

// Ownership is asked of the children list, not of the texture: a model
// texture may already be gone, and its pointer must not be followed.
void ZRMaterial::ReleaseTexture(TMTextureLayer& layer)
{
    ZRTexture* texture = layer.Texture;
    layer.Texture = nullptr;
    if (texture && HasChild(texture))
        delete texture;
}

const TMTextureLayer* ZRMaterial::LayerAt(int64_t index) const
{
    const TMTextures& textures = Material.Textures;
    if (index < 0 || index > textures.LastLayer || index >= static_cast<int64_t>(textures.Layers.size()))
        return nullptr;
    return &textures.Layers[static_cast<std::size_t>(index)];
}

TMTextureLayer* ZRMaterial::LayerAt(int64_t index)
{
    return const_cast<TMTextureLayer*>(std::as_const(*this).LayerAt(index));
}

const TMRenderStep* ZRMaterial::StepAt(int32_t index) const
{
    const TMRendering& rendering = Material.Rendering;
    if (index < 0 || index > rendering.LastStep || index >= static_cast<int32_t>(rendering.Steps.size()))
        return nullptr;
    return &rendering.Steps[static_cast<std::size_t>(index)];
}

void ZRMaterial::SetTimer(int32_t source, float value)
{
    TimerSource = source;
    TimerValue = value;
}

float ZRMaterial::GetTime() const
{
    if (TimerSource == kTimerFrame)
        return FrameTimerTime();
    if (TimerSource == kTimerOwn)
        return TimerValue;
    ReportError(kErrorSource, "Undefined material timer source!");
    return -1.0f;
}

TMStepState ZRMaterial::GetStep(int32_t index) const
{
    TMStepState state;
    const TMRenderStep* step = StepAt(index);
    if (!step)
        return state;
    if (step->Layer != kNoLayer)
        ApplyLayer(step->Layer, state);
    state.Style = step->Style;
    state.Color = step->Color;
    state.Density = step->Density;
    state.ColorOn = step->ColorOn;
    state.DensityOn = step->DensityOn;
    return state;
}

void ZRMaterial::ApplyLayer(uint8_t layerIndex, TMStepState& state) const
{
    const TMTextureLayer* layer = LayerAt(layerIndex);
    if (!layer || !layer->Texture)
        return;
    state.Texture = layer->Texture;
    state.ScaleX = layer->ScaleX;
    state.ScaleY = layer->ScaleY;
    state.Texture->SetSource(ZRTexture::kGenNone, ZRTexture::kSourceOwn);
    if (layer->EffectsOn)
        ApplyEffects(*layer, layerIndex, state);
}

void ZRMaterial::ApplyEffects(const TMTextureLayer& layer, uint8_t layerIndex, TMStepState& state) const
{
    const float t = GetTime();
    if (layer.EnvironmentOn)
        state.Texture->SetSource(layer.EnvironmentType, layer.EnvironmentSource);
    if (layer.RollOn) {
        state.OffsetX = state.OffsetX + layer.RollOffsetX + t * layer.RollSpeedX;
        state.OffsetY = state.OffsetY + layer.RollOffsetY + t * layer.RollSpeedY;
    }
    if (!layer.AnimationOn)
        return;
    const std::optional<int64_t> frame = AnimationFrame(layer, t);
    if (!frame)
        return;
    if (layer.AnimationType == kAnimationPattern)
        ApplyPattern(layer, *frame, state);
    else if (layer.AnimationType == kAnimationTextures)
        ApplyTextureAnimation(layerIndex, *frame, state);
}

void ZRMaterial::ApplyTextureAnimation(uint8_t layerIndex, int64_t frame, TMStepState& state) const
{
    if (const TMTextureLayer* shown = LayerAt(layerIndex + frame))
        state.Texture = shown->Texture;
}

void ZRMaterial::SetColor(bool use, const Color3& ambient, bool noMaterialColors, const Color3& emissive,
                          float shininess, const Color3& specular, const Color3& diffuse)
{
    StoreGroup(kColorGroup, Material, use, ambient, noMaterialColors, emissive, shininess, specular, diffuse);
}

void ZRMaterial::SetTint(int32_t use, const Color3& color) { StoreGroup(kTintGroup, Material, use, color); }

void ZRMaterial::SetBlending(bool use, int32_t mode, float density)
{
    StoreGroup(kBlendGroup, Material, use, mode, density);
}

void ZRMaterial::SetDepth(bool use, bool test, bool write) { StoreGroup(kDepthGroup, Material, use, test, write); }

void ZRMaterial::SetCulling(bool use, bool cull, bool backFacesOnly)
{
    StoreGroup(kCullGroup, Material, use, cull, backFacesOnly);
}

void ZRMaterial::SetLighting(bool use, bool staticLighting, bool dynamicLighting)
{
    StoreGroup(kLightingGroup, Material, use, staticLighting, dynamicLighting);
}

void ZRMaterial::SetFog(bool use, int32_t type, float farPlane, float nearPlane, float density, const Color3& color)
{
    StoreGroup(kFogGroup, Material, use, type, farPlane, nearPlane, density, color);
}

void ZRMaterial::SetGeometry(bool use, int32_t type, bool smooth, float lineWidth, float pointSize, bool flatShade)
{
    StoreGroup(kGeometryGroup, Material, use, type, smooth, lineWidth, pointSize, flatShade);
}

void ZRMaterial::SetPulsate(bool use, int32_t mode, float offset, float speed, float density, const Color3& color)
{
    StoreGroup(kPulsateGroup, Material, use, mode, offset, speed, density, color);
    if (use)
        Material.EffectsUse = true;
}

// The one step index stands for all four steps.
void ZRMaterial::SetPredefined(bool use, int32_t densityIndex, int32_t stepIndex, int32_t colorIndex)
{
    const TMPredefinedSteps steps{stepIndex, stepIndex, stepIndex, stepIndex};
    StoreGroup(kPredefinedGroup, Material, use, densityIndex, steps, colorIndex);
    if (use)
        Material.EffectsUse = true;
}
