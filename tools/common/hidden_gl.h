// A hidden window with the GL module running on it, for the tools that load
// or draw resources living in GL. It must be opened after the engine has
// started and be gone before the engine is; resources drawn from it must be
// gone before it.
#pragma once

#include <memory>
#include <string>

#include "gl/gl_main.h"
#include "platform/platform_window.h"

class HiddenGL {
public:
    HiddenGL() = default;
    HiddenGL(const HiddenGL&) = delete;
    HiddenGL& operator=(const HiddenGL&) = delete;

    // False, with an error line under tool, when the window system gives no
    // window. A window without a GL context ends the process through the engine.
    bool Open(const std::string& tool, int width, int height);

private:
    // Declared in this order so that the GL module goes before the window it draws to.
    platform::Window Window;
    std::unique_ptr<ZOTGL> GL;
};
