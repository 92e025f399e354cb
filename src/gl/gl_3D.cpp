#include "gl/gl_3D.h"

#include "core/zot_console.h"
#include "core/zot_main.h"

GL_3DSystem::GL_3DSystem(ZOTOwner* parent) : ZOTObject(parent, "ZOT GL 3D", "GL_3DSystem") {}

void GL_3DSystem::Init() { LogLine("ZOT GL: GL 3D initialized!"); }
