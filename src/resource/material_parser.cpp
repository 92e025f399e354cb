#include "resource/material_parser.h"

#include <algorithm>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

#include "core/script_parser.h"
#include "core/zot_constant.h"
#include "gl/gl_main.h"
#include "resource/resource_material.h"
#include "resource/resource_texture.h"

namespace {

constexpr std::string_view kLayerPrefix = "TEX";
constexpr std::string_view kStepPrefix = "STEP";
constexpr std::string_view kPredefinedPrefix = "PREDEF";

// Steps hold layer indices in a byte, so no larger layer or step makes sense;
// refusing them keeps an absurd index from growing the arrays without bound.
constexpr int32_t kLargestIndex = 255;

// Any table whose rows are found by a keyword: words, entries, blocks, commands.
template <typename Row>
const Row* FindRow(const std::vector<Row>& rows, std::string_view key)
{
    for (const Row& row : rows) {
        if (row.Key == key)
            return &row;
    }
    return nullptr;
}

struct Word {
    std::string_view Key;
    int32_t Value;
};
using Words = std::vector<Word>;

const Words kBlendWords{{"OPAQUE", ZOTGL::kBlendOpaque},
                        {"ADDITIVE", ZOTGL::kBlendAdditive},
                        {"AVERAGE", ZOTGL::kBlendAverage},
                        {"NEGATIVE", ZOTGL::kBlendNegative},
                        {"SATURATE", ZOTGL::kBlendSaturate}};
const Words kStyleWords{
    {"OPAQUE", ZOTGL::kBlendOpaque}, {"ADDITIVE", ZOTGL::kBlendAdditive}, {"MULTIPLY", ZOTGL::kBlendMultiply}};
const Words kFogWords{{"NONE", kFogNone}, {"LINEAR", kFogLinear}, {"EXP", kFogExp}, {"EXP2", kFogExp2}};
const Words kGeometryWords{
    {"FILL", kGeometryFilled}, {"WIREFRAME", kGeometryWireframe}, {"POINTCLOUD", kGeometryPoints}};
const Words kPulsateWords{
    {"SIN", kPulsateSine}, {"CONST", kPulsateTriangle}, {"SINPOS", kPulsateAbsoluteSine}, {"NEON", kPulsateFlash}};
const Words kEnvironmentTypeWords{{"SPHEREMAP", ZRTexture::kGenSphereMap}, {"CUBEMAP", ZRTexture::kGenCubeMap}};
const Words kEnvironmentSourceWords{{"CHROME", ZRTexture::kSourceOwn}, {"REFLECTION", ZRTexture::kSourceReflection}};
const Words kAnimationWords{{"PATTERN", kAnimationPattern}, {"TEXTURES", kAnimationTextures}};

// A missing argument leaves its setting as it was, so each reader writes only
// when the line holds every token it needs.
bool HasToken(const ZOTParser& tokens, int32_t i) { return i <= tokens.Arguments.Last; }

void Read(const ZOTParser& tokens, int32_t i, float& out)
{
    if (HasToken(tokens, i))
        out = tokens.TokenAsFloat(i);
}

void Read(const ZOTParser& tokens, int32_t i, int32_t& out)
{
    if (HasToken(tokens, i))
        out = tokens.TokenAsInt(i);
}

void Read(const ZOTParser& tokens, int32_t i, bool& out)
{
    if (HasToken(tokens, i))
        out = tokens.TokenAsInt(i) != 0;
}

void Read(const ZOTParser& tokens, int32_t i, Color3& out)
{
    if (!HasToken(tokens, i + 2))
        return;
    const Vector3 v = tokens.TokensAsVector(i);
    out = Color3{v.x, v.y, v.z};
}

// A misspelt word leaves the setting as it was.
void ReadWord(const ZOTParser& tokens, int32_t i, const Words& words, int32_t& out)
{
    if (const Word* word = FindRow(words, tokens.GetToken(i)))
        out = word->Value;
}

void ReadPredefined(const ZOTParser& tokens, int32_t i, int32_t& out)
{
    if (HasToken(tokens, i))
        out = tokens.IndexedSuffix(i, kPredefinedPrefix);
}

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// The index after prefix in token i, or -1 when there is none or it is out of reach.
int32_t SmallIndex(const ZOTParser& tokens, int32_t i, std::string_view prefix)
{
    const int32_t index = tokens.IndexedSuffix(i, prefix);
    return index >= 0 && index <= kLargestIndex ? index : -1;
}

uint8_t StepLayer(const ZOTParser& tokens, int32_t i)
{
    const int32_t layer = SmallIndex(tokens, i, kLayerPrefix);
    return layer < 0 ? kNoLayer : static_cast<uint8_t>(layer);
}

// The layers between the old last layer and an imported one are left blank.
TMTextureLayer BlankLayer()
{
    TMTextureLayer layer;
    layer.ScaleX = layer.ScaleY = 0.0f;
    layer.RollSpeedX = layer.RollSpeedY = 0.0f;
    layer.AnimationSpeed = 0.0f;
    layer.PatternSizeX = layer.PatternSizeY = 0.0f;
    layer.AnimationCount = 0;
    return layer;
}

TMRenderStep BlankStep()
{
    TMRenderStep step;
    step.Layer = 0;
    step.Color = Color3{0.0f, 0.0f, 0.0f};
    step.Density = 0.0f;
    return step;
}

ZRTexture* NewTexture(ZRMaterial& owner, std::string_view fileName)
{
    auto* texture = new ZRTexture(&owner);
    texture->Reset();
    texture->LoadFromFile(CutText(fileName, kNameLength));
    return texture;
}

// What a keyword line sets: a field of the target, read by its type (an
// integer as one of the words of a vocabulary when there is one), or a reader
// of its own for lines that set more than one field.
template <typename Target>
struct Entry {
    using Reader = void (*)(const ZOTParser& tokens, Target& target);

