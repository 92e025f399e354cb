#include "app/app_gl_ground.h"

#include <GL/gl.h>

#include <initializer_list>

#include "app/app_gl_models.h"
#include "app/app_gl_scene.h"
#include "app/app_gl_sky.h"
#include "core/zot_main.h"
#include "gl/gl_camera.h"
#include "gl/gl_frustum.h"
#include "gl/gl_lightingengine.h"
#include "gl/gl_main.h"
#include "gl/gl_materialengine.h"
#include "gl/gl_modelengine.h"
#include "gl/gl_offscreenbuffer.h"
#include "gl/gl_textureengine.h"
#include "math/zot_math.h"
#include "resource/resource_displaylist.h"
#include "resource/resource_material.h"
#include "resource/resource_model.h"
#include "resource/resource_shader.h"
#include "resource/resource_texture.h"

namespace {

constexpr float kShininess = 0.3f;
// High enough above the 20 x 20 ground that the camera's own projection
// takes it in whole.
const Vector3 kShadowEye{0.0f, 24.2f, 0.0f};
const Vector3 kStraightDown{-90.0f, 0.0f, 0.0f};
constexpr float kGroundHalf = 10.0f;
constexpr float kPlateHalf = 2.0f;
constexpr int32_t kLawnLayers = 15;
constexpr float kLawnScale = 0.2f;
constexpr float kLawnLayerStep = 0.025f;
constexpr float kTileSpacing = 4.0f;
// The box each tile is culled by.
constexpr float kTileBoxSpacing = 5.0f;
constexpr float kTileBoxHalf = 4.0f;
constexpr float kTileBoxTop = 0.2f;
constexpr float kShadowTapStep = 0.002f;
constexpr float kShadowCentreWeight = 0.2f;
constexpr float kShadowSideWeight = 0.1f;
constexpr float kShadowSingleWeight = 0.5f;
// The house stands between the cat and a low camera on its side of the garden.
constexpr float kHouseCameraHeight = 4.0f;
constexpr int32_t kDetailUnit = 1;

// How a floor quad's texture coordinates run on one unit: (0, 0) to
// (scale, scale) across the quad, shifted by the offset, optionally with t
// running the other way.
struct TUnitCoords {
    float Scale = 1.0f;
    float OffsetS = 0.0f;
    float OffsetT = 0.0f;
    bool FlipT = false;
};

// A square on the ground, facing up, with a coordinate set per unit.
void FloorQuad(float half, std::initializer_list<TUnitCoords> units)
{
    static constexpr float kCorners[4][2] = {{0.0f, 0.0f}, {1.0f, 0.0f}, {1.0f, 1.0f}, {0.0f, 1.0f}};
    GLTextureEngine& textures = *CurrentGL->TextureEngine;
    glBegin(GL_QUADS);
    glNormal3f(0.0f, 1.0f, 0.0f);
    for (const auto& corner : kCorners) {
        int32_t unit = 0;
        for (const TUnitCoords& coords : units) {
            const float t = coords.FlipT ? 1.0f - corner[1] : corner[1];
            textures.MultiTexCoord(unit++, corner[0] * coords.Scale + coords.OffsetS, t * coords.Scale + coords.OffsetT);
        }
        glVertex3f((2.0f * corner[0] - 1.0f) * half, 0.0f, (2.0f * corner[1] - 1.0f) * half);
    }
    glEnd();
}

struct TProp {
    ZRModel* ZAGLSGround::*Model;
    Vector3 Position;
    float Yaw;
    float ShadowYaw;
};

// The fences pair by pair, first the pieces at the lower offsets, then the
// rest, all facing in.
const TProp kProps[] = {
    {&ZAGLSGround::Fence, {-4.35f, 0.0f, -8.7f}, 180.0f, 180.0f},
    {&ZAGLSGround::Fence, {8.7f, 0.0f, -4.35f}, 270.0f, 270.0f},
    {&ZAGLSGround::Fence, {-4.35f, 0.0f, 8.7f}, 180.0f, 360.0f},
    {&ZAGLSGround::Fence, {-8.7f, 0.0f, -4.35f}, 90.0f, 90.0f},
    {&ZAGLSGround::Fence, {4.35f, 0.0f, -8.7f}, 180.0f, 180.0f},
    {&ZAGLSGround::Fence, {8.7f, 0.0f, 4.35f}, 270.0f, 270.0f},
    {&ZAGLSGround::Fence, {4.35f, 0.0f, 8.7f}, 180.0f, 360.0f},
    {&ZAGLSGround::Fence, {-8.7f, 0.0f, 4.35f}, 90.0f, 90.0f},
    {&ZAGLSGround::WateringCan, {-2.5f, 0.0f, -2.1f}, 160.0f, 160.0f},
    {&ZAGLSGround::Slide, {5.0f, 0.0f, 5.0f}, 90.0f, 90.0f},
    {&ZAGLSGround::House, {1.9f, 0.0f, -1.9f}, 180.0f, 360.0f},
};

GLMaterialEngine& Materials() { return *CurrentGL->MaterialEngine; }
GLTextureEngine& Textures() { return *CurrentGL->TextureEngine; }

// Lights for something lying flat round the middle of the garden.
void LightTheFloor() { CurrentGL->LightingEngine->ApplyLights(true, true, Vector3{}, 1.0f, 1.0f, 1.0f); }

}  // namespace

