// The scene engine: knows the active scene and renders it once per frame.
#pragma once

#include <cstdint>
#include <vector>

#include "core/zot_object.h"

class GLScene;

using TScenes = std::vector<GLScene*>;

class GLSceneEngine : public ZOTObject {
public:
    explicit GLSceneEngine(ZOTOwner* parent);
    ~GLSceneEngine() override;

    void Init();
    // None is allowed: nothing is rendered then.
    void SetActiveScene(GLScene* scene);
    void Enable();
    void Render();
    // Destroys the listed scenes and forgets the active one.
    void Clear();

    // Not owned: the active scene usually belongs to the application.
    GLScene* ActiveScene = nullptr;
    // Owned.
    TScenes Scenes;
    int32_t LastScene = -1;
    bool Enabled = true;
};
