// The shader engine: the GPU program switch of the GL module.
#pragma once

#include "core/zot_object.h"

class GLShaderEngine : public ZOTObject {
public:
    explicit GLShaderEngine(ZOTOwner* parent);

    void Initialize();
    void Enable();
    // Also switches off the program targets that the driver knows of.
    void Disable();

    bool ShadersOn = true;
};
