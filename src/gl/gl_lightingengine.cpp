#include "gl/gl_lightingengine.h"

#include <GL/gl.h>

#include <algorithm>

#include "core/zot_console.h"
#include "core/zot_constant.h"
#include "core/zot_main.h"
#include "gl/gl_camera.h"
#include "gl/gl_main.h"
#include "math/zot_math.h"

namespace {

constexpr float kSunRange = 1.0f;
constexpr float kStartFarFactor = 2.0f;

const ZOTMath& Math() { return *CurrentEngine->Math; }

void SetLightColour(GLenum light, GLenum which, const Color3& colour)
{
    const GLfloat values[4] = {colour.r, colour.g, colour.b, 1.0f};
    glLightfv(light, which, values);
}

void SetLightPosition(GLenum light, const Vector3& position, bool directional)
{
    const GLfloat values[4] = {position.x, position.y, position.z, directional ? 0.0f : 1.0f};
    glLightfv(light, GL_POSITION, values);
}

void SetAttenuation(GLenum light, bool directional, float range)
{
    glLightf(light, GL_CONSTANT_ATTENUATION, directional ? 1.0f : 0.0f);
    glLightf(light, GL_LINEAR_ATTENUATION, 0.0f);
    glLightf(light, GL_QUADRATIC_ATTENUATION, directional ? 0.0f : 1.0f / range);
}

}  // namespace

GLLightingEngine::GLLightingEngine(ZOTOwner* parent) : ZOTObject(parent, "ZOT GL Lighting Engine", "GLLightingEngine")
{
    Enable();
}

void GLLightingEngine::Init()
{
    ClearStaticLights();
    ClearDynamicLights();
    SetFarLights(true, kStartFarFactor);
    LogLine("ZOT GL: Lighting Engine initialized!");
}

void GLLightingEngine::Enable() { Enabled = true; }

void GLLightingEngine::Disable()
{
    Enabled = false;
    glDisable(GL_LIGHTING);
}

void GLLightingEngine::SetFarLights(bool on, float factor)
{
    FarLightsDirectional = on;
    FarFactor = factor;
}

TLight GLLightingEngine::MakeLight(std::string_view name, const Vector3& position, int32_t type,
                                   const Color3& diffuse, const Color3& ambient, float range)
{
    TLight light{CutText(name, kNameLength), true, position, type, diffuse, ambient, range};
    if (type == kCameraLight) {
        light.Type = kDirectionalLight;
        light.Position = CameraLightDirection();
    }
    if (light.Type == kDirectionalLight)
        light.Position = Math().Normalize(light.Position);
    return light;
}

Vector3 GLLightingEngine::CameraLightDirection()
{
    const Vector3 rotation = CurrentGL && CurrentGL->Camera ? CurrentGL->Camera->Rotation : Vector3{};
    return Math().Scale(Math().DirectionFromAngles(rotation), -1.0f);
}

int32_t GLLightingEngine::AddStaticLight(std::string_view name, const Vector3& position, int32_t type,
                                         const Color3& diffuse, const Color3& ambient, float range)
{
    StaticLights.push_back(MakeLight(name, position, type, diffuse, ambient, range));
    return LastStaticLight();
}

int32_t GLLightingEngine::AddDynamicLight(std::string_view name, const Vector3& position, int32_t type,
                                          const Color3& diffuse, const Color3& ambient, float range)
{
    DynamicLights.push_back(MakeLight(name, position, type, diffuse, ambient, range));
    return LastDynamicLight();
}

void GLLightingEngine::SetSun(const Vector3& direction, const Color3& diffuse, const Color3& ambient)
{
    AddStaticLight("Sun", direction, kDirectionalLight, diffuse, ambient, kSunRange);
}

void GLLightingEngine::ClearStaticLights() { StaticLights.clear(); }

void GLLightingEngine::ClearDynamicLights() { DynamicLights.clear(); }

Color3 GLLightingEngine::ApplyLights(bool useStatic, bool useDynamic, const Vector3& position, float radius,
                                     float up, float down)
{
    if (!Enabled)
        return kWhite;
    CurrentGL->EnableLighting(useStatic || useDynamic);
    for (int32_t i = 0; i < kGLLights; ++i)
        glDisable(GL_LIGHT0 + i);
    TTarget target{position, std::max({down, up, radius}), radius, up, down};
    target.Centre.y += (up - down) / 2.0f;
    Color3 sum;
    int32_t next = 0;
    if (useStatic)
        ApplyList(StaticLights, target, next, sum);
    if (useDynamic)
        ApplyList(DynamicLights, target, next, sum);
    return sum;
}

void GLLightingEngine::ApplyList(const std::vector<TLight>& lights, const TTarget& target, int32_t& next,
                                 Color3& sum) const
{
    for (const TLight& light : lights) {
        if (!light.Enabled || !Reaches(light, target))
            continue;
        if (next < kGLLights)
            sum = Math().Color->AddColor(sum, SetupLight(light, next, target));
        ++next;
    }
}

bool GLLightingEngine::Reaches(const TLight& light, const TTarget& target) const
{
    if (light.Type == kDirectionalLight)
        return true;
    // Without a positive reach the attenuation below would divide by zero.
    if (light.Range <= 0.0f)
        return false;
    return Math().InCylinder(light.Position, target.Centre, light.Range, target.Radius, target.Up, target.Down);
}

bool GLLightingEngine::IsFar(const TLight& light, const TTarget& target) const
{
    if (light.Type != kPointLight || target.Size <= 0.0f || !FarLightsDirectional)
        return false;
    return Math().Distance(target.Centre, light.Position) > target.Size * FarFactor;
}

Color3 GLLightingEngine::SetupLight(const TLight& light, int32_t index, const TTarget& target) const
{
    Color3 diffuse = light.Diffuse;
    Vector3 position = light.Position;
    bool directional = light.Type == kDirectionalLight;
    if (IsFar(light, target)) {
        const float d = std::min(Math().Distance(target.Centre, light.Position), light.Range) / light.Range;
        directional = true;
        position = Math().Normalize(Math().Subtract(target.Centre, light.Position));
        diffuse = Math().Color->ScaleColor(diffuse, 1.0f - d * d);
    }
    const GLenum gl = GL_LIGHT0 + index;
    glEnable(gl);
    SetLightColour(gl, GL_AMBIENT, light.Ambient);
    SetLightColour(gl, GL_DIFFUSE, diffuse);
    SetLightPosition(gl, position, directional);
    SetLightColour(gl, GL_SPECULAR, light.Diffuse);
    SetAttenuation(gl, directional, light.Range);
    return Math().Color->AddColor(diffuse, light.Ambient);
}
