#include "gl/gl_skybox.h"

#include <GL/gl.h>

#include "core/zot_main.h"
#include "gl/gl_camera.h"
#include "gl/gl_main.h"
#include "gl/gl_materialengine.h"
#include "gl/gl_textureengine.h"
#include "math/zot_math.h"
#include "resource/resource_texture.h"

namespace {

// The quad every face and the sun are drawn with: z = depth, corners
// counter-clockwise from the lower left, the whole texture on it.
void UnitQuad(float depth)
{
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(-1.0f, -1.0f, depth);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(1.0f, -1.0f, depth);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(1.0f, 1.0f, depth);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(-1.0f, 1.0f, depth);
    glEnd();
}

float Random(float min, float max) { return CurrentEngine->Math->Random->RandomFloat(min, max); }

}  // namespace

GLSkyBox::GLSkyBox(ZOTOwner* parent) : ZOTObject(parent, "ZOT GL Sky Box", "GLSkyBox") {}

GLSkyBox::~GLSkyBox() { ReleaseOwnTextures(); }

std::array<ZRTexture**, 7> GLSkyBox::Slots() { return {&North, &East, &South, &West, &Top, &Bottom, &SunTexture}; }

void GLSkyBox::ReleaseOwnTextures()
{
    for (ZRTexture** slot : Slots()) {
        if (*slot && HasChild(*slot))
            DeleteAndClear(*slot);
    }
}

void GLSkyBox::Load(const std::string& baseName, bool withSun)
{
    ReleaseOwnTextures();
    const std::string base = baseName.empty() || baseName.back() == '\\' ? baseName : baseName + "\\";
    const auto load = [&](ZRTexture*& slot, const char* face) {
        slot = new ZRTexture(base + face, this);
        slot->SetClamp(true, true);
    };
    load(North, "north");
    load(East, "east");
    load(South, "south");
    load(West, "west");
    load(Top, "top");
    load(Bottom, "bottom");
    if (withSun)
        load(SunTexture, "sun");
}

void GLSkyBox::SetColorAndSize(const Color3& color, float size)
{
    Color = color;
    Size = size;
}

void GLSkyBox::SetBlend(int32_t mode, float alpha)
{
    BlendMode = mode;
    Alpha = alpha;
}

void GLSkyBox::SetSun(const Vector3& direction, const Color3& color, float alpha, float size, bool glow)
{
    SunDirection = direction;
    SunColor = color;
    SunAlpha = alpha;
    SunSize = size;
    SunGlow = glow;
}

void GLSkyBox::Draw() { DrawWith(North, East, SunTexture, Bottom, Top, West, South); }

// Centred on the eye, so moving the camera never brings a face nearer.
void GLSkyBox::DrawWith(ZRTexture* north, ZRTexture* east, ZRTexture* sun, ZRTexture* bottom, ZRTexture* top,
                        ZRTexture* west, ZRTexture* south)
{
    ZOTGL& gl = *CurrentGL;
    GLMaterialEngine& materials = *gl.MaterialEngine;
    materials.Reset();
    materials.SetUnlit();
    materials.SetColorBlend(BlendMode, Color, Alpha);
    materials.Apply();
    glPushMatrix();
    gl.ResetView();
    gl.Translate(gl.Camera->Position);
    gl.Rotate(BoxRotation);
    gl.ScaleUniform(Size);
    gl.Scale(BoxScale);
    gl.SetColor(Color, Alpha);
    DrawFace(north, {0.0f, 0.0f, 0.0f});
    DrawFace(east, {0.0f, 270.0f, 0.0f});
    DrawFace(south, {0.0f, 180.0f, 0.0f});
    DrawFace(west, {0.0f, 90.0f, 0.0f});
    DrawFace(top, {-90.0f, 0.0f, 0.0f});
    DrawFace(bottom, {90.0f, 0.0f, 0.0f});
    if (sun)
        DrawSun(sun);
    glPopMatrix();
}

void GLSkyBox::DrawFace(ZRTexture* texture, const Vector3& rotation) const
{
    if (!texture)
        return;
    glPushMatrix();
    CurrentGL->Rotate(rotation);
    CurrentGL->TextureEngine->Bind(texture, 0);
    UnitQuad(-1.0f);
    glPopMatrix();
}

// Just inside the box, turned to face the eye along the sun's direction.
void GLSkyBox::DrawSun(ZRTexture* sun) const
{
    ZOTGL& gl = *CurrentGL;
    glPushMatrix();
    Vector3 angles = CurrentEngine->Math->AnglesTo({}, SunDirection);
    angles.x = -angles.x;
    gl.Rotate(angles);
    glTranslatef(0.0f, 0.0f, -0.98f);
    gl.ScaleUniform(SunSize);
    GLMaterialEngine& materials = *gl.MaterialEngine;
    materials.Reset();
    materials.SetUnlit();
    materials.SetColorBlend(ZOTGL::kBlendAdditive, SunColor, SunAlpha);
    materials.SetTexture(sun);
    materials.Apply();
    UnitQuad(0.0f);
    if (SunGlow) {
        const float alpha = Random(0.5f, 0.7f) * SunAlpha;
        gl.SetColor(CurrentEngine->Math->Color->ScaleColor(SunColor, Random(0.9f, 1.1f)), alpha);
        gl.ScaleUniform(Random(1.0f, 1.1f));
        UnitQuad(0.0f);
    }
    glPopMatrix();
}
