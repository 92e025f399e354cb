// An off-screen buffer drawn into between Begin and End and then read as a
// texture: a framebuffer object with an RGBA texture as its colour and a
// 24-bit depth buffer. It shares the main context, so Begin and End save and
// restore that context's state around the drawing.
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdint>
#include <string>

#include "core/zot_object.h"

class ZRTexture;

class GLOffScreenBuffer : public ZOTObject {
public:
    explicit GLOffScreenBuffer(ZOTOwner* parent);
    ~GLOffScreenBuffer() override;

    void Init(int32_t width, int32_t height);
    // False, after reporting, when the driver offers no framebuffer objects.
    bool InitExtensions();
    // Makes the texture and the buffer. A size that cannot be given exactly
    // (beyond the driver's limits, or not a power of two) is reported, and
    // the buffer goes on with the size it was given.
    void Create(int32_t width, int32_t height);
    // Draws into the buffer from here on, with the buffer's viewport and the
    // camera's projection for its aspect; every other state is the main
    // context's, so the caller sets what the drawing needs.
    void Begin();
    // Back to the window with the state as it was before Begin, and the
    // buffer's picture bound as Texture on unit 0.
    void End();
    void BindTexImageTo(ZRTexture* texture);
    void ReleaseTexImageFrom(ZRTexture* texture);
    void Release();
    ZRTexture* GetTexture() const { return Texture; }
    // A framebuffer object keeps its contents for as long as it exists.
    bool IsLost() const { return false; }

    PFNGLGENFRAMEBUFFERSPROC GenFramebuffers = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC DeleteFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC BindFramebuffer = nullptr;
    PFNGLFRAMEBUFFERTEXTURE2DPROC FramebufferTexture2D = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC FramebufferRenderbuffer = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC CheckFramebufferStatus = nullptr;
    PFNGLGENRENDERBUFFERSPROC GenRenderbuffers = nullptr;
    PFNGLDELETERENDERBUFFERSPROC DeleteRenderbuffers = nullptr;
    PFNGLBINDRENDERBUFFERPROC BindRenderbuffer = nullptr;
    PFNGLRENDERBUFFERSTORAGEPROC RenderbufferStorage = nullptr;

    // The extension the entry points came from; empty until InitExtensions succeeds.
    std::string Extension;
    GLuint Framebuffer = 0;
    GLuint DepthBuffer = 0;
    // The size the buffer was given, which may be less than the one asked for.
    int32_t Width = 0;
    int32_t Height = 0;
    // Owned.
    ZRTexture* Texture = nullptr;
    bool TextureBound = false;
    int32_t SavedViewport[4] = {};

private:
    struct TFramebufferBinding {
        GLint Draw = 0;
        GLint Read = 0;
    };

    void FetchEntryPoints(const std::string& suffix);
    bool HasEntryPoints() const;
    bool Ready() const;
    void CreateTexture();
    void CreateTargets();
    bool TargetsComplete();
    void DeleteTargets();
    TFramebufferBinding CurrentBinding() const;
    void RestoreBinding(const TFramebufferBinding& binding);
    void LeaveBuffer();
    void SelectUnitZero() const;

    // Only the combined framebuffer extension binds reading and drawing apart.
    bool SeparateReadBinding = false;
    bool Drawing = false;
    TFramebufferBinding SavedBinding;
};
