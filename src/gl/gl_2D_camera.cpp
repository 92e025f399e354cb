#include "gl/gl_2D_camera.h"

#include <GL/gl.h>

#include "core/zot_console.h"
#include "core/zot_main.h"

GL2DCamera::GL2DCamera(ZOTOwner* parent) : ZOTObject(parent, "ZOT GL 2D Camera", "GL2DCamera") {}

void GL2DCamera::Init() { LogLine("ZOT GL: GL 2D Camera initialized!"); }

void GL2DCamera::Apply() const
{
    glLoadIdentity();
    if (!Enabled)
        return;
    if (FlipY)
        glScalef(1.0f, -1.0f, 1.0f);
    glScalef(Zoom * Scale.x, Zoom * Scale.y, Zoom);
    glTranslatef(-Position.x, -Position.y, 0.0f);
    glRotatef(-Rotation, 0.0f, 0.0f, 1.0f);
}

void GL2DCamera::SetPosition(const Point2& position) { Position = position; }

void GL2DCamera::SetRotation(float degrees) { Rotation = degrees; }

void GL2DCamera::SetZoom(float zoom) { Zoom = zoom; }

void GL2DCamera::SetScale(const Point2& scale) { Scale = scale; }

void GL2DCamera::SetFlipY(bool flip) { FlipY = flip; }

void GL2DCamera::SetEnabled(bool enabled) { Enabled = enabled; }
