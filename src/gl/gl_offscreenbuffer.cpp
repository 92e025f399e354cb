#include "gl/gl_offscreenbuffer.h"

#include <algorithm>

#include "core/zot_main.h"
#include "gl/gl_main.h"
#include "gl/gl_textureengine.h"
#include "resource/resource_texture.h"

namespace {

constexpr uint8_t kWhiteTexel = 255;

struct TFramebufferExtension {
    const char* Name;
    const char* Suffix;
    bool SeparateReadBinding;
};

// The first one the driver offers is used; both have the same entry points
// apart from the suffix.
constexpr TFramebufferExtension kFramebufferExtensions[] = {
    {"GL_ARB_framebuffer_object", "", true},
    {"GL_EXT_framebuffer_object", "EXT", false},
};

struct TFramebufferStatus {
    GLenum Code;
    const char* Name;
};

constexpr TFramebufferStatus kFramebufferStatuses[] = {
    {GL_FRAMEBUFFER_UNDEFINED, "GL_FRAMEBUFFER_UNDEFINED"},
    {GL_FRAMEBUFFER_INCOMPLETE_ATTACHMENT, "GL_FRAMEBUFFER_INCOMPLETE_ATTACHMENT"},
    {GL_FRAMEBUFFER_INCOMPLETE_MISSING_ATTACHMENT, "GL_FRAMEBUFFER_INCOMPLETE_MISSING_ATTACHMENT"},
    {GL_FRAMEBUFFER_INCOMPLETE_DIMENSIONS_EXT, "GL_FRAMEBUFFER_INCOMPLETE_DIMENSIONS_EXT"},
    {GL_FRAMEBUFFER_INCOMPLETE_FORMATS_EXT, "GL_FRAMEBUFFER_INCOMPLETE_FORMATS_EXT"},
    {GL_FRAMEBUFFER_INCOMPLETE_DRAW_BUFFER, "GL_FRAMEBUFFER_INCOMPLETE_DRAW_BUFFER"},
    {GL_FRAMEBUFFER_INCOMPLETE_READ_BUFFER, "GL_FRAMEBUFFER_INCOMPLETE_READ_BUFFER"},
    {GL_FRAMEBUFFER_UNSUPPORTED, "GL_FRAMEBUFFER_UNSUPPORTED"},
    {GL_FRAMEBUFFER_INCOMPLETE_MULTISAMPLE, "GL_FRAMEBUFFER_INCOMPLETE_MULTISAMPLE"},
    {GL_FRAMEBUFFER_INCOMPLETE_LAYER_TARGETS, "GL_FRAMEBUFFER_INCOMPLETE_LAYER_TARGETS"},
};

// The check answers 0 when it failed itself.
std::string FramebufferStatusName(GLenum status)
{
    for (const TFramebufferStatus& entry : kFramebufferStatuses) {
        if (entry.Code == status)
            return entry.Name;
    }
    return status == 0 ? "no status" : "an unknown status";
}

GLint IntegerState(GLenum which)
{
    GLint value = 0;
    glGetIntegerv(which, &value);
    return value;
}

// The buffer is a texture, a depth buffer and a viewport at once, so the
// smallest of their limits holds.
TTextureSize LargestBuffer()
{
    const GLint common = std::min(IntegerState(GL_MAX_TEXTURE_SIZE), IntegerState(GL_MAX_RENDERBUFFER_SIZE));
    GLint viewport[2] = {};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    return {std::min(common, viewport[0]), std::min(common, viewport[1])};
}

int32_t FitSize(int32_t size, int32_t largest) { return std::clamp(size, 1, std::max(1, largest)); }

void PushMatrices()
{
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
}

void PopMatrices()
{
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

}  // namespace

GLOffScreenBuffer::GLOffScreenBuffer(ZOTOwner* parent)
    : ZOTObject(parent, "ZOT GL OffScreen Buffer", "GLOffScreenBuffer")
{
}

GLOffScreenBuffer::~GLOffScreenBuffer() { Release(); }

void GLOffScreenBuffer::Init(int32_t width, int32_t height)
{
    if (InitExtensions())
        Create(width, height);
}

bool GLOffScreenBuffer::InitExtensions()
{
    for (const TFramebufferExtension& candidate : kFramebufferExtensions) {
        if (!ZOTGL::ExtensionAvailable(candidate.Name))
            continue;
        FetchEntryPoints(candidate.Suffix);
        if (!HasEntryPoints())
            continue;
        Extension = candidate.Name;
        SeparateReadBinding = candidate.SeparateReadBinding;
        ZOTGL::LogExtension(Extension);
        return true;
    }
    ZOTGL::Error("pBuffers not supported!");
    return false;
}

void GLOffScreenBuffer::FetchEntryPoints(const std::string& suffix)
{
    ZOTGL::FetchEntryPoint(GenFramebuffers, ("glGenFramebuffers" + suffix).c_str());
    ZOTGL::FetchEntryPoint(DeleteFramebuffers, ("glDeleteFramebuffers" + suffix).c_str());
    ZOTGL::FetchEntryPoint(BindFramebuffer, ("glBindFramebuffer" + suffix).c_str());
    ZOTGL::FetchEntryPoint(FramebufferTexture2D, ("glFramebufferTexture2D" + suffix).c_str());
    ZOTGL::FetchEntryPoint(FramebufferRenderbuffer, ("glFramebufferRenderbuffer" + suffix).c_str());
    ZOTGL::FetchEntryPoint(CheckFramebufferStatus, ("glCheckFramebufferStatus" + suffix).c_str());
    ZOTGL::FetchEntryPoint(GenRenderbuffers, ("glGenRenderbuffers" + suffix).c_str());
    ZOTGL::FetchEntryPoint(DeleteRenderbuffers, ("glDeleteRenderbuffers" + suffix).c_str());
    ZOTGL::FetchEntryPoint(BindRenderbuffer, ("glBindRenderbuffer" + suffix).c_str());
    ZOTGL::FetchEntryPoint(RenderbufferStorage, ("glRenderbufferStorage" + suffix).c_str());
}

bool GLOffScreenBuffer::HasEntryPoints() const
{
    return GenFramebuffers && DeleteFramebuffers && BindFramebuffer && FramebufferTexture2D &&
           FramebufferRenderbuffer && CheckFramebufferStatus && GenRenderbuffers && DeleteRenderbuffers &&
           BindRenderbuffer && RenderbufferStorage;
}

bool GLOffScreenBuffer::Ready() const { return CurrentGL && Framebuffer != 0 && HasEntryPoints(); }

void GLOffScreenBuffer::Create(int32_t width, int32_t height)
{
    if (!CurrentGL || !HasEntryPoints()) {
        ZOTGL::Error("pBuffers not supported!");
        return;
    }
    DeleteTargets();
    const TTextureSize largest = LargestBuffer();
    Width = FitSize(width, largest.Width);
    Height = FitSize(height, largest.Height);
    CreateTexture();
    // The texture engine rounds a size to a power of two, so the texture may differ from the size asked for.
    const TTextureSize given = Texture->GLName ? CurrentGL->TextureEngine->GetTextureSize(Texture->GLName)
                                               : TTextureSize{};
    Width = given.Width;
    Height = given.Height;
    if (Width != width || Height != height)
        ZOTGL::Error("pBuffer has wrong size!");
    CreateTargets();
}

// An earlier texture object stays a child of the buffer, so a pointer to it
// that a caller still holds does not dangle; only its GL texture goes.
void GLOffScreenBuffer::CreateTexture()
{
    if (Texture)
        Texture->Unload();
    Texture = new ZRTexture(this);
    Texture->SetCompression(0);
    Texture->CreateEmpty(Width, Height, kWhiteTexel);
    Texture->SetFilter(GLTextureEngine::kFilterLinear);
    Texture->SetClamp(true, true);
    TextureBound = false;
}

void GLOffScreenBuffer::CreateTargets()
{
    const GLint renderbuffer = IntegerState(GL_RENDERBUFFER_BINDING);
    GenRenderbuffers(1, &DepthBuffer);
    BindRenderbuffer(GL_RENDERBUFFER, DepthBuffer);
    RenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, Width, Height);
    BindRenderbuffer(GL_RENDERBUFFER, static_cast<GLuint>(renderbuffer));

