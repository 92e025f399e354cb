// OpenGL rendering contexts on a window, buffer swaps, full-screen display
// modes, entry points and the window system's extension list.
#pragma once

#include <string>

namespace platform {

enum class ContextError {
    None,
    NoDeviceContext,     // the window cannot take a GL context at all
    NoPixelFormat,       // no format with the requested colour and depth bits
    PixelFormatRefused,  // the window refused the chosen format
    NoRenderingContext,  // the driver made no context
    NotCurrent,          // the context could not be made current
};

struct GLContextResult {
    void* Context = nullptr;
    ContextError Error = ContextError::None;
    // What the window system said about a failure.
    std::string Detail;
};

// Creates a context on the window and makes it current. With shareWithCurrent,
// display lists and textures are shared with the context current at the call.
GLContextResult CreateGLContext(void* window, int bitsPerPixel, bool shareWithCurrent);
bool MakeCurrent(void* window, void* context);
void ReleaseCurrent(void* window);
void DeleteGLContext(void* context);
void SwapBuffers(void* window);

// Switches the window to full screen at that mode; false when the display refuses it.
bool ChangeDisplayMode(void* window, int width, int height, int bitsPerPixel, int refreshRate);

void* GetProcAddress(const char* name);

// Extensions of the window system's GL binding (GLX), empty where there are none.
std::string WindowSystemExtensions(void* window);

}  // namespace platform
