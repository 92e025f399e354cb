#include "gl/gl_materialengine.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "core/zot_console.h"
#include "core/zot_main.h"
#include "gl/gl_main.h"
#include "gl/gl_textureengine.h"
#include "math/zot_math.h"
#include "resource/resource_material.h"

static_assert(GLMaterialEngine::kUnits == GLTextureEngine::kUnits, "one transform per texture unit");

namespace {

constexpr float kBaseShininess = 0.0f;
constexpr float kBaseFogFar = 20.0f;
constexpr float kBaseFogNear = 10.0f;
constexpr float kBaseFogDensity = 0.1f;
// GL refuses shininess outside this range and raises its error flag.
constexpr float kMaxShininess = 128.0f;

// The GL modes of kFogLinear to kFogExp2 and of kGeometryFilled to kGeometryPoints.
constexpr GLenum kFogModes[] = {GL_LINEAR, GL_EXP, GL_EXP2};
constexpr GLenum kPolygonModes[] = {GL_FILL, GL_LINE, GL_POINT};

ZOTGL& GL() { return *CurrentGL; }

const ZMColor& Colors() { return *CurrentEngine->Math->Color; }

// The groups a material overrides when it sets their use flag.
struct TGroup {
    bool (*InUse)(const TMaterial&);
    void (*Copy)(const TMaterial& from, TMaterial& to);
};

template <const auto& Group>
constexpr TGroup Overridable()
{
    return {[](const TMaterial& m) { return GroupInUse(Group, m); },
            [](const TMaterial& from, TMaterial& to) { CopyGroup(Group, from, to); }};
}

constexpr TGroup kGroups[] = {
    Overridable<kColorGroup>(), Overridable<kTintGroup>(),     Overridable<kBlendGroup>(),
    Overridable<kDepthGroup>(), Overridable<kCullGroup>(),     Overridable<kLightingGroup>(),
    Overridable<kFogGroup>(),   Overridable<kGeometryGroup>(),
};

bool IsPredefinedIndex(int32_t index) { return index >= 0 && index < GLMaterialEngine::kPredefinedValues; }

void SetMaterialColor(GLenum which, const Color3& c)
{
    const GLfloat value[4] = {c.r, c.g, c.b, 1.0f};
    glMaterialfv(GL_FRONT, which, value);
}

// An opaque pass of one texture, or none, in one colour, with no effects.
TMStepState PlainPass(ZRTexture* texture, const Color3& color)
{
    TMStepState pass;
    pass.Texture = texture;
    pass.Color = color;
    return pass;
}

// GL refuses sizes of zero or below and raises its error flag.
float PositiveSize(float size) { return size > 0.0f ? size : 1.0f; }

float PulsateWave(int32_t mode, float phase, float offset)
{
    const ZOTMath& math = *CurrentEngine->Math;
    switch (mode) {
    case kPulsateSine:
        return std::sin(phase + offset) * 0.5f + 0.5f;
    case kPulsateTriangle: {
        const float x = math.Frac(phase * 0.5f + offset);
        return 2.0f * (x > 0.5f ? 1.0f - x : x);
    }
    case kPulsateAbsoluteSine:
        return std::fabs(std::sin(phase + offset));
    case kPulsateFlash:
        return math.Frac(phase * 10.0f + offset) <= 0.5f ? 0.0f : 1.0f;
    default:
        return 1.0f;
    }
}

}  // namespace

GLMaterialEngine::GLMaterialEngine(ZOTOwner* parent) : ZOTObject(parent, "ZOT GL Material Engine", "GLMaterialEngine")
{
}

GLMaterialEngine::~GLMaterialEngine()
{
    delete WorkMaterial;
    delete BaseMaterial;
}

TMaterial& GLMaterialEngine::Work() const { return WorkMaterial->Material; }

void GLMaterialEngine::Initialize()
{
    CreateMaterials();
    SetBaseDefaults();
    Reset();
    ResetPredefined();
    Settings.SkipWhenOff = false;
    Settings.AcceptBlended = true;
    Settings.AcceptBlendedWhenOff = true;
    Settings.NoBlendWhenOff = true;
    Settings.GlobalTintUse = false;
    Settings.GlobalTint = {1.0f, 1.0f, 1.0f, 1.0f};
    LogLine("ZOT GL: Material Engine initialized!");
}

