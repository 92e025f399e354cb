// The animated cat with its fur, and the butterflies round it. The cat is
// drawn once as it is and then again as a stack of shells: copies of its
// skinned mesh pushed out along the normals by a vertex program and cut into
// strands by a fragment program.
#pragma once

#include <cstdint>

#include "core/zot_object.h"

class ZAGLScene;
class ZRAnimation;
class ZRList;
class ZRModel;
class ZRShader;
class ZRTexture;

class ZAGLSModels : public ZOTObject {
public:
    explicit ZAGLSModels(ZAGLScene* scene);
    ~ZAGLSModels() override;

    void Initialize();
    // Keeps the cat busy with one of its animations and moves the butterflies.
    void Update();
    void Draw();
    // For the ground's shadow pass: the cat without its fur and the
    // butterflies laid flat where their shadows fall.
    void DrawShadowCasters();

    // What each shell i of n hands its programs: how far it stands out
    // along the normals, and (sqrt(1 - f), f, 0) for f = i / n.
    static float ShellOffset(int32_t shell, int32_t shells);
    static float ShellHeight(int32_t shell, int32_t shells);

    // All owned.
    ZRModel* Cat = nullptr;
    ZRAnimation* CatAnimation = nullptr;
    ZRModel* Butterfly = nullptr;
    ZRList* Butterflies = nullptr;
    ZRTexture* Fur = nullptr;
    ZRTexture* FurTexture = nullptr;
    ZRTexture* Rules = nullptr;
    ZRShader* FurProgram = nullptr;
    ZRShader* ShellProgram = nullptr;

private:
    ZAGLScene* Scene;

    void DrawCat(bool withFur);
    void DrawBaseModel();
    void DrawFur();
    void DrawShell(int32_t shell, int32_t shells);
    void DrawButterflies(bool shadowMode);
};
