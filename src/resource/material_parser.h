// Interprets a material's script: writes every setting it finds into the
// material record and creates the textures the script imports. Unknown lines
// are ignored; nothing is ever reported.
#pragma once

#include "core/zot_object.h"

class ZRMaterial;

class ZRMaterialParser : public ZOTObject {
public:
    explicit ZRMaterialParser(ZOTOwner* owner);

    void SetMaterial(ZRMaterial* material);
    // Reads the material's script from its first to its last line.
    void Parse();

private:
    ZRMaterial* Material = nullptr;
};
