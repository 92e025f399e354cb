// The 2D system: the overlay drawn over each finished 3D picture.
#pragma once

#include "core/zot_object.h"

class GL_2DSystem : public ZOTObject {
public:
    explicit GL_2DSystem(ZOTOwner* parent);

    void Init();
    void Render();
    // Fits the virtual screen to the aspect of a new viewport.
    void UpdateAspect();
};
