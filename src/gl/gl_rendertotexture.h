// Render to texture for full-screen post-processing: a texture the size of
// the screen rounded up to powers of two, filled each frame from the back
// buffer.
#pragma once

#include "core/zot_object.h"

class ZRTexture;

class GLRenderToTexture : public ZOTObject {
public:
    explicit GLRenderToTexture(ZOTOwner* parent);

    void SetTexture(ZRTexture* texture) { Texture = texture; }
    // Copies the screen from the back buffer into the lower left of texture on
    // unit 0, with its edges repeated a little way beyond; the texture
    // engine's bound record is left as it was.
    void CopyScreen(ZRTexture* texture) const;

    // Not owned.
    ZRTexture* Texture = nullptr;
};

// Replaces the texture in variable by a new empty one, owned by owner, of the
// selected context's size rounded up to powers of two: white, uncompressed,
// clamped and sampled nearest.
void CreateScreenTexture(ZOTOwner* owner, ZRTexture*& variable);
