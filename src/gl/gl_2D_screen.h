// Full-screen passes of the 2D system: the loading picture, the quad that
// carries the screen texture of the post-processing, and the per-frame pass
// that multiplies the finished picture by the colour filters and the
// brightness fade.
#pragma once

#include <string>

#include "core/zot_object.h"
#include "gl/gl_2D.h"
#include "math/math_types.h"

class ZRTexture;

class GLScreen : public ZOTObject {
public:
    explicit GLScreen(GL_2DSystem* parent);

    void Init();
    void Render();

    // Draws the picture centred over a background of colour into the back
    // buffer; the caller swaps the buffers to show it.
    void ShowPicture(const std::string& fileName, const Color3& colour);
    // Lays the part of texture that holds the window's picture over the 2D screen.
    void DrawScreenTexture(ZRTexture* texture);
    // Multiplies the finished picture by colour, alpha of the way.
    void FillScreen(const Color3& colour, float alpha);
    void SetScreenColor(const Color3& colour);

    Color3 ScreenColor{1.0f, 1.0f, 1.0f};
    Fade Brightness;
    bool Enabled = true;

private:
    GL_2DSystem* System;

    void DrawPicture(ZRTexture& picture, const Color3& colour);
    static float Average(const Color3& colour);
};