    const TFramebufferBinding before = CurrentBinding();
    GenFramebuffers(1, &Framebuffer);
    BindFramebuffer(GL_FRAMEBUFFER, Framebuffer);
    FramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, Texture->GLName, 0);
    FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, DepthBuffer);
    const bool complete = TargetsComplete();
    RestoreBinding(before);
    if (!complete)
        DeleteTargets();
}

bool GLOffScreenBuffer::TargetsComplete()
{
    const GLenum status = CheckFramebufferStatus(GL_FRAMEBUFFER);
    if (status == GL_FRAMEBUFFER_COMPLETE)
        return true;
    ZOTGL::Error("pBuffer is not complete! " + FramebufferStatusName(status));
    return false;
}

void GLOffScreenBuffer::DeleteTargets()
{
    if (CurrentGL && HasEntryPoints()) {
        if (Framebuffer)
            DeleteFramebuffers(1, &Framebuffer);
        if (DepthBuffer)
            DeleteRenderbuffers(1, &DepthBuffer);
    }
    Framebuffer = 0;
    DepthBuffer = 0;
}

GLOffScreenBuffer::TFramebufferBinding GLOffScreenBuffer::CurrentBinding() const
{
    if (!SeparateReadBinding) {
        const GLint both = IntegerState(GL_FRAMEBUFFER_BINDING);
        return {both, both};
    }
    return {IntegerState(GL_DRAW_FRAMEBUFFER_BINDING), IntegerState(GL_READ_FRAMEBUFFER_BINDING)};
}

