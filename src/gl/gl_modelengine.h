// The model engine: draws models for every part that shows one.
#pragma once

#include "core/zot_object.h"

class GLModelEngine : public ZOTObject {
public:
    explicit GLModelEngine(ZOTOwner* parent);

    void Init();
};
