// The 3D sub-system of the GL module: a named part with a start-up line.
#pragma once

#include "core/zot_object.h"

class GL_3DSystem : public ZOTObject {
public:
    explicit GL_3DSystem(ZOTOwner* parent);

    void Init();
};
