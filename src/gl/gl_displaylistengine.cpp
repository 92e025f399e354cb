#include "gl/gl_displaylistengine.h"

#include "core/zot_console.h"
#include "core/zot_main.h"

GLDisplayListEngine::GLDisplayListEngine(ZOTOwner* parent)
    : ZOTObject(parent, "ZOT GL Display List Engine", "GLDisplayListEngine")
{
}

void GLDisplayListEngine::Init() { CurrentEngine->Console->AddLine("ZOT GL: Display List Engine initialized!"); }
