// The base of every scene: the unit of 3D content that the scene engine
// renders once per frame while it is the active scene.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/zot_object.h"

class GLScene : public ZOTObject {
public:
    GLScene(ZOTOwner* parent, std::string_view name, const char* className = "GLScene");
    ~GLScene() override;

    // Draws the whole scene; the base scene draws nothing.
    virtual void Render();
    // Makes this the active scene. Derived scenes call it before building
    // their content.
    virtual void Initialize();

    // Position in the scene engine's list; -1 when not listed.
    int32_t SceneIndex = -1;
    ZOTOwner* Owner = nullptr;
};
