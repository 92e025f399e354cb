#include "gl/gl_2D_screen.h"

#include <GL/gl.h>

#include <algorithm>

#include "core/zot_console.h"
#include "core/zot_main.h"
#include "gl/gl_camera.h"
#include "gl/gl_main.h"
#include "gl/gl_materialengine.h"
#include "gl/gl_textureengine.h"
#include "math/math_color.h"
#include "math/zot_math.h"
#include "resource/resource_texture.h"

namespace {

// The picture spans -1 to 1 and its background twice that.
constexpr float kPictureExtent = 1.0f;
constexpr float kBackgroundExtent = 2.0f;

}  // namespace

GLScreen::GLScreen(GL_2DSystem* parent) : ZOTObject(parent, "ZOT GL 2D Screen", "GLScreen"), System(parent)
{
    GL_2DSystem::InitFade(Brightness, Fade::kRising);
}

void GLScreen::Init()
{
    GL_2DSystem::InitFade(Brightness, Fade::kRising);
    ScreenColor = kWhite;
    LogLine("ZOT GL: GL Screen initialized!");
}

float GLScreen::Average(const Color3& colour) { return CurrentEngine->Math->Color->Brightness(colour); }

void GLScreen::Render()
{
    if (!Enabled)
        return;
    GL_2DSystem::UpdateFade(Brightness);
    const Color3 filter = CurrentGL->Camera->ColorFilter;
    if (Average(filter) < 1.0f)
        FillScreen(filter, 1.0f);
    if (Average(ScreenColor) < 1.0f)
        FillScreen(ScreenColor, 1.0f);
    if (Brightness.Value < 1.0f)
        FillScreen(kBlack, 1.0f - Brightness.Value);
}

void GLScreen::FillScreen(const Color3& colour, float alpha)
{
    const bool entered = !System->IsIn2D();
    System->Begin2D();
    const float left = System->Centered ? -System->Width / 2 : 0.0f;
    const float top = System->Centered ? -System->Height / 2 : 0.0f;
    System->DrawQuad(ZOTGL::kBlendNegative, colour, left, top, left + System->Width, top + System->Height, alpha);
    if (entered)
        System->End2D();
}

void GLScreen::SetScreenColor(const Color3& colour) { ScreenColor = colour; }

void GLScreen::ShowPicture(const std::string& fileName, const Color3& colour)
{
    ZRTexture picture(fileName, this);
    picture.SetClamp(true, true);
    const bool entered = !System->IsIn2D();
    System->Begin2D();
    DrawPicture(picture, colour);
    if (entered)
        System->End2D();
}

void GLScreen::DrawPicture(ZRTexture& picture, const Color3& colour)
{
    glPushMatrix();
    if (!System->Centered)
        glTranslatef(System->Width / 2, System->Height / 2, 0.0f);
    const float scale = std::min(System->Width, System->Height) / 2;
    glScalef(scale, scale, scale);
    System->DrawQuad(ZOTGL::kBlendAverage, colour, -kBackgroundExtent, -kBackgroundExtent, kBackgroundExtent,
                     kBackgroundExtent, 1.0f);
    GL_2DSystem::ApplyFlatMaterial(ZOTGL::kBlendAverage, kWhite, 1.0f, &picture);
    glBegin(GL_QUADS);
    GL_2DSystem::EmitQuad(TQuad2D{-kPictureExtent, -kPictureExtent, kPictureExtent, kPictureExtent});
    glEnd();
    glPopMatrix();
}

void GLScreen::DrawScreenTexture(ZRTexture* texture)
{
    // Without a size there is no part of the texture to show.
    if (!texture || texture->Width <= 0 || texture->Height <= 0)
        return;
    const DisplaySettings window = CurrentGL->GetContextInfo().Settings;
    glPushMatrix();
    glLoadIdentity();
    GLMaterialEngine& materials = *CurrentGL->MaterialEngine;
    materials.Reset();
    materials.SetUnlit();
    materials.SetTexture(texture);
    materials.Apply();
    CurrentGL->TextureEngine->AlphaTest(false);
    if (System->Centered)
        glTranslatef(-System->Width / 2, -System->Height / 2, 0.0f);
    TQuad2D quad{0.0f, 0.0f, System->Width, System->Height};
    quad.SRight = static_cast<float>(window.Width) / static_cast<float>(texture->Width);
    quad.TTop = static_cast<float>(window.Height) / static_cast<float>(texture->Height);
    glBegin(GL_QUADS);
    GL_2DSystem::EmitQuad(quad);
    glEnd();
    glPopMatrix();
}
