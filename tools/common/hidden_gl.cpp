#include "hidden_gl.h"

#include "core/zot_main.h"

bool HiddenGL::Open(const std::string& tool, int width, int height)
{
    if (!Window.Create(tool, width, height, false)) {
        CurrentEngine->Error(tool, "No window for a GL context!");
        return false;
    }
    GL = std::make_unique<ZOTGL>(CurrentEngine);
    GL->Initialize(&Window, tool, 0, 0, width, height, 32, 60, false);
    return true;
}