    std::string_view Key;
    std::variant<bool Target::*, int32_t Target::*, float Target::*, Color3 Target::*, Reader> Field;
    const Words* Vocabulary = nullptr;

    void Apply(const ZOTParser& tokens, Target& target) const
    {
        std::visit(
            [&](auto field) {
                if constexpr (std::is_same_v<decltype(field), Reader>)
                    field(tokens, target);
                else if constexpr (std::is_same_v<decltype(field), int32_t Target::*>)
                    Vocabulary ? ReadWord(tokens, 1, *Vocabulary, target.*field) : Read(tokens, 1, target.*field);
                else
                    Read(tokens, 1, target.*field);
            },
            Field);
    }
};
template <typename Target>
using Entries = std::vector<Entry<Target>>;

const Entries<TMaterial> kColorEntries{
    {"AMBIENT", &TMaterial::Ambient},     {"DIFFUSE", &TMaterial::Diffuse},   {"SPECULAR", &TMaterial::Specular},
    {"SHININESS", &TMaterial::Shininess}, {"EMISSIVE", &TMaterial::Emissive},
};

const Entries<TMaterial> kBlendingEntries{
    {"USE", &TMaterial::BlendUse},
    {"MODE", &TMaterial::BlendMode, &kBlendWords},
    {"DENSITY", &TMaterial::BlendDensity},
};

const Entries<TMaterial> kDepthEntries{
    {"USE", &TMaterial::DepthUse},
    {"DEPTHTEST", &TMaterial::DepthTest},
    {"WRITETOBUFFER", &TMaterial::DepthWrite},
};

const Entries<TMaterial> kCullEntries{
    {"USE", &TMaterial::CullUse},
    {"CULLFACE", &TMaterial::CullFace},
    {"DRAWONLYBACKFACES", &TMaterial::BackFacesOnly},
};

const Entries<TMaterial> kLightingEntries{
    {"USE", &TMaterial::LightingUse},
    {"STATIC", &TMaterial::StaticLighting},
    {"DYNAMIC", &TMaterial::DynamicLighting},
};

const Entries<TMaterial> kFogEntries{
    {"USE", &TMaterial::FogUse},         {"TYPUS", &TMaterial::FogType, &kFogWords}, {"COLOR", &TMaterial::FogColor},
    {"DENSITY", &TMaterial::FogDensity}, {"NEAR", &TMaterial::FogNear},              {"FAR", &TMaterial::FogFar},
};

const Entries<TMaterial> kGeometryEntries{
    {"USE", &TMaterial::GeometryUse},         {"TYPUS", &TMaterial::GeometryType, &kGeometryWords},
    {"FLATSHADE", &TMaterial::FlatShade},     {"POINTSIZE", &TMaterial::PointSize},
    {"LINEWIDTH", &TMaterial::LineWidth},     {"SMOOTH", &TMaterial::Smooth},
};

const Entries<TMaterial> kPulsateEntries{
    {"USE", &TMaterial::PulsateUse},         {"MODE", &TMaterial::PulsateMode, &kPulsateWords},
    {"COLOR", &TMaterial::PulsateColor},     {"DENSITY", &TMaterial::PulsateDensity},
    {"SPEED", &TMaterial::PulsateSpeed},     {"OFFSET", &TMaterial::PulsateOffset},
};

const Entries<TMaterial> kPredefinedEntries{
    {"DENSITY", [](const ZOTParser& t, TMaterial& m) { ReadPredefined(t, 1, m.PredefinedDensity); }},
    {"COLOR", [](const ZOTParser& t, TMaterial& m) { ReadPredefined(t, 1, m.PredefinedColor); }},
};

// "STEPk PREDEFn" lines of the predefined block, for the steps that have a slot.
void ReadPredefinedStep(const ZOTParser& t, TMaterial& m)
{
    const int32_t step = t.IndexedSuffix(0, kStepPrefix);
    if (step >= 0 && step < kPredefinedSteps)
        ReadPredefined(t, 1, m.PredefinedStep[static_cast<std::size_t>(step)]);
}

const Entries<TMTextureLayer> kLayerEntries{
    {"SET_SCALE",
     [](const ZOTParser& t, TMTextureLayer& l) {
         Read(t, 1, l.ScaleX);
         Read(t, 2, l.ScaleY);
     }},
};

const Entries<TMTextureLayer> kEnvironmentEntries{
    {"TYPUS", &TMTextureLayer::EnvironmentType, &kEnvironmentTypeWords},
    {"SOURCE", &TMTextureLayer::EnvironmentSource, &kEnvironmentSourceWords},
};

const Entries<TMTextureLayer> kRollEntries{
    {"OFFSETX", &TMTextureLayer::RollOffsetX},
    {"OFFSETY", &TMTextureLayer::RollOffsetY},
    {"SPEEDX", &TMTextureLayer::RollSpeedX},
    {"SPEEDY", &TMTextureLayer::RollSpeedY},
};

const Entries<TMTextureLayer> kAnimationEntries{
    {"TYPUS", &TMTextureLayer::AnimationType, &kAnimationWords},
    {"SPEED", &TMTextureLayer::AnimationSpeed},
    {"PATTERNSIZEX", &TMTextureLayer::PatternSizeX},
    {"PATTERNSIZEY", &TMTextureLayer::PatternSizeY},
    {"OFFSETX", &TMTextureLayer::AnimationOffsetX},
    {"OFFSETY", &TMTextureLayer::AnimationOffsetY},
    {"OFFSET", &TMTextureLayer::AnimationOffset},
    {"COUNT", &TMTextureLayer::AnimationCount},
};

// A colour or density line also switches its value on for the step.
const Entries<TMRenderStep> kStepEntries{
    {"TEXTURE", [](const ZOTParser& t, TMRenderStep& s) { s.Layer = StepLayer(t, 1); }},
    {"STYLE", &TMRenderStep::Style, &kStyleWords},
    {"COLOR",
     [](const ZOTParser& t, TMRenderStep& s) {
         Read(t, 1, s.Color);
         s.ColorOn = true;
     }},
    {"DENSITY",
     [](const ZOTParser& t, TMRenderStep& s) {
         Read(t, 1, s.Density);
         s.DensityOn = true;
     }},
};

// A block of entries: what opening it switches on, the entries it knows, and
// what to make of a line no entry claims.
template <typename Target>
struct Block {
    std::string_view Key;
    void (*Open)(Target& target);
    const Entries<Target>* Lines;
    void (*Other)(const ZOTParser& tokens, Target& target) = nullptr;
};

// Opening a step block resets the step before the block is read.
const Block<TMRenderStep> kStepBlock{"STEP", nullptr, &kStepEntries};

const std::vector<Block<TMaterial>> kMaterialBlocks{
    {"COLOR", [](TMaterial& m) { m.ColorUse = true; }, &kColorEntries},
    {"BLENDING", [](TMaterial& m) { m.BlendUse = true; }, &kBlendingEntries},
    {"DEPTHTEST", [](TMaterial& m) { m.DepthUse = true; }, &kDepthEntries},
    {"CULLFACE", [](TMaterial& m) { m.CullUse = true; }, &kCullEntries},
    {"LIGHTING", [](TMaterial& m) { m.LightingUse = true; }, &kLightingEntries},
    {"FOG", [](TMaterial& m) { m.FogUse = true; }, &kFogEntries},
    {"GEOMETRY", [](TMaterial& m) { m.GeometryUse = true; }, &kGeometryEntries},
    {"EFFECT_PULSATE",
     [](TMaterial& m) {
         m.EffectsUse = true;
         m.PulsateUse = true;
     },
     &kPulsateEntries},
    {"EFFECT_PREDEFINED",
     [](TMaterial& m) {
         m.EffectsUse = true;
         m.PredefinedUse = true;
     },
     &kPredefinedEntries, ReadPredefinedStep},
};

const std::vector<Block<TMTextureLayer>> kLayerBlocks{
    {"ENVIRONMENTMAP",
     [](TMTextureLayer& l) {
         l.EffectsOn = true;
         l.EnvironmentOn = true;
     },
     &kEnvironmentEntries},
    {"ROLL",
     [](TMTextureLayer& l) {
         l.EffectsOn = true;
         l.RollOn = true;
     },
     &kRollEntries},
    {"ANIMATION",
     [](TMTextureLayer& l) {
         l.EffectsOn = true;
         l.AnimationOn = true;
     },
     &kAnimationEntries},
};

// One pass over a material's script. Every block reads its own lines up to
// and including its "}", so the enclosing block never sees a nested "}".
class ScriptReader {
public:
    explicit ScriptReader(ZRMaterial& material)
        : Owner(material), Record(material.Material), Tokens(nullptr)
    {
    }

