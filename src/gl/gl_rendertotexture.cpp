#include "gl/gl_rendertotexture.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include "core/zot_main.h"
#include "gl/gl_main.h"
#include "gl/gl_textureengine.h"
#include "resource/resource_texture.h"

namespace {

constexpr uint8_t kWhiteTexel = 255;

}  // namespace

GLRenderToTexture::GLRenderToTexture(ZOTOwner* parent) : ZOTObject(parent, "ZOT GL Render To Texture", "GLRenderToTexture")
{
}

void GLRenderToTexture::CopyScreen(ZRTexture* texture) const
{
    if (!texture || !CurrentGL)
        return;
    GLTextureEngine& textures = *CurrentGL->TextureEngine;
    if (textures.ActiveTexture)
        textures.ActiveTexture(GL_TEXTURE0_ARB);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture->GLName);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, texture->Width, texture->Height);
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