ZAGLSGround::ZAGLSGround(ZAGLScene* scene) : ZOTObject(scene, "ZOT App Scene Ground", "ZAGLSGround"), Scene(scene) {}

ZAGLSGround::~ZAGLSGround()
{
    for (ZRDisplayList*& list : Lists)
        DeleteAndClear(list);
    DeleteAndClear(Material);
    for (ZRModel** model : {&Fence, &Slide, &WateringCan, &House})
        DeleteAndClear(*model);
    for (ZRTexture** texture : {&Grass, &Detail, &Lawn, &LawnBlade, &Stone, &StoneNormal})
        DeleteAndClear(*texture);
    for (ZRShader** shader : {&NormalMapVertex, &NormalMapFragment, &ShadowProgram, &LawnProgram})
        DeleteAndClear(*shader);
    DeleteAndClear(ShadowBuffer);
}

void ZAGLSGround::Initialize()
{
    ShadowBuffer = new GLOffScreenBuffer(this);
    ShadowBuffer->Init(kShadowSize, kShadowSize);
    NormalMapVertex = new ZRShader("shaders\\normalmap_vp", this);
    NormalMapFragment = new ZRShader("shaders\\normalmap_fp", this);
    ShadowProgram = new ZRShader("shaders\\shadow", this);
    LawnProgram = new ZRShader("shaders\\lawn", this);
    Grass = new ZRTexture("textures\\grass", this);
    Detail = new ZRTexture("textures\\detail", this);
    Lawn = new ZRTexture("textures\\lawn", this);
    LawnBlade = new ZRTexture("textures\\lawn_blade", this);
    Stone = new ZRTexture("textures\\stone\\stone", this);
    StoneNormal = new ZRTexture("textures\\stone\\stone_normal", this);
    Fence = new ZRModel(this, "models\\fence");
    Slide = new ZRModel(this, "models\\slide");
    WateringCan = new ZRModel(this, "models\\watering can");
    House = new ZRModel(this, "models\\house");
    Material = new ZRMaterial(this);
    for (ZRDisplayList*& list : Lists)
        list = new ZRDisplayList(this);
    CompileLawnTile();
}

void ZAGLSGround::CompileLawnTile()
{
    ZRDisplayList& tile = *Lists[1];
    tile.BeginCompile();
    glScalef(kLawnScale, kLawnScale, kLawnScale);
    for (int32_t k = 1; k <= kLawnLayers; ++k) {
        const float f = static_cast<float>(k) / kLawnLayers;
        LawnProgram->SetFragmentLocal(0, {0.1f * f, 0.0f, 0.0f}, f);
        glPushMatrix();
        glTranslatef(0.0f, kLawnLayerStep * static_cast<float>(k), 0.0f);
        FloorQuad(kGroundHalf, {{1.0f}, {9.0f, 0.01f * f * f, 0.02f * f * f}});
        glPopMatrix();
    }
    tile.EndCompile();
}

