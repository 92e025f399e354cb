// The lighting engine: the lighting switch of the GL module and the lights of a frame.
#pragma once

#include "core/zot_object.h"

class GLLightingEngine : public ZOTObject {
public:
    explicit GLLightingEngine(ZOTOwner* parent);

    void Init();
    void Enable();
    void Disable();
    // Forgets the lights placed during the frame that just ended.
    void ClearDynamicLights();

    bool Enabled = false;
};