void GLMaterialEngine::CreateMaterials()
{
    if (!WorkMaterial)
        WorkMaterial = new ZRMaterial(this);
    if (!BaseMaterial)
        BaseMaterial = new ZRMaterial(this);
    WorkMaterial->Reset();
    BaseMaterial->Reset();
    WorkMaterial->SetName("ENGINE MATERIAL");
    BaseMaterial->SetName("INITIAL ENGINE MATERIAL");
}

void GLMaterialEngine::SetBaseDefaults()
{
    ZRMaterial& base = *BaseMaterial;
    base.SetColor(true, kBlack, true, kBlack, kBaseShininess, kBlack, kWhite);
    base.SetTint(1, kWhite);
    base.SetBlending(true, ZOTGL::kBlendOpaque, 1.0f);
    base.SetDepth(true, true, true);
    base.SetCulling(true, true, false);
    base.SetLighting(true, false, false);
    base.SetFog(true, 0, kBaseFogFar, kBaseFogNear, kBaseFogDensity, kWhite);
    base.SetGeometry(true, 0, false, 1.0f, 1.0f, false);
}

void GLMaterialEngine::ResetPredefined()
{
    Settings.PredefinedDensity.fill(1.0f);
    Settings.PredefinedColor.fill(kWhite);
    Settings.PredefinedTexture.fill(nullptr);
}

void GLMaterialEngine::Reset()
{
    const TMaterial& base = BaseMaterial->Material;
    TMaterial& work = Work();
    for (const TGroup& group : kGroups)
        group.Copy(base, work);
    CopyGroup(kPulsateGroup, base, work);
    CopyGroup(kPredefinedGroup, base, work);
    CopyGroup(kEffectsGroup, base, work);
    TSRendering& passes = Settings.Passes;
    passes.Items.clear();
    passes.LastPass = -1;
    passes.CurrentPass = -1;
    passes.UnitTransform.fill(TSUnitTransform{});
}

void GLMaterialEngine::Merge(const ZRMaterial* material)
{
    if (!material)
        return;
    const TMaterial& from = material->Material;
    TMaterial& work = Work();
    for (const TGroup& group : kGroups) {
        if (group.InUse(from))
            group.Copy(from, work);
    }
    if (!from.EffectsUse)
        return;
    work.EffectsUse = true;
    if (from.PulsateUse)
        CopyGroup(kPulsateGroup, from, work);
}

void GLMaterialEngine::SetMaterial(const ZRMaterial* material)
{
    if (!material)
        return;
    Merge(material);
    for (int32_t index = 0; index <= material->Material.Rendering.LastStep; ++index)
        AddPass(material->GetStep(index));
}

void GLMaterialEngine::AddPass(const TMStepState& step)
{
    TSRendering& passes = Settings.Passes;
    // A plain multiply pass only darkens what the pass before it draws, so it
    // can ride along on the next texture unit of the same drawing.
    const bool plainMultiply = step.Style == ZOTGL::kBlendMultiply && !step.ColorOn && !step.DensityOn;
    if (!passes.Items.empty() && !plainMultiply)
        passes.Items.back().NewBatch = true;
    passes.Items.push_back(TSPass{step});
    passes.LastPass = static_cast<int32_t>(passes.Items.size()) - 1;
}

void GLMaterialEngine::Apply()
{
    if (MaterialsOn)
        ApplyMaterial();
    else
        ApplyWithoutMaterials();
}

void GLMaterialEngine::ApplyMaterial()
{
    TMaterial& work = Work();
    Settings.Passes.CurrentPass = -1;
    Settings.Passes.CurrentDensity = 1.0f;
    ApplyEffects();
    ApplyGlobalTint();
    ApplyColors();
    GL().EnableDepthTest(work.DepthTest);
    glDepthMask(work.DepthWrite ? GL_TRUE : GL_FALSE);
    ApplyBlending();
    ApplyFaces();
    ApplyFog();
    ApplyGeometry();
    ApplyTexturing();
    if (Settings.Passes.LastPass < 0)
        AddPass(PlainPass(nullptr, work.Diffuse));
}