    void Run()
    {
        while (NextLine())
            ReadTopLevelLine();
    }

private:
    struct Command {
        std::string_view Key;
        void (ScriptReader::*Run)();
    };

    ZRMaterial& Owner;
    TMaterial& Record;
    ZOTParser Tokens;
    int32_t Line = -1;

    int64_t LastLine() const
    {
        return std::min<int64_t>(Record.Script.Last, static_cast<int64_t>(Record.Script.Lines.size()) - 1);
    }

    bool NextLine()
    {
        if (Line >= LastLine())
            return false;
        ++Line;
        const std::string_view text = Record.Script.Lines[static_cast<std::size_t>(Line)];
        Tokens.Tokenize(text.substr(0, kStringTextLength));
        return true;
    }

    // A block that is never closed ends with the script.
    void ForEachBlockLine(const std::function<void()>& handle)
    {
        while (NextLine()) {
            if (Tokens.IsBlockClose())
                return;
            handle();
        }
    }

    // A block whose target does not exist is still read to its end, so that
    // its lines are not taken for lines of the enclosing block.
    template <typename Target>
    void ReadBlock(const Block<Target>& block, Target* target)
    {
        if (target && block.Open)
            block.Open(*target);
        ForEachBlockLine([&] {
            if (!target)
                return;
            if (const Entry<Target>* entry = FindRow(*block.Lines, Tokens.GetToken(0)))
                entry->Apply(Tokens, *target);
            else if (block.Other)
                block.Other(Tokens, *target);
        });
    }

