#include "gl/gl_shaderengine.h"

#include <GL/gl.h>

#include "core/zot_console.h"
#include "core/zot_main.h"
#include "gl/gl_main.h"

namespace {

constexpr GLenum kVertexProgram = 0x8620;
constexpr GLenum kFragmentProgram = 0x8804;

// Disabling a target the driver does not know is itself a GL error.
void DisableTargetIfSupported(GLenum target, const char* extension)
{
    if (CurrentGL && CurrentGL->IsExtensionSupported(extension))
        glDisable(target);
}

}  // namespace

GLShaderEngine::GLShaderEngine(ZOTOwner* parent) : ZOTObject(parent, "ZOT GL Shader Engine", "GLShaderEngine") {}

void GLShaderEngine::Initialize() { CurrentEngine->Console->AddLine("ZOT GL: Shader Engine initialized!"); }

void GLShaderEngine::Enable() { ShadersOn = true; }

void GLShaderEngine::Disable()
{
    ShadersOn = false;
    DisableTargetIfSupported(kVertexProgram, "GL_ARB_vertex_program");
    DisableTargetIfSupported(kFragmentProgram, "GL_ARB_fragment_program");
}