Vector3 ZAGLSGround::ShadowBase(const Vector3& sun)
{
    const float reach = 4.0f - 4.0f * sun.y;
    return {-sun.x * reach, 0.0f, -sun.z * reach};
}

float ZAGLSGround::ShadowAlpha(float sunHeight) { return sunHeight < 0.0f ? 1.0f + 5.0f * sunHeight : 1.0f; }

void ZAGLSGround::SetShadowRotation(const Vector3& rotation)
{
    ZOTMath& math = *CurrentEngine->Math;
    const Vector3 sun = Scene->Sky->SunDirection;
    Vector3 angles = rotation;
    if (angles.y < 180.0f)
        angles.y = 180.0f - angles.y;
    angles = math.Add(angles, math.AnglesTo(sun, Vector3{}));
    math.WrapAngle(angles.y);
    const Vector3 slant = math.Scale(math.DirectionFromAngles(angles), 4.0f - 4.0f * sun.y);
    ShadowProgram->SetLocal(0, slant);
}

// The casters are seen from straight above, flattened onto the ground by
// the shadow program, and drawn white on black without their materials.
void ZAGLSGround::Update()
{
    ShadowBuffer->Begin();
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    CurrentGL->Camera->SetPositionRotation(kShadowEye, kStraightDown);
    CurrentGL->ResetView();
    CurrentGL->LightingEngine->Disable();
    Materials().DisableMaterials();
    Textures().DisableAll();
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    ShadowProgram->Bind();
    ShadowProgram->SetLocal(0, ShadowBase(Scene->Sky->SunDirection));
    RenderShadowCasters();
    ShadowProgram->Unbind();
    Materials().EnableMaterials();
    CurrentGL->LightingEngine->Enable();
    ShadowBuffer->End();
}

void ZAGLSGround::RenderShadowCasters()
{
    Scene->Models->DrawShadowCasters();
    DrawProps(true);
}

void ZAGLSGround::Draw()
{
    {
        GLPassScope ground(TFramePass::Ground);
        DrawGrass();
        DrawPlate();
    }
    {
        GLPassScope props(TFramePass::Props);
        DrawProps(false);
    }
    {
        GLPassScope lawn(TFramePass::Lawn);
        DrawLawn();
    }
    GLPassScope shadow(TFramePass::Ground);
    DrawShadow();
}

void ZAGLSGround::DrawGrass()
{
    GLMaterialEngine& materials = Materials();
    materials.Reset();
    materials.SetUnlit();
    materials.SetDepthTest(false);
    materials.SetTexture(Grass);
    materials.SetLighting(true, true);
    materials.SetDiffuse(kWhite);
    materials.Apply();
    LightTheFloor();
    Textures().Bind(Detail, kDetailUnit);
    FloorQuad(kGroundHalf, {{3.0f}, {30.0f}});
}

void ZAGLSGround::DrawPlate()
{
    GLMaterialEngine& materials = Materials();
    materials.Reset();
    materials.SetDepthTest(false);
    materials.SetCulling(false, false);
    materials.SetLighting(true, true);
    materials.SetColors(kWhite, kWhite, kBlack, kShininess, kWhite);
    materials.SetTexture(Stone);
    materials.Apply();
    LightTheFloor();
    Textures().Bind(StoneNormal, kDetailUnit);
    NormalMapVertex->Bind();
    NormalMapFragment->Bind();
    NormalMapFragment->SetFragmentLocal(1, CurrentEngine->Math->Scale(Scene->CameraRotation, -1.0f), 0.0f);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    FloorQuad(kPlateHalf, {{4.0f}, {4.0f}});
    NormalMapVertex->Unbind();
    NormalMapFragment->Unbind();
}

bool ZAGLSGround::HouseHidden(const Vector3& camera)
{
    return camera.y < kHouseCameraHeight &&
           ((camera.z < -2.5f && camera.x > -2.0f) || (camera.z < 1.0f && camera.x > 2.4f));
}

