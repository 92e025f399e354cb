// The material engine: the materials switch of the GL module and the render
// state flags that the GL modes hand over to it.
#pragma once

#include "core/zot_object.h"

class GLMaterialEngine : public ZOTObject {
public:
    explicit GLMaterialEngine(ZOTOwner* parent);

    void Initialize();
    void EnableMaterials();
    void DisableMaterials();

    bool MaterialsOn = true;
    bool DepthWrite = true;
    bool Wireframe = false;
    bool FlatShading = false;
};