void GLMaterialEngine::ApplyWithoutMaterials()
{
    GL().SetColor(kWhite, 1.0f);
    glNormal3f(0.0f, 0.0f, 0.0f);
    if (Blends() && !Settings.NoBlendWhenOff)
        SetWorkBlendMode(Work().BlendMode, Work().Diffuse, Work().BlendDensity);
}

void GLMaterialEngine::ApplyEffects()
{
    const TMaterial& work = Work();
    if (!work.EffectsUse)
        return;
    if (work.PulsateUse)
        ApplyPulsate();
    if (work.PredefinedUse)
        ApplyPredefined();
}

void GLMaterialEngine::ApplyPulsate()
{
    TMaterial& work = Work();
    const float f = PulsateFactor();
    work.Diffuse = Colors().AddColor(Colors().ScaleColor(work.Diffuse, f),
                                     Colors().ScaleColor(work.PulsateColor, 1.0f - f));
    work.BlendDensity = work.BlendDensity * f + (1.0f - f) * work.PulsateDensity;
}

float GLMaterialEngine::PulsateFactor() const
{
    const TMaterial& work = Work();
    return PulsateWave(work.PulsateMode, WorkMaterial->GetTime() * work.PulsateSpeed, work.PulsateOffset);
}

void GLMaterialEngine::ApplyPredefined()
{
    TMaterial& work = Work();
    if (IsPredefinedIndex(work.PredefinedDensity))
        work.BlendDensity = Settings.PredefinedDensity[work.PredefinedDensity];
    if (IsPredefinedIndex(work.PredefinedColor))
        work.Diffuse = Settings.PredefinedColor[work.PredefinedColor];
    std::vector<TSPass>& items = Settings.Passes.Items;
    const int32_t steps = std::min(kPredefinedSteps, static_cast<int32_t>(items.size()));
    for (int32_t k = 0; k < steps; ++k) {
        const int32_t slot = work.PredefinedStep[k];
        if (IsPredefinedIndex(slot))
            items[k].Texture = Settings.PredefinedTexture[slot];
    }
}

void GLMaterialEngine::ApplyGlobalTint()
{
    if (!Settings.GlobalTintUse)
        return;
    TMaterial& work = Work();
    const Color4& tint = Settings.GlobalTint;
    const Color3 tintColor{tint.r, tint.g, tint.b};
    work.Ambient = Colors().Modulate(work.Ambient, tintColor);
    work.Diffuse = Colors().Modulate(work.Diffuse, tintColor);
    work.BlendDensity *= tint.a;
    Settings.Passes.CurrentDensity = tint.a;
}

void GLMaterialEngine::ApplyColors()
{
    const TMaterial& work = Work();
    Settings.Passes.CurrentColor = Colors().Modulate(work.Diffuse, work.Tint);
    GL().SetColor(Settings.Passes.CurrentColor, 1.0f);
    if (work.NoMaterialColors) {
        GL().EnableColorMaterial(false);
        return;
    }
    GL().EnableColorMaterial(true);
    SetMaterialColor(GL_AMBIENT, work.Ambient);
    SetMaterialColor(GL_DIFFUSE, work.Diffuse);
    SetMaterialColor(GL_SPECULAR, work.Specular);
    glMaterialf(GL_FRONT, GL_SHININESS, std::clamp(work.Shininess, 0.0f, kMaxShininess));
    SetMaterialColor(GL_EMISSION, work.Emissive);
}

void GLMaterialEngine::ApplyBlending()
{
    const TMaterial& work = Work();
    if (!Blends()) {
        GL().EnableBlending(false);
        return;
    }
    SetWorkBlendMode(work.BlendMode, work.Diffuse, work.BlendDensity);
}

void GLMaterialEngine::SetWorkBlendMode(int32_t mode, const Color3& color, float density)
{
    GL().EnableBlending(true);
    GL().SetBlendMode(mode, color, density);
    Settings.Passes.CurrentDensity = density;
}

