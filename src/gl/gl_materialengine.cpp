#include "gl/gl_materialengine.h"

#include "core/zot_console.h"
#include "core/zot_main.h"

GLMaterialEngine::GLMaterialEngine(ZOTOwner* parent) : ZOTObject(parent, "ZOT GL Material Engine", "GLMaterialEngine")
{
}

void GLMaterialEngine::Initialize() { CurrentEngine->Console->AddLine("ZOT GL: Material Engine initialized!"); }

void GLMaterialEngine::EnableMaterials() { MaterialsOn = true; }

void GLMaterialEngine::DisableMaterials() { MaterialsOn = false; }
