// A textured cube of six faces around the eye, optionally carrying a sun
// sprite, tinted, scaled and turned as a whole.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/zot_object.h"
#include "math/math_types.h"

class ZRTexture;

class GLSkyBox : public ZOTObject {
public:
    explicit GLSkyBox(ZOTOwner* parent);
    ~GLSkyBox() override;

    // Loads <baseName>\north ... \bottom, and \sun when withSun is set.
    void Load(const std::string& baseName, bool withSun);
    void SetColorAndSize(const Color3& color, float size);
    void SetBlend(int32_t mode, float alpha);
    void SetBoxRotation(const Vector3& rotation) { BoxRotation = rotation; }
    void SetBoxScale(const Vector3& scale) { BoxScale = scale; }
    void SetSun(const Vector3& direction, const Color3& color, float alpha, float size, bool glow);
    void Draw();
    // Any texture may be none: that face, or the sun, is left out.
    void DrawWith(ZRTexture* north, ZRTexture* east, ZRTexture* sun, ZRTexture* bottom, ZRTexture* top,
                  ZRTexture* west, ZRTexture* south);

    float Size = 1.0f;
    Color3 Color{1.0f, 1.0f, 1.0f};
    Vector3 BoxScale{1.0f, 1.0f, 1.0f};
    // Degrees.
    Vector3 BoxRotation;
    int32_t BlendMode = 0;
    float Alpha = 1.0f;
    // Those the box loaded itself are owned by it.
    ZRTexture* North = nullptr;
    ZRTexture* East = nullptr;
    ZRTexture* South = nullptr;
    ZRTexture* West = nullptr;
    ZRTexture* Top = nullptr;
    ZRTexture* Bottom = nullptr;
    ZRTexture* SunTexture = nullptr;
    // From the eye towards the sun.
    Vector3 SunDirection{0.0f, 0.0f, -1.0f};
    Color3 SunColor{1.0f, 1.0f, 1.0f};
    float SunAlpha = 1.0f;
    // Half the sun quad's side, in units of the unit box.
    float SunSize = 0.1f;
    // A second, flickering quad over the sun.
    bool SunGlow = true;

private:
    std::array<ZRTexture**, 7> Slots();
    void ReleaseOwnTextures();
    void DrawFace(ZRTexture* texture, const Vector3& rotation) const;
    void DrawSun(ZRTexture* sun) const;
};