void GLMaterialEngine::ApplyFaces()
{
    const TMaterial& work = Work();
    GL().EnableCulling(work.CullFace);
    glFrontFace(work.BackFacesOnly ? GL_CW : GL_CCW);
    GL().EnableLighting(work.StaticLighting || work.DynamicLighting);
    Settings.StaticLightingOn = work.StaticLighting;
    Settings.DynamicLightingOn = work.DynamicLighting;
}

void GLMaterialEngine::ApplyFog()
{
    const TMaterial& work = Work();
    // An unknown fog type has no GL mode; it draws without fog like type 0.
    if (work.FogType < kFogLinear || work.FogType > kFogExp2) {
        GL().EnableFog(false);
        return;
    }
    GL().EnableFog(true);
    glFogi(GL_FOG_MODE, static_cast<GLint>(kFogModes[work.FogType - kFogLinear]));
    glFogf(GL_FOG_START, work.FogNear);
    glFogf(GL_FOG_END, work.FogFar);
    glFogf(GL_FOG_DENSITY, work.FogDensity);
    const GLfloat color[4] = {work.FogColor.r, work.FogColor.g, work.FogColor.b, 1.0f};
    glFogfv(GL_FOG_COLOR, color);
}

void GLMaterialEngine::ApplyGeometry()
{
    const TMaterial& work = Work();
    const bool known = work.GeometryType >= kGeometryFilled && work.GeometryType <= kGeometryPoints;
    glPolygonMode(GL_FRONT_AND_BACK, known ? kPolygonModes[work.GeometryType] : GL_FILL);
    GL().EnableAntialiasing(work.Smooth);
    GL().SetFlatShading(work.FlatShade);
    glPointSize(PositiveSize(work.PointSize));
    glLineWidth(PositiveSize(work.LineWidth));
}

void GLMaterialEngine::ApplyTexturing()
{
    const TSRendering& passes = Settings.Passes;
    if (passes.LastPass != 0 || !passes.Items[0].Texture) {
        GL().EnableTexturing(false);
        return;
    }
    GL().EnableTexturing(true);
    GL().TextureEngine->BindSingle(passes.Items[0].Texture);
}

bool GLMaterialEngine::Accept()
{
    const bool blended = Blends();
    const bool accepted = MaterialsOn ? Settings.AcceptBlended || !blended
                                      : !Settings.SkipWhenOff && (Settings.AcceptBlendedWhenOff || !blended);
    if (!accepted)
        Reset();
    return accepted;
}

int32_t GLMaterialEngine::NextPass()
{
    if (!MaterialsOn)
        return 1;
    TSRendering& passes = Settings.Passes;
    if (passes.CurrentPass >= passes.LastPass)
        return 0;
    if (passes.CurrentPass >= 0) {
        GL().EnableBlending(true);
        GL().EnableLighting(false);
    }
    const int32_t highest = HighestUnit();
    int32_t unit = -1;
    bool batchEnds = false;
    while (!batchEnds) {
        ++unit;
        ++passes.CurrentPass;
        const TSPass& pass = passes.Items[passes.CurrentPass];
        BindPass(pass, unit);
        batchEnds = pass.NewBatch || passes.CurrentPass >= passes.LastPass || unit >= highest;
    }
    for (int32_t above = unit + 1; above <= highest; ++above)
        GL().TextureEngine->DisableUnit(above);
    return unit + 1;
}

int32_t GLMaterialEngine::HighestUnit() const { return std::clamp(GL().TextureEngine->MaxUnit, 0, kUnits - 1); }

void GLMaterialEngine::BindPass(const TSPass& pass, int32_t unit)
{
    TSRendering& passes = Settings.Passes;
    if (pass.Texture) {
        GL().TextureEngine->Bind(pass.Texture, unit);
        passes.UnitTransform[unit] = {pass.OffsetX, pass.OffsetY, pass.ScaleX, pass.ScaleY};
    } else {
        GL().TextureEngine->DisableUnit(unit);
    }
    if (unit == 0 && passes.CurrentPass > 0)
        BlendPass(pass);
}