void ZAGLSGround::DrawProps(bool shadowMode)
{
    if (!Scene->Params.RenderEnvironment)
        return;
    Materials().Reset();
    Materials().Apply();
    GLModelEngine& models = *CurrentGL->ModelEngine;
    for (const TProp& prop : kProps) {
        ZRModel* model = this->*prop.Model;
        if (!shadowMode && model == House && HouseHidden(Scene->CameraPosition))
            continue;
        SetShadowRotation({0.0f, prop.ShadowYaw, 0.0f});
        if (shadowMode)
            models.SetMaterialFlags(false, true);
        models.DrawModel(model, prop.Position, 1.0f, {0.0f, prop.Yaw, 0.0f});
    }
}

TLawnOrder ZAGLSGround::LawnOrder(float cameraYaw)
{
    const bool iUp = cameraYaw <= 180.0f;
    const bool jUp = cameraYaw <= 90.0f || cameraYaw > 270.0f;
    TLawnOrder order;
    size_t next = 0;
    for (int32_t a = -kLawnReach; a <= kLawnReach; ++a) {
        for (int32_t b = -kLawnReach; b <= kLawnReach; ++b) {
            const TLawnTile tile{iUp ? a : -a, jUp ? b : -b};
            if (tile.I != 0 || tile.J != 0)
                order[next++] = tile;
        }
    }
    return order;
}

void ZAGLSGround::DrawLawn()
{
    if (!Scene->Params.RenderLawn)
        return;
    GLMaterialEngine& materials = Materials();
    materials.Reset();
    materials.SetUnlit();
    materials.SetDepthTest(true);
    materials.SetTexture(Grass);
    materials.SetLighting(true, true);
    materials.SetColorBlend(ZOTGL::kBlendAverage, kWhite, 1.0f);
    materials.SetColors(kBlack, kWhite, kBlack, kShininess, kBlack);
    materials.Apply();
    Textures().Bind(Lawn, kDetailUnit);
    LawnProgram->Bind();
    const GLFrustum& frustum = *CurrentGL->Camera->Frustum;
    for (const TLawnTile& tile : LawnOrder(Scene->CameraRotation.y)) {
        const Vector3 box{kTileBoxSpacing * tile.I, 0.0f, kTileBoxSpacing * tile.J};
        if (!frustum.BoxVisible(box, kTileBoxHalf, kTileBoxHalf, kTileBoxTop, 0.0f))
            continue;
        glPushMatrix();
        glTranslatef(kTileSpacing * tile.I, 0.0f, kTileSpacing * tile.J);
        Lists[1]->Call();
        glPopMatrix();
    }
    LawnProgram->Unbind();
}

// The shadow picture is white where shadow falls; drawn subtractively over
// the ground, a few slightly shifted copies soften its edge.
void ZAGLSGround::DrawShadow()
{
    glPushMatrix();
    GLMaterialEngine& materials = Materials();
    materials.Reset();
    materials.SetUnlit();
    materials.SetTexture(ShadowBuffer->GetTexture());
    materials.SetLighting(false, false);
    materials.SetDepthTest(true);
    materials.SetColorBlend(ZOTGL::kBlendNegative, kWhite, 1.0f);
    materials.Apply();
    const float alpha = ShadowAlpha(Scene->Sky->SunDirection.y);
    if (alpha > 0.0f && Scene->Params.RenderShadow && ShadowBuffer->GetTexture()) {
        glScalef(kGroundHalf, kGroundHalf, kGroundHalf);
        for (int32_t i = -1; i <= 1; ++i) {
            for (int32_t j = -1; j <= 1; ++j) {
                const bool centre = i == 0 && j == 0;
                const bool side = (i == 0) != (j == 0);
                if (!centre && !(side && Scene->Params.BlurredShadow))
                    continue;
                const float weight =
                    centre ? (Scene->Params.BlurredShadow ? kShadowCentreWeight : kShadowSingleWeight)
                           : kShadowSideWeight;
                glPushMatrix();
                glTranslatef(kShadowTapStep * i, kShadowTapStep * j, 0.0f);
                glColor4f(weight, weight, weight, alpha);
                FloorQuad(1.0f, {{1.0f, 0.0f, 0.0f, true}});
                glPopMatrix();
            }
        }
    }
    glPopMatrix();
}
