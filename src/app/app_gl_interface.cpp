#include "app/app_gl_interface.h"

#include "core/zot_main.h"
#include "core/zot_timer.h"
#include "gl/gl_2D.h"
#include "gl/gl_main.h"
#include "resource/resource_texture.h"

namespace {

constexpr float kShownFor = 2.0f;
// The logo's place on the 640 x 480 overlay: its picture is 128 x 32.
constexpr float kLeft = 502.0f;
constexpr float kTop = 438.0f;
constexpr float kRight = 630.0f;
constexpr float kBottom = 470.0f;

}  // namespace

ZAGLSInterface::ZAGLSInterface(ZOTOwner* parent) : ZOTObject(parent, "ZOT App Scene Interface", "ZAGLSInterface") {}

void ZAGLSInterface::Initialize() { Logo = new ZRTexture("textures\\interface\\qel", this); }

float ZAGLSInterface::LogoAlpha(float elapsedSeconds)
{
    return elapsedSeconds <= kShownFor ? 1.0f : 1.0f - (elapsedSeconds - kShownFor);
}

void ZAGLSInterface::Draw()
{
    GL_2DSystem& overlay = *CurrentGL->System2D;
    overlay.Begin2D();
    const float alpha = LogoAlpha(CurrentEngine->Timer->GetElapsedTime());
    if (alpha > 0.0f)
        overlay.DrawTexturedQuad(Logo, ZOTGL::kBlendAverage, kLeft, kTop, kRight, kBottom, {1.0f, 1.0f, 1.0f}, alpha);
    overlay.End2D();
}
