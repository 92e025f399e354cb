#include "app/app_gl_models.h"

#include <cmath>

#include "app/app_butterfly.h"
#include "app/app_gl_ground.h"
#include "app/app_gl_scene.h"
#include "app/app_gl_sky.h"
#include "core/zot_main.h"
#include "gl/gl_lightingengine.h"
#include "gl/gl_main.h"
#include "gl/gl_materialengine.h"
#include "gl/gl_model.h"
#include "gl/gl_modelengine.h"
#include "gl/gl_textureengine.h"
#include "math/math_random.h"
#include "math/zot_math.h"
#include "resource/resource_animation.h"
#include "resource/resource_list.h"
#include "resource/resource_model.h"
#include "resource/resource_shader.h"
#include "resource/resource_texture.h"

namespace {

const Vector3 kCatPosition{};
const Vector3 kCatRotation{0.0f, 240.0f, 0.0f};
// The slant of the cat's shadow is worked out for this turn.
const Vector3 kCatShadowRotation{0.0f, 300.0f, 0.0f};
// The eyes, nose and inner ears are bare.
constexpr int32_t kBareGroup = 1;
// Model units the outermost shell stands out from the skin.
constexpr float kFurLength = 0.02f;
// The space the fur's lights are chosen for: the cat's size.
constexpr float kCatHalfWidth = 0.5f;
constexpr float kCatTop = 1.0f;
constexpr float kCatBottom = 0.0f;
constexpr int32_t kMaskUnit = 0;
constexpr int32_t kRulesUnit = 1;
constexpr int32_t kColourUnit = 2;

GLModelEngine& Models() { return *CurrentGL->ModelEngine; }
GLMaterialEngine& Materials() { return *CurrentGL->MaterialEngine; }
GLTextureEngine& Textures() { return *CurrentGL->TextureEngine; }

}  // namespace

ZAGLSModels::ZAGLSModels(ZAGLScene* scene) : ZOTObject(scene, "ZOT App Scene Models", "ZAGLSModels"), Scene(scene)
{
}

ZAGLSModels::~ZAGLSModels()
{
    DeleteAndClear(Butterflies);
    DeleteAndClear(CatAnimation);
    DeleteAndClear(Cat);
    DeleteAndClear(Butterfly);
    DeleteAndClear(Fur);
    DeleteAndClear(FurTexture);
    DeleteAndClear(Rules);
    DeleteAndClear(FurProgram);
    DeleteAndClear(ShellProgram);
}

void ZAGLSModels::Initialize()
{
    Cat = new ZRModel(this, "models\\cat");
    CatAnimation = new ZRAnimation(this);
    CatAnimation->Play(Cat, 0);
    Butterfly = new ZRModel(this, "models\\butterfly");
    Butterflies = new ZRList(this, true, true);
    for (int32_t i = 0; i < Scene->Params.ButterflyCount; ++i)
        Butterflies->Add(new ZAButterfly(this, Butterfly));
    FurProgram = new ZRShader("shaders\\fur", this);
    ShellProgram = new ZRShader("shaders\\furshells", this);
    Fur = new ZRTexture("textures\\fur\\fur", this);
    FurTexture = new ZRTexture("textures\\fur\\furtexture", this);
    // Strands are a few texels wide: mip levels would average strands and
    // gaps into a haze that every shell covers alike.
    FurTexture->SetFilter(GLTextureEngine::kFilterLinear);
    Rules = new ZRTexture("textures\\fur\\rules", this);
}

void ZAGLSModels::Update()
{
    CatAnimation->Update();
    if (!CatAnimation->IsPlaying())
        CatAnimation->Play(Cat, CurrentEngine->Math->Random->RandomInt(0, 1));
    for (int32_t i = 0; i <= Butterflies->LastIndex(); ++i)
        static_cast<ZAButterfly*>(Butterflies->Get(i))->Update();
}

void ZAGLSModels::Draw()
{
    DrawCat(Scene->DisplayFur);
    GLPassScope butterflies(TFramePass::Butterflies);
    DrawButterflies(false);
}

void ZAGLSModels::DrawShadowCasters()
{
    DrawCat(false);
    DrawButterflies(true);
}

void ZAGLSModels::DrawCat(bool withFur)
{
    Scene->Ground->SetShadowRotation(kCatShadowRotation);
    if (Scene->DisplayBaseModel) {
        GLPassScope cat(TFramePass::Cat);
        DrawBaseModel();
    }
    if (withFur) {
        GLPassScope fur(TFramePass::Fur);
        DrawFur();
    }
}

void ZAGLSModels::DrawBaseModel()
{
    Models().SetAnimationFrom(*CatAnimation);
    Models().DrawModelAt(Cat, kCatPosition, 0, 1.0f, kCatRotation);
}

// Every shell after the first reuses the first one's skinned mesh, so the
// cat is posed at most twice a frame whatever the number of shells.
void ZAGLSModels::DrawFur()
{
    FurProgram->Bind();
    ShellProgram->Bind();
    const int32_t shells = Scene->Params.FurShells - 1;
    for (int32_t i = 1; i <= shells; ++i)
        DrawShell(i, shells);
    FurProgram->Unbind();
    ShellProgram->Unbind();
    Textures().DisableAll();
    Textures().Disable3D();
    Materials().Reset();
    Materials().Apply();
}

float ZAGLSModels::ShellHeight(int32_t shell, int32_t shells)
{
    return static_cast<float>(shell) / static_cast<float>(shells);
}

float ZAGLSModels::ShellOffset(int32_t shell, int32_t shells) { return kFurLength * ShellHeight(shell, shells); }

void ZAGLSModels::DrawShell(int32_t shell, int32_t shells)
{
    GLMaterialEngine& materials = Materials();
    materials.Reset();
    materials.SetLighting(true, true);
    materials.SetColorBlend(ZOTGL::kBlendAverage, {1.0f, 1.0f, 1.0f}, 1.0f);
    materials.SetCulling(true, false);
    materials.SetDepthWrite(false);
    materials.Apply();
    CurrentGL->LightingEngine->ApplyLights(true, true, kCatPosition, kCatHalfWidth, kCatTop, kCatBottom);
    Textures().Bind(FurTexture, kMaskUnit);
    Textures().Bind(Rules, kRulesUnit);
    Textures().Bind(Fur, kColourUnit);
    const float f = ShellHeight(shell, shells);
    const float offset = ShellOffset(shell, shells);
    ShellProgram->SetVertexLocal(0, {offset, offset, offset}, 0.0f);
    FurProgram->SetFragmentLocal(0, {std::sqrt(1.0f - f), f, 0.0f}, 0.0f);
    GLModelEngine& models = Models();
    models.SetMaterialFlags(false, true);
    models.SetAnimationFrom(*CatAnimation);
    models.SetGroupVisible(kBareGroup, false);
    if (shell > 1)
        models.Slots[0]->Settings.Animate = false;
    models.DrawModel(Cat, kCatPosition, 1.0f, kCatRotation);
}

void ZAGLSModels::DrawButterflies(bool shadowMode)
{
    for (int32_t i = 0; i <= Butterflies->LastIndex(); ++i)
        static_cast<ZAButterfly*>(Butterflies->Get(i))->Draw(shadowMode, Scene->Sky->SunDirection);
}