    void ReadTopLevelLine()
    {
        RunCommand();
        if (!Tokens.IsBlockOpen())
            return;
        const std::string keyword = Tokens.GetToken(0);
        if (const Block<TMaterial>* block = FindRow(kMaterialBlocks, keyword))
            ReadBlock(*block, &Record);
        else if (keyword == "RENDERING")
            ReadRenderingBlock();
        else if (StartsWith(keyword, kLayerPrefix))
            ReadLayerBlock(Owner.LayerAt(SmallIndex(Tokens, 0, kLayerPrefix)));
    }

    void RunCommand()
    {
        static const std::vector<Command> kCommands{
            {"MATERIAL_NAME", &ScriptReader::MaterialName}, {"IMPORT_TEXTURE", &ScriptReader::ImportTexture},
            {"SET_BLENDING", &ScriptReader::SetBlending},   {"SET_OUTLINE", &ScriptReader::SetOutline},
            {"SET_CEL", &ScriptReader::SetCel},             {"SET_RENDERING", &ScriptReader::SetRendering},
        };
        if (const Command* command = FindRow(kCommands, Tokens.GetToken(0)))
            (this->*command->Run)();
    }

    void ReadLayerBlock(TMTextureLayer* layer)
    {
        ForEachBlockLine([&] {
            if (const Entry<TMTextureLayer>* entry = FindRow(kLayerEntries, Tokens.GetToken(0))) {
                if (layer)
                    entry->Apply(Tokens, *layer);
                return;
            }
            if (!Tokens.IsBlockOpen())
                return;
            if (const Block<TMTextureLayer>* block = FindRow(kLayerBlocks, Tokens.GetToken(0)))
                ReadBlock(*block, layer);
        });
    }

    void ReadRenderingBlock()
    {
        ForEachBlockLine([&] {
            if (StartsWith(Tokens.GetToken(0), kStepPrefix))
                ReadStepBlock(ResetStep(SmallIndex(Tokens, 0, kStepPrefix)));
        });
    }