void GLMaterialEngine::BlendPass(const TSPass& pass)
{
    TSRendering& passes = Settings.Passes;
    if (pass.ColorOn)
        passes.CurrentColor = Colors().Modulate(pass.Color, Work().Tint);
    if (pass.DensityOn)
        passes.CurrentDensity = pass.Density;
    // A later opaque pass would hide the passes below it; it darkens them instead.
    const int32_t mode = pass.Style == ZOTGL::kBlendOpaque ? ZOTGL::kBlendMultiply : pass.Style;
    GL().SetBlendMode(mode, passes.CurrentColor, passes.CurrentDensity);
}

bool GLMaterialEngine::Finished() const
{
    return !MaterialsOn || Settings.Passes.CurrentPass >= Settings.Passes.LastPass;
}

bool GLMaterialEngine::Blends() const { return WorkMaterial && Work().BlendMode != ZOTGL::kBlendOpaque; }

void GLMaterialEngine::SetTexture(ZRTexture* texture)
{
    AddPass(PlainPass(texture, Work().Diffuse));
}

void GLMaterialEngine::SetColorBlend(int32_t mode, const Color3& color, float density)
{
    TMaterial& work = Work();
    work.Diffuse = color;
    work.BlendMode = mode;
    work.BlendDensity = density;
    work.DepthWrite = false;
    work.CullFace = false;
}

void GLMaterialEngine::SetDiffuse(const Color3& color)
{
    TMaterial& work = Work();
    work.Diffuse = color;
    if (work.StaticLighting || work.DynamicLighting)
        work.NoMaterialColors = false;
}

void GLMaterialEngine::SetColors(const Color3& ambient, const Color3& diffuse, const Color3& emissive,
                                 float shininess, const Color3& specular)
{
    TMaterial& work = Work();
    work.Ambient = ambient;
    work.Diffuse = diffuse;
    work.Emissive = emissive;
    work.Shininess = shininess;
    work.Specular = specular;
    work.NoMaterialColors = false;
}

void GLMaterialEngine::SetUnlit()
{
    TMaterial& work = Work();
    work.NoMaterialColors = true;
    work.Tint = kWhite;
    work.DepthTest = false;
    work.CullFace = false;
}

void GLMaterialEngine::SetDepthTest(bool on) { Work().DepthTest = on; }

void GLMaterialEngine::SetDepthWrite(bool on) { Work().DepthWrite = on; }

void GLMaterialEngine::SetCulling(bool cull, bool backFacesOnly)
{
    Work().CullFace = cull;
    Work().BackFacesOnly = backFacesOnly;
}

void GLMaterialEngine::SetLighting(bool staticLighting, bool dynamicLighting)
{
    Work().StaticLighting = staticLighting;
    Work().DynamicLighting = dynamicLighting;
}

void GLMaterialEngine::SetGlobalTint(bool use, const Color4& colorAndAlpha)
{
    Settings.GlobalTintUse = use;
    Settings.GlobalTint = colorAndAlpha;
}

void GLMaterialEngine::SetPredefinedDensity(int32_t index, float value)
{
    if (IsPredefinedIndex(index))
        Settings.PredefinedDensity[index] = value;
}

void GLMaterialEngine::SetPredefinedColor(int32_t index, const Color3& color)
{
    if (IsPredefinedIndex(index))
        Settings.PredefinedColor[index] = color;
}

void GLMaterialEngine::SetPredefinedTexture(int32_t index, ZRTexture* texture)
{
    if (IsPredefinedIndex(index))
        Settings.PredefinedTexture[index] = texture;
}

void GLMaterialEngine::EnableMaterials()
{
    ApplyBase();
    MaterialsOn = true;
}

void GLMaterialEngine::DisableMaterials()
{
    MaterialsOn = true;
    ApplyBase();
    MaterialsOn = false;
}

void GLMaterialEngine::ApplyBase()
{
    // The GL module may switch materials before the engine has started.
    if (!WorkMaterial)
        return;
    Reset();
    Apply();
}
