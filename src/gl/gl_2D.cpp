#include "gl/gl_2D.h"

#include <GL/gl.h>

#include "core/zot_console.h"
#include "core/zot_main.h"
#include "core/zot_timer.h"
#include "gl/gl_2D_camera.h"
#include "gl/gl_2D_console.h"
#include "gl/gl_2D_font.h"
#include "gl/gl_2D_screen.h"
#include "gl/gl_main.h"
#include "gl/gl_materialengine.h"

namespace {

constexpr float kDefaultWidth = 640.0f;
constexpr float kDefaultHeight = 480.0f;
constexpr float kDefaultDepth = 100.0f;

}  // namespace

GL_2DSystem::GL_2DSystem(ZOTOwner* parent) : ZOTObject(parent, "ZOT GL 2D", "GL_2DSystem")
{
    Fonts = new GLFont(this);
    Console = new GLConsole(this);
    Screen = new GLScreen(this);
    Camera2D = new GL2DCamera(this);
    SetSize(false, true, kDefaultWidth, kDefaultHeight);
    SetDepth(kDefaultDepth);
}

GL_2DSystem::~GL_2DSystem()
{
    DeleteAndClear(Fonts);
    DeleteAndClear(Console);
    DeleteAndClear(Screen);
    DeleteAndClear(Camera2D);
}

void GL_2DSystem::Init()
{
    LogLine("ZOT GL: GL 2D initialized!");
    Fonts->Init();
    Console->Init();
    Screen->Init();
    Camera2D->Init();
}

void GL_2DSystem::Render()
{
    Begin2D();
    Console->Render();
    Screen->Render();
    End2D();
}

void GL_2DSystem::UpdateAspect()
{
    if (!KeepAspect || !CurrentGL)
        return;
    const DisplaySettings& view = CurrentGL->Settings;
    // A minimised window has no aspect to follow: the last height stays.
    if (view.Width <= 0 || view.Height <= 0)
        return;
    Height = static_cast<float>(view.Height) * (Width / static_cast<float>(view.Width));
}

void GL_2DSystem::Begin2D()
{
    if (In2D)
        return;
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    if (Centered)
        glOrtho(-Width / 2, Width / 2, Height / 2, -Height / 2, -Depth, Depth);
    else
        glOrtho(0, Width, Height, 0, -Depth, Depth);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    if (Camera2D->Enabled)
        Camera2D->Apply();
    In2D = true;
}

void GL_2DSystem::End2D()
{
    if (!In2D)
        return;
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    In2D = false;
}

void GL_2DSystem::SetSize(bool centered, bool keepAspect, float width, float height)
{
    Centered = centered;
    KeepAspect = keepAspect;
    Width = width;
    Height = height;
    UpdateAspect();
}

void GL_2DSystem::SetDepth(float depth) { Depth = depth; }

void GL_2DSystem::ApplyFlatMaterial(int32_t blendMode, const Color3& colour, float alpha, ZRTexture* texture)
{
    GLMaterialEngine& materials = *CurrentGL->MaterialEngine;
    materials.Reset();
    materials.SetUnlit();
    materials.SetColorBlend(blendMode, colour, alpha);
    if (texture)
        materials.SetTexture(texture);
    materials.Apply();
}

void GL_2DSystem::EmitQuad(const TQuad2D& quad)
{
    glTexCoord2f(quad.SLeft, quad.TTop);
    glVertex2f(quad.X1, quad.Y1);
    glTexCoord2f(quad.SRight, quad.TTop);
    glVertex2f(quad.X2, quad.Y1);
    glTexCoord2f(quad.SRight, quad.TBottom);
    glVertex2f(quad.X2, quad.Y2);
    glTexCoord2f(quad.SLeft, quad.TBottom);
    glVertex2f(quad.X1, quad.Y2);
}

void GL_2DSystem::DrawQuad(int32_t blendMode, const Color3& colour, float x1, float y1, float x2, float y2,
                           float alpha)
{
    ApplyFlatMaterial(blendMode, colour, alpha, nullptr);
    glBegin(GL_QUADS);
    EmitQuad(TQuad2D{x1, y1, x2, y2});
    glEnd();
}

void GL_2DSystem::DrawRect(const Color3& colour, float alpha, float x1, float y1, float x2, float y2)
{
    DrawQuad(ZOTGL::kBlendAverage, colour, x1, y1, x2, y2, alpha);
}

void GL_2DSystem::DrawTexturedQuad(ZRTexture* texture, int32_t blendMode, float x1, float y1, float x2, float y2,
                                   const Color3& colour, float alpha)
{
    ApplyFlatMaterial(blendMode, colour, alpha, texture);
    glBegin(GL_QUADS);
    EmitQuad(TQuad2D{x1, y1, x2, y2});
    glEnd();
}

void GL_2DSystem::InitFade(Fade& fade, int32_t state)
{
    fade = Fade{};
    fade.State = state;
    fade.Value = state == Fade::kRising ? fade.Max : fade.Min;
}

float GL_2DSystem::UpdateFade(Fade& fade)
{
    const ZOTTimer& timer = *CurrentEngine->Timer;
    if (fade.State == Fade::kRising) {
        timer.AdvanceByScaled(fade.Value, fade.Speed);
        if (fade.Value >= fade.Max) {
            fade.Value = fade.Max;
            fade.State = Fade::kStill;
        }
    } else if (fade.State == Fade::kFalling) {
        timer.RetreatByScaled(fade.Value, fade.Speed);
        if (fade.Value <= fade.Min) {
            fade.Value = fade.Min;
            fade.State = Fade::kStill;
        }
    }
    return fade.Value;
}

bool GL_2DSystem::IsHidden(const Fade& fade) { return fade.Value == fade.Min && fade.State != Fade::kRising; }

void GL_2DSystem::Show(Fade& fade) { fade.State = Fade::kRising; }

void GL_2DSystem::Hide(Fade& fade) { fade.State = Fade::kFalling; }