    void ReadStepBlock(TMRenderStep* step) { ReadBlock(kStepBlock, step); }

    void MaterialName()
    {
        if (HasToken(Tokens, 1))
            Owner.SetName(Tokens.GetToken(1));
    }

    void ImportTexture()
    {
        const int32_t index = SmallIndex(Tokens, 1, kLayerPrefix);
        if (index < 0 || !HasToken(Tokens, 2))
            return;
        GrowLayers(index);
        TMTextureLayer& layer = Record.Textures.Layers[static_cast<std::size_t>(index)];
        Owner.ReleaseTexture(layer);
        layer = TMTextureLayer{};
        layer.Texture = NewTexture(Owner, Tokens.GetToken(2));
    }

    void SetBlending()
    {
        ReadWord(Tokens, 1, kBlendWords, Record.BlendMode);
        Read(Tokens, 2, Record.BlendDensity);
        Record.BlendUse = true;
        Record.DepthUse = true;
        Record.DepthWrite = false;
    }

    void SetOutline()
    {
        Read(Tokens, 1, Record.Ambient);
        Read(Tokens, 1, Record.Diffuse);
        Record.BlendMode = ZOTGL::kBlendAverage;
        Record.BlendDensity = 1.0f;
        Record.GeometryType = kGeometryWireframe;
        Read(Tokens, 4, Record.LineWidth);
        Read(Tokens, 5, Record.Smooth);
        Record.ColorUse = Record.BlendUse = Record.CullUse = Record.GeometryUse = Record.LightingUse = true;
        Record.BackFacesOnly = true;
        Record.StaticLighting = Record.DynamicLighting = false;
    }

    void SetCel()
    {
        SetCelSteps(SmallIndex(Tokens, 1, kStepPrefix));
        if (TMTextureLayer* overlay = Owner.LayerAt(Tokens.IndexedSuffix(3, kLayerPrefix))) {
            overlay->EffectsOn = true;
            overlay->EnvironmentOn = true;
            overlay->EnvironmentType = ZRTexture::kGenSphereMap;
        }
        Record.LightingUse = true;
        Record.StaticLighting = Record.DynamicLighting = false;
    }

    void SetCelSteps(int32_t first)
    {
        if (first < 0 || first + 1 > kLargestIndex)
            return;
        const bool isNew = first > Record.Rendering.LastStep;
        GrowSteps(first + 1);
        TMRenderStep& base = Record.Rendering.Steps[static_cast<std::size_t>(first)];
        if (isNew)
            base = BlankStep();
        base.Layer = StepLayer(Tokens, 2);
        base.Style = ZOTGL::kBlendOpaque;
        TMRenderStep& overlay = *ResetStep(first + 1);
        overlay.Layer = StepLayer(Tokens, 3);
        overlay.Style = ZOTGL::kBlendMultiply;
    }

    void SetRendering()
    {
        TMRenderStep* step = ResetStep(SmallIndex(Tokens, 1, kStepPrefix));
        if (!step)
            return;
        step->Layer = StepLayer(Tokens, 2);
        ReadWord(Tokens, 3, kStyleWords, step->Style);
    }

    // Step index with the step defaults, the steps grown to hold it; none for no index.
    TMRenderStep* ResetStep(int32_t index)
    {
        if (index < 0)
            return nullptr;
        GrowSteps(index);
        TMRenderStep& step = Record.Rendering.Steps[static_cast<std::size_t>(index)];
        step = TMRenderStep{};
        return &step;
    }

    // New steps get the step defaults.
    void GrowSteps(int32_t last)
    {
        TMRendering& rendering = Record.Rendering;
        if (rendering.Steps.size() <= static_cast<std::size_t>(last))
            rendering.Steps.resize(static_cast<std::size_t>(last) + 1);
        rendering.LastStep = std::max(rendering.LastStep, last);
    }

    void GrowLayers(int32_t last)
    {
        TMTextures& textures = Record.Textures;
        if (textures.Layers.size() <= static_cast<std::size_t>(last))
            textures.Layers.resize(static_cast<std::size_t>(last) + 1, BlankLayer());
        textures.LastLayer = std::max(textures.LastLayer, last);
    }
};

}  // namespace

ZRMaterialParser::ZRMaterialParser(ZOTOwner* owner)
    : ZOTObject(owner, "ZOT Material Parser", "ZRMaterialParser")
{
}

void ZRMaterialParser::SetMaterial(ZRMaterial* material) { Material = material; }

void ZRMaterialParser::Parse()
{
    if (Material)
        ScriptReader(*Material).Run();
}