void GLOffScreenBuffer::RestoreBinding(const TFramebufferBinding& binding)
{
    if (!SeparateReadBinding) {
        BindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(binding.Draw));
        return;
    }
    BindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(binding.Draw));
    BindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(binding.Read));
}

// Everything the drawing changes is undone by End: the attribute stack holds
// the enables, the viewport and the texture bindings, the matrix stacks the
// projection and the model-view transform.
void GLOffScreenBuffer::Begin()
{
    if (Drawing || !Ready())
        return;
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    PushMatrices();
    ReleaseTexImageFrom(Texture);
    CurrentGL->TextureEngine->ResetBound();
    const DisplaySettings& view = CurrentGL->Settings;
    SavedViewport[0] = view.X;
    SavedViewport[1] = view.Y;
    SavedViewport[2] = view.Width;
    SavedViewport[3] = view.Height;
    SavedBinding = CurrentBinding();
    BindFramebuffer(GL_FRAMEBUFFER, Framebuffer);
    CurrentGL->SetViewport(0, 0, Width, Height);
    Drawing = true;
}

void GLOffScreenBuffer::End()
{
    if (Drawing)
        LeaveBuffer();
    if (!Ready())
        return;
    BindTexImageTo(Texture);
    CurrentGL->TextureEngine->ResetBound();
}

// The window's framebuffer comes back before the attributes do, as the draw
// and read buffers they restore belong to it. Selecting the slot again
// rebuilds the camera's projection, which the popped matrix then replaces
// with exactly the one the caller had.
void GLOffScreenBuffer::LeaveBuffer()
{
    RestoreBinding(SavedBinding);
    DisplaySettings& slot = CurrentGL->Contexts[CurrentGL->CurrentContext].Settings;
    slot.X = SavedViewport[0];
    slot.Y = SavedViewport[1];
    slot.Width = SavedViewport[2];
    slot.Height = SavedViewport[3];
    CurrentGL->SelectContext(CurrentGL->CurrentContext);
    PopMatrices();
    glPopAttrib();
    Drawing = false;
}

void GLOffScreenBuffer::BindTexImageTo(ZRTexture* texture)
{
    if (!texture || !Ready() || TextureBound)
        return;
    SelectUnitZero();
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture->BindName);
    TextureBound = true;
}

// Drawing into a texture that is being sampled gives undefined pictures, so
// unit 0 lets go of it; a texture bound there since is left alone.
void GLOffScreenBuffer::ReleaseTexImageFrom(ZRTexture* texture)
{
    if (TextureBound && texture && CurrentGL) {
        SelectUnitZero();
        if (static_cast<GLuint>(IntegerState(GL_TEXTURE_BINDING_2D)) == texture->BindName)
            glBindTexture(GL_TEXTURE_2D, 0);
    }
    TextureBound = false;
}

void GLOffScreenBuffer::Release()
{
    if (!Texture)
        return;
    if (Drawing && Ready())
        LeaveBuffer();
    ReleaseTexImageFrom(Texture);
    DeleteTargets();
    DeleteAndClear(Texture);
}

void GLOffScreenBuffer::SelectUnitZero() const
{
    GLTextureEngine& textures = *CurrentGL->TextureEngine;
    if (textures.ActiveTexture)
        textures.ActiveTexture(GL_TEXTURE0_ARB);
}
