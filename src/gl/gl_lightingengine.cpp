#include "gl/gl_lightingengine.h"

#include <GL/gl.h>

#include "core/zot_console.h"
#include "core/zot_main.h"

GLLightingEngine::GLLightingEngine(ZOTOwner* parent) : ZOTObject(parent, "ZOT GL Lighting Engine", "GLLightingEngine")
{
    Enable();
}

void GLLightingEngine::Init() { CurrentEngine->Console->AddLine("ZOT GL: Lighting Engine initialized!"); }

void GLLightingEngine::Enable() { Enabled = true; }

void GLLightingEngine::Disable()
{
    Enabled = false;
    glDisable(GL_LIGHTING);
}

void GLLightingEngine::ClearDynamicLights() {}
