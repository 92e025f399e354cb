// The display-list engine: compiled display lists shared by the drawing parts.
#pragma once

#include "core/zot_object.h"

class GLDisplayListEngine : public ZOTObject {
public:
    explicit GLDisplayListEngine(ZOTOwner* parent);

    void Init();
};
