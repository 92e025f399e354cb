#include "gl/gl_rendertotexture.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>

#include "core/zot_main.h"
#include "gl/gl_main.h"
#include "gl/gl_textureengine.h"
#include "resource/resource_texture.h"

namespace {

constexpr uint8_t kWhiteTexel = 255;
// Texels beyond the screen that repeat its edge: more than the effects reach.
constexpr int32_t kMargin = 8;

}  // namespace

GLRenderToTexture::GLRenderToTexture(ZOTOwner* parent) : ZOTObject(parent, "ZOT GL Render To Texture", "GLRenderToTexture")
{
}

// Effects sample neighbours a few texels away. GL leaves the part of the
// texture beyond the screen undefined, so a margin there repeats the screen's
// last row and column instead.
void GLRenderToTexture::CopyScreen(ZRTexture* texture) const
{
    if (!texture || !CurrentGL)
        return;
    GLTextureEngine& textures = *CurrentGL->TextureEngine;
    if (textures.ActiveTexture)
        textures.ActiveTexture(GL_TEXTURE0_ARB);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture->GLName);
    const DisplaySettings& view = CurrentGL->Settings;
    const int32_t width = std::min(view.Width, texture->Width);
    const int32_t height = std::min(view.Height, texture->Height);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, view.X, view.Y, width, height);
    for (int32_t k = 0; k < kMargin; ++k) {
        if (height + k < texture->Height)
            glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, height + k, view.X, view.Y + height - 1, width, 1);
        if (width + k < texture->Width)
            glCopyTexSubImage2D(GL_TEXTURE_2D, 0, width + k, 0, view.X + width - 1, view.Y, 1, height);
    }
}

void CreateScreenTexture(ZOTOwner* owner, ZRTexture*& variable)
{
    DeleteAndClear(variable);
    const DisplaySettings screen = CurrentGL->GetContextInfo().Settings;
    variable = new ZRTexture(owner);
    variable->SetCompression(0);
    variable->CreateEmpty(GLTextureEngine::NextPowerOfTwo(screen.Width), GLTextureEngine::NextPowerOfTwo(screen.Height),
                          kWhiteTexel);
    variable->SetClamp(true, true);
    variable->SetFilter(GLTextureEngine::kFilterNearest);
}
