#include "gl/gl_shaderengine.h"

#include <algorithm>
#include <string>

#include "core/zot_console.h"
#include "core/zot_main.h"
#include "gl/gl_main.h"
#include "platform/platform_system.h"
#include "resource/resource_shader.h"

namespace {

constexpr int32_t kRejectedProgramCode = 2;

[[noreturn]] void Fatal(const std::string& message)
{
    if (CurrentEngine)
        CurrentEngine->FatalError(kRejectedProgramCode, message);
    platform::ExitProcess(kRejectedProgramCode);
}

std::string JoinedText(const ZTScript& text)
{
    std::string joined;
    for (size_t i = 0; i < text.Lines.size(); ++i) {
        if (i > 0)
            joined += '\n';
        joined += text.Lines[i];
    }
    return joined;
}

// Drivers end the text with a line break, and a console line must stay one line.
std::string DriverErrorText()
{
    const GLubyte* raw = glGetString(GL_PROGRAM_ERROR_STRING_ARB);
    std::string text = raw ? reinterpret_cast<const char*>(raw) : "";
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    std::replace_if(text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    return text;
}

// An error that earlier calls left queued would be taken for the verdict on
// this program, so it is reported the way the frame's check reports it.
void ReportEarlierErrors()
{
    if (CurrentGL)
        CurrentGL->CheckError();
}

}  // namespace

GLShaderEngine::GLShaderEngine(ZOTOwner* parent) : ZOTObject(parent, "ZOT GL Shader Engine", "GLShaderEngine") {}

GLShaderEngine::~GLShaderEngine() { RemoveShadersOwnedBy(this); }

// Both extensions share the program entry points, so either one is reason
// enough to fetch them.
void GLShaderEngine::Initialize()
{
    VertexProgramsSupported = ZOTGL::ExtensionAvailable("GL_ARB_vertex_program");
    FragmentProgramsSupported = ZOTGL::ExtensionAvailable("GL_ARB_fragment_program");
    if (VertexProgramsSupported || FragmentProgramsSupported)
        FetchEntryPoints();
    if (VertexProgramsSupported)
        ZOTGL::LogExtension("GL_ARB_vertex_program");
    if (FragmentProgramsSupported)
        ZOTGL::LogExtension("GL_ARB_fragment_program");
    LogLine("ZOT GL: Shader Engine initialized!");
}

void GLShaderEngine::FetchEntryPoints()
{
    ZOTGL::FetchEntryPoint(glGenProgramsARB, "glGenProgramsARB");
    ZOTGL::FetchEntryPoint(glBindProgramARB, "glBindProgramARB");
    ZOTGL::FetchEntryPoint(glProgramStringARB, "glProgramStringARB");
    ZOTGL::FetchEntryPoint(glDeleteProgramsARB, "glDeleteProgramsARB");
    ZOTGL::FetchEntryPoint(glVertexAttrib4fARB, "glVertexAttrib4fARB");
    ZOTGL::FetchEntryPoint(glProgramLocalParameter4fARB, "glProgramLocalParameter4fARB");
    ZOTGL::FetchEntryPoint(glProgramEnvParameter4fARB, "glProgramEnvParameter4fARB");
}

void GLShaderEngine::Enable() { ShadersOn = true; }

void GLShaderEngine::Disable()
{
    ShadersOn = false;
    DisableVertexPrograms();
    DisableFragmentPrograms();
}

bool GLShaderEngine::TargetSupported(GLenum target) const
{
    return target == GL_VERTEX_PROGRAM_ARB ? VertexProgramsSupported : FragmentProgramsSupported;
}

bool GLShaderEngine::UploadVertexProgram(ZRShader& shader) { return UploadProgram(GL_VERTEX_PROGRAM_ARB, shader); }

bool GLShaderEngine::UploadFragmentProgram(ZRShader& shader) { return UploadProgram(GL_FRAGMENT_PROGRAM_ARB, shader); }

bool GLShaderEngine::UploadProgram(GLenum target, ZRShader& shader)
{
    if (!TargetSupported(target))
        return false;
    ReportEarlierErrors();
    CreateProgram(target, shader);
    CheckProgramAccepted(shader);
    return true;
}

void GLShaderEngine::CreateProgram(GLenum target, ZRShader& shader)
{
    const std::string text = JoinedText(shader.Text);
    shader.ProgramName = 0;
    if (glGenProgramsARB && glBindProgramARB && glProgramStringARB)
        glGenProgramsARB(1, &shader.ProgramName);
    if (shader.ProgramName == 0)
        Fatal("Shader \"" + shader.GetName() + "\" produced an error while loading!");
    glBindProgramARB(target, shader.ProgramName);
    glProgramStringARB(target, GL_PROGRAM_FORMAT_ASCII_ARB, static_cast<GLsizei>(text.size()), text.data());
}

void GLShaderEngine::CheckProgramAccepted(const ZRShader& shader) const
{
    if (glGetError() == GL_INVALID_OPERATION)
        Fatal("Shader \"" + shader.GetName() + "\": " + DriverErrorText());
}

void GLShaderEngine::BindVertexProgram(const ZRShader* shader)
{
    BindProgram(GL_VERTEX_PROGRAM_ARB, ZRShader::kVertexProgram, shader);
}

void GLShaderEngine::BindFragmentProgram(const ZRShader* shader)
{
    BindProgram(GL_FRAGMENT_PROGRAM_ARB, ZRShader::kFragmentProgram, shader);
}

// Program 0 on an enabled target makes every draw fail, so only a program of
// the target's kind is bound.
void GLShaderEngine::BindProgram(GLenum target, int32_t kind, const ZRShader* shader)
{
    const bool usable = shader && shader->IsLoaded() && shader->Kind == kind && shader->ProgramName != 0;
    if (!usable || !ShadersOn || !TargetSupported(target) || !glBindProgramARB) {
        DisableTarget(target);
        return;
    }
    glEnable(target);
    glBindProgramARB(target, shader->ProgramName);
}

void GLShaderEngine::DisableVertexPrograms() { DisableTarget(GL_VERTEX_PROGRAM_ARB); }

void GLShaderEngine::DisableFragmentPrograms() { DisableTarget(GL_FRAGMENT_PROGRAM_ARB); }

// Switching off a target the driver does not know is itself a GL error.
void GLShaderEngine::DisableTarget(GLenum target)
{
    if (TargetSupported(target))
        glDisable(target);
}

void GLShaderEngine::DeleteProgram(ZRShader& shader)
{
    if (shader.ProgramName != 0 && glDeleteProgramsARB)
        glDeleteProgramsARB(1, &shader.ProgramName);
    shader.ProgramName = 0;
}

void GLShaderEngine::SetVertexLocal(uint32_t index, float x, float y, float z, float w)
{
    SetLocal(GL_VERTEX_PROGRAM_ARB, index, x, y, z, w);
}

void GLShaderEngine::SetFragmentLocal(uint32_t index, float x, float y, float z, float w)
{
    SetLocal(GL_FRAGMENT_PROGRAM_ARB, index, x, y, z, w);
}

void GLShaderEngine::SetLocal(GLenum target, uint32_t index, float x, float y, float z, float w)
{
    if (TargetSupported(target) && glProgramLocalParameter4fARB)
        glProgramLocalParameter4fARB(target, index, x, y, z, w);
}

void GLShaderEngine::AddShader(ZRShader* shader)
{
    if (!shader || std::find(Shaders.Items.begin(), Shaders.Items.end(), shader) != Shaders.Items.end())
        return;
    Shaders.Items.push_back(shader);
    ++Shaders.Last;
}

// The entry goes first, so the shader's own destructor finds nothing to forget.
void GLShaderEngine::RemoveShader(int32_t index)
{
    if (index < 0 || index > Shaders.Last)
        return;
    ZRShader* shader = Shaders.Items[static_cast<size_t>(index)];
    Unlist(index);
    delete shader;
}

// Freeing a shader also unlists the shaders it owns, which may lie below i.
void GLShaderEngine::RemoveShadersOwnedBy(const ZOTOwner* owner)
{
    for (int32_t i = Shaders.Last; i >= 0; i = std::min(i - 1, Shaders.Last)) {
        if (owner == this || Shaders.Items[static_cast<size_t>(i)]->GetParent() == owner)
            RemoveShader(i);
    }
}

void GLShaderEngine::ForgetShader(const ZRShader* shader)
{
    for (int32_t i = Shaders.Last; i >= 0; --i) {
        if (Shaders.Items[static_cast<size_t>(i)] == shader)
            Unlist(i);
    }
}

void GLShaderEngine::Unlist(int32_t index)
{
    Shaders.Items.erase(Shaders.Items.begin() + index);
    --Shaders.Last;
}
