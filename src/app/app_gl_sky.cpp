#include "app/app_gl_sky.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "app/app_gl_scene.h"
#include "core/zot_main.h"
#include "core/zot_timer.h"
#include "gl/gl_lightingengine.h"
#include "gl/gl_main.h"
#include "gl/gl_skybox.h"
#include "math/zot_math.h"
#include "resource/resource_texture.h"

namespace {

using TKeys = std::array<Color3, 7>;

// Where each key stands on the day value s; the midday key holds from -0.2
// to 0.2.
struct TStop {
    float Position;
    size_t Key;
};
constexpr TStop kStops[] = {{-0.75f, 0}, {-0.5f, 1}, {-0.4f, 2}, {-0.2f, 3},
                            {0.2f, 3},   {0.4f, 4},  {0.5f, 5},  {0.75f, 6}};

constexpr TKeys kAmbient{{{0.1f, 0.1f, 0.2f}, {0.4f, 0.3f, 0.2f}, {0.5f, 0.5f, 0.4f}, {0.5f, 0.5f, 0.5f},
                          {0.5f, 0.4f, 0.3f}, {0.3f, 0.1f, 0.1f}, {0.1f, 0.1f, 0.2f}}};
constexpr TKeys kDiffuse{{{0.0f, 0.0f, 0.0f}, {0.4f, 0.3f, 0.3f}, {0.5f, 0.5f, 0.5f}, {0.5f, 0.5f, 0.5f},
                          {0.5f, 0.4f, 0.4f}, {0.3f, 0.2f, 0.2f}, {0.0f, 0.0f, 0.0f}}};
constexpr TKeys kSky{{{0.0f, 0.0f, 0.1f}, {1.0f, 0.8f, 0.2f}, {0.3f, 0.7f, 1.0f}, {0.5f, 0.8f, 1.0f},
                      {0.3f, 0.7f, 0.9f}, {0.7f, 0.4f, 0.1f}, {0.0f, 0.0f, 0.1f}}};
constexpr Color3 kCameraLight{0.5f, 0.5f, 0.5f};
constexpr float kStarsFrom = 0.75f;
constexpr float kStarsRamp = 4.0f;
constexpr float kStarTurnRate = 0.1f;

Color3 Mix(const Color3& a, const Color3& b, float f)
{
    return {a.r * (1.0f - f) + b.r * f, a.g * (1.0f - f) + b.g * f, a.b * (1.0f - f) + b.b * f};
}

// The colour of keys at day value s: linear between the stops around s.
Color3 Gradient(const TKeys& keys, float s)
{
    if (s < kStops[0].Position)
        return keys.front();
    for (size_t i = 0; i + 1 < std::size(kStops); ++i) {
        const TStop& lower = kStops[i];
        const TStop& upper = kStops[i + 1];
        if (s < upper.Position)
            return Mix(keys[lower.Key], keys[upper.Key], (s - lower.Position) / (upper.Position - lower.Position));
    }
    return keys.back();
}

}  // namespace

ZAGLSSky::ZAGLSSky(ZAGLScene* scene) : ZOTObject(scene, "ZOT App Scene Sky", "ZAGLSSky"), Scene(scene) {}

void ZAGLSSky::Init(bool withSun)
{
    SkyBox = new GLSkyBox(this);
    SkyBox->Load("textures\\skybox", withSun);
    Stars = new ZRTexture("textures\\skybox\\stars", this);
}

TSkyState ZAGLSSky::StateAt(float t)
{
    TSkyState state;
    const float s = t * std::fabs(t);
    const float a = std::fabs(s);
    state.DayValue = s;
    state.SunDirection.x = s < 0.0f ? 1.0f - 2.0f * std::fabs(s + 0.5f) : 2.0f * std::fabs(t - 0.5f) - 1.0f;
    state.SunDirection.y = 1.0f - 2.0f * a;
    state.SunDirection.z = 1.0f - std::max(2.0f * a, 0.0f);
    state.Ambient = Gradient(kAmbient, s);
    state.Diffuse = Gradient(kDiffuse, s);
    state.Sky = Gradient(kSky, s);
    return state;
}

float ZAGLSSky::StarStrength(float timeOfDay) { return (std::fabs(timeOfDay) - kStarsFrom) * kStarsRamp; }

void ZAGLSSky::Render()
{
    DrawSkies();
    UpdateLight();
}

void ZAGLSSky::DrawSkies()
{
    SkyBox->SetBlend(ZOTGL::kBlendOpaque, 1.0f);
    SkyBox->SetBoxRotation({});
    SkyBox->Draw();
    const float strength = StarStrength(Scene->TimeOfDay);
    if (strength <= 0.0f)
        return;
    const float turn = CurrentEngine->Timer->GetElapsedTime() * kStarTurnRate;
    SkyBox->SetBlend(ZOTGL::kBlendAverage, strength);
    SkyBox->SetBoxRotation({4.0f * turn, 2.5f * turn, turn});
    SkyBox->SetColorAndSize({1.0f, 1.0f, 1.0f}, 1.0f);
    SkyBox->DrawWith(Stars, Stars, nullptr, Stars, Stars, Stars, Stars);
}

void ZAGLSSky::UpdateLight()
{
    TSkyState state = StateAt(Scene->TimeOfDay);
    if (Scene->CameraLight) {
        state.SunDirection = CurrentEngine->Math->Scale(CurrentEngine->Math->DirectionFromAngles(Scene->CameraRotation), -1.0f);
        state.Ambient = kCameraLight;
        state.Diffuse = kCameraLight;
    }
    SunDirection = CurrentEngine->Math->Normalize(state.SunDirection);
    GLLightingEngine& lights = *CurrentGL->LightingEngine;
    lights.ClearStaticLights();
    lights.SetSun(SunDirection, state.Diffuse, state.Ambient);
    SkyBox->SetSun(SunDirection, {1.0f, 1.0f, 1.0f}, 1.0f, 0.3f * std::fabs(state.DayValue) + 0.1f, false);
    SkyBox->SetColorAndSize(state.Sky, 1.0f);
}
