#include "gl/gl_camera.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "core/zot_console.h"
#include "core/zot_main.h"
#include "gl/gl_frustum.h"
#include "gl/gl_main.h"
#include "math/zot_math.h"

namespace {

constexpr double kDefaultFieldOfView = 45.0;
constexpr double kDefaultNearPlane = 0.4;
constexpr double kDefaultFarPlane = 200.0;

// The camera exists before the GL module has made any context.
bool HasGLContext() { return CurrentGL && CurrentGL->LastContext >= 0; }

// A zero height (a minimised window) would divide by zero.
double ViewportAspect()
{
    const int32_t height = CurrentGL->Settings.Height;
    if (height == 0)
        return 1.0;
    return static_cast<double>(CurrentGL->Settings.Width) / height;
}

}  // namespace

GLCamera::GLCamera(ZOTOwner* parent) : ZOTObject(parent, "ZOT GL Camera", "GLCamera")
{
    Frustum = new GLFrustum(this);
    Enable();
}

GLCamera::~GLCamera()
{
    DeleteAndClear(Frustum);
}

void GLCamera::Init()
{
    LogLine("ZOT GL: Camera initialized!");
    Frustum->Init();
}

void GLCamera::SetPositionRotation(const Vector3& position, const Vector3& rotation)
{
    Position = position;
    Rotation = rotation;
}

void GLCamera::SetColorFilter(const Color3& colour) { ColorFilter = colour; }

void GLCamera::SetZoom(float zoom) { Zoom = zoom; }

void GLCamera::SetAspectFactor(float factor) { AspectFactor = factor; }

void GLCamera::SetClipping(float nearPlane, float farPlane)
{
    NearPlane = nearPlane;
    FarPlane = farPlane;
}

void GLCamera::SetScale(const Vector3& scale) { Scale = scale; }

void GLCamera::SetFieldOfView(float degrees) { FieldOfView = degrees; }

void GLCamera::Enable()
{
    Enabled = true;
    UpdateProjection();
}

void GLCamera::UpdateProjection()
{
    if (!HasGLContext())
        return;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    LoadPerspective();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void GLCamera::LoadPerspective() const
{
    if (!Enabled) {
        gluPerspective(kDefaultFieldOfView, ViewportAspect(), kDefaultNearPlane, kDefaultFarPlane);
        return;
    }
    gluPerspective(FieldOfView * 0.5 / Zoom, ViewportAspect() * AspectFactor, NearPlane, FarPlane);
}

void GLCamera::Apply()
{
    glLoadIdentity();
    if (Enabled)
        MultiplyViewTransform();
    Frustum->Update();
}

void GLCamera::MultiplyViewTransform() const
{
    glRotatef(-Rotation.z, 0.0f, 0.0f, 1.0f);
    glRotatef(-Rotation.x, 1.0f, 0.0f, 0.0f);
    glRotatef(-Rotation.y, 0.0f, 1.0f, 0.0f);
    glTranslatef(-Position.x, -Position.y, -Position.z);
    glScalef(Scale.x, Scale.y, Scale.z);
}

float GLCamera::DistanceTo(const Vector3& point) const { return CurrentEngine->Math->Distance(Position, point); }
