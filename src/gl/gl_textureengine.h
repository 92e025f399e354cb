// The texture engine: the texturing switch of the GL module and the record of
// what is bound to the texture units.
#pragma once

#include "core/zot_object.h"

class GLTextureEngine : public ZOTObject {
public:
    explicit GLTextureEngine(ZOTOwner* parent);

    void Init();
    void Enable();
    void Disable();
    // Forgets which textures are bound, so the next bind reaches GL again.
    void ResetBound();
    // Switches texturing off on every unit.
    void DisableAll();

    bool Enabled = false;
};
