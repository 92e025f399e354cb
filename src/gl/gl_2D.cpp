#include "gl/gl_2D.h"

#include "core/zot_console.h"
#include "core/zot_main.h"

GL_2DSystem::GL_2DSystem(ZOTOwner* parent) : ZOTObject(parent, "ZOT GL 2D", "GL_2DSystem") {}

void GL_2DSystem::Init() { CurrentEngine->Console->AddLine("ZOT GL: GL 2D initialized!"); }

void GL_2DSystem::Render() {}

void GL_2DSystem::UpdateAspect() {}
