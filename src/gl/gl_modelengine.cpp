#include "gl/gl_modelengine.h"

#include "core/zot_console.h"
#include "core/zot_main.h"

GLModelEngine::GLModelEngine(ZOTOwner* parent) : ZOTObject(parent, "GLModelEngine", "GLModelEngine") {}

void GLModelEngine::Init() { LogLine("ZOT GL: Model Engine initialized!"); }
