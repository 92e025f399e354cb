// The 2D system: everything drawn in screen space over the finished 3D
// picture. It switches GL into an orthographic mode over a virtual screen
// (y pointing down) and back, draws flat and textured quads through the
// material engine, keeps fade values, and owns the font engine, the on-screen
// console, the screen passes and the 2D camera.
#pragma once

#include <cstdint>

#include "core/zot_object.h"
#include "math/math_types.h"

class GLFont;
class GLConsole;
class GLScreen;
class GL2DCamera;
class ZRTexture;

// A value that rises or falls between its limits at Speed units a second.
struct Fade {
    static constexpr int32_t kStill = 0;
    static constexpr int32_t kRising = 1;
    static constexpr int32_t kFalling = 2;

    float Value = 0.0f;
    int32_t State = kStill;
    float Max = 1.0f;
    float Min = 0.0f;
    float Speed = 2.0f;
};

// A screen rectangle with the texture rectangle laid over it: the corner
// (X1, Y1) takes (SLeft, TTop) and (X2, Y2) takes (SRight, TBottom).
struct TQuad2D {
    float X1 = 0.0f;
    float Y1 = 0.0f;
    float X2 = 0.0f;
    float Y2 = 0.0f;
    float SLeft = 0.0f;
    float TTop = 1.0f;
    float SRight = 1.0f;
    float TBottom = 0.0f;
};

class GL_2DSystem : public ZOTObject {
public:
    explicit GL_2DSystem(ZOTOwner* parent);
    ~GL_2DSystem() override;

    void Init();
    void Render();
    // Fits the virtual screen to the aspect of a new viewport.
    void UpdateAspect();

    // Both are idempotent, so callers that may already be in 2D mode can use them.
    void Begin2D();
    void End2D();
    bool IsIn2D() const { return In2D; }

    void SetSize(bool centered, bool keepAspect, float width, float height);
    void SetDepth(float depth);

    void DrawQuad(int32_t blendMode, const Color3& colour, float x1, float y1, float x2, float y2, float alpha);
    void DrawRect(const Color3& colour, float alpha, float x1, float y1, float x2, float y2);
    void DrawTexturedQuad(ZRTexture* texture, int32_t blendMode, float x1, float y1, float x2, float y2,
                          const Color3& colour, float alpha);
    // Resets the material engine to an unlit, depth-ignoring material with the
    // blend and, when texture is given, that texture on layer 0, and applies it.
    static void ApplyFlatMaterial(int32_t blendMode, const Color3& colour, float alpha, ZRTexture* texture);
    // The quad's four corners, for a glBegin(GL_QUADS) the caller has opened.
    static void EmitQuad(const TQuad2D& quad);

    static void InitFade(Fade& fade, int32_t state);
    // Advances the fade by the engine's frame time and answers its value.
    static float UpdateFade(Fade& fade);
    static bool IsHidden(const Fade& fade);
    static void Show(Fade& fade);
    static void Hide(Fade& fade);

    GLFont* Fonts = nullptr;
    GLConsole* Console = nullptr;
    GLScreen* Screen = nullptr;
    GL2DCamera* Camera2D = nullptr;
    bool In2D = false;
    bool Centered = false;
    float Width = 640.0f;
    float Height = 480.0f;
    bool KeepAspect = true;
    // The orthographic near and far planes lie at -Depth and +Depth.
    float Depth = 100.0f;
};
