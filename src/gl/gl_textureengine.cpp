#include "gl/gl_textureengine.h"

#include <GL/gl.h>

#include "core/zot_console.h"
#include "core/zot_main.h"

GLTextureEngine::GLTextureEngine(ZOTOwner* parent) : ZOTObject(parent, "ZOT GL Texture Engine", "GLTextureEngine")
{
    Enable();
}

void GLTextureEngine::Init() { CurrentEngine->Console->AddLine("ZOT GL: Texture Engine initialized!"); }

void GLTextureEngine::Enable() { Enabled = true; }

void GLTextureEngine::Disable()
{
    Enabled = false;
    glDisable(GL_TEXTURE_2D);
}

void GLTextureEngine::ResetBound() {}

void GLTextureEngine::DisableAll() { glDisable(GL_TEXTURE_2D); }
