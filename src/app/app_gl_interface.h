// The scene's own 2D overlay: the logo shown at start-up, fading out during
// the third second.
#pragma once

#include "core/zot_object.h"

class ZRTexture;

class ZAGLSInterface : public ZOTObject {
public:
    explicit ZAGLSInterface(ZOTOwner* parent);

    void Initialize();
    void Draw();

    // 1 for the first two seconds, then falling to 0 over the third.
    static float LogoAlpha(float elapsedSeconds);

    // Owned.
    ZRTexture* Logo = nullptr;
};
