#include "platform/platform_gl.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <GL/glx.h>

namespace platform {

namespace {

SDL_Window* AsSdl(void* window) { return static_cast<SDL_Window*>(window); }

bool SameDepth(Uint32 format, int bitsPerPixel)
{
    // A 32-bit request is served by a 24-bit visual with padding.
    const int bits = SDL_BITSPERPIXEL(format);
    return bits == bitsPerPixel || (bitsPerPixel == 32 && bits == 24);
}

bool FindDisplayMode(int display, int width, int height, int bitsPerPixel, int refreshRate, SDL_DisplayMode& found)
{
    const int count = SDL_GetNumDisplayModes(display);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode{};
        if (SDL_GetDisplayMode(display, i, &mode) != 0)
            continue;
        if (mode.w == width && mode.h == height && mode.refresh_rate == refreshRate &&
            SameDepth(mode.format, bitsPerPixel)) {
            found = mode;
            return true;
        }
    }
    return false;
}

GLContextResult Failure(ContextError error, const std::string& detail)
{
    GLContextResult result;
    result.Error = error;
    result.Detail = detail;
    return result;
}

}  // namespace

GLContextResult CreateGLContext(void* window, int bitsPerPixel, bool shareWithCurrent)
{
    GLContextResult result;
    if (!window)
        return Failure(ContextError::NoDeviceContext, "no window");
    if ((SDL_GetWindowFlags(AsSdl(window)) & SDL_WINDOW_OPENGL) == 0)
        return Failure(ContextError::NoPixelFormat, "the window was not created for OpenGL");
    if (bitsPerPixel <= 0)
        return Failure(ContextError::NoPixelFormat, "no pixel format has " + std::to_string(bitsPerPixel) + " bits");
    SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, shareWithCurrent ? 1 : 0);
    SDL_GLContext context = SDL_GL_CreateContext(AsSdl(window));
    SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, 0);
    if (!context)
        return Failure(ContextError::NoRenderingContext, SDL_GetError());
    result.Context = context;
    if (SDL_GL_MakeCurrent(AsSdl(window), context) != 0) {
        result.Error = ContextError::NotCurrent;
        result.Detail = SDL_GetError();
    }
    return result;
}

bool MakeCurrent(void* window, void* context)
{
    return window && SDL_GL_MakeCurrent(AsSdl(window), static_cast<SDL_GLContext>(context)) == 0;
}

void ReleaseCurrent(void* window)
{
    if (window)
        SDL_GL_MakeCurrent(AsSdl(window), nullptr);
}

void DeleteGLContext(void* context)
{
    if (context)
        SDL_GL_DeleteContext(static_cast<SDL_GLContext>(context));
}

void SwapBuffers(void* window)
{
    if (window)
        SDL_GL_SwapWindow(AsSdl(window));
}

bool ChangeDisplayMode(void* window, int width, int height, int bitsPerPixel, int refreshRate)
{
    if (!window)
        return false;
    const int display = SDL_GetWindowDisplayIndex(AsSdl(window));
    SDL_DisplayMode mode{};
    if (display < 0 || !FindDisplayMode(display, width, height, bitsPerPixel, refreshRate, mode))
        return false;
    return SDL_SetWindowDisplayMode(AsSdl(window), &mode) == 0 &&
           SDL_SetWindowFullscreen(AsSdl(window), SDL_WINDOW_FULLSCREEN) == 0;
}

void* GetProcAddress(const char* name) { return SDL_GL_GetProcAddress(name); }

std::string WindowSystemExtensions(void* window)
{
    if (!window)
        return std::string();
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(AsSdl(window), &info) || info.subsystem != SDL_SYSWM_X11)
        return std::string();
    Display* display = info.info.x11.display;
    const char* extensions = glXQueryExtensionsString(display, DefaultScreen(display));
    return extensions ? extensions : std::string();
}

}  // namespace platform
