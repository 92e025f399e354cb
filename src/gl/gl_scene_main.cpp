#include "gl/gl_scene_main.h"

#include "core/zot_console.h"
#include "core/zot_main.h"
#include "gl/gl_scene_generic.h"

GLSceneEngine::GLSceneEngine(ZOTOwner* parent) : ZOTObject(parent, "ZOT GL Scene Engine", "GLSceneEngine") {}

GLSceneEngine::~GLSceneEngine() { Clear(); }

void GLSceneEngine::Init() { LogLine("ZOT GL: Scene Engine initialized!"); }

void GLSceneEngine::SetActiveScene(GLScene* scene) { ActiveScene = scene; }

void GLSceneEngine::Enable() { Enabled = true; }

void GLSceneEngine::Render()
{
    if (!Enabled || !ActiveScene)
        return;
    ActiveScene->Render();
}

// The active scene is forgotten before any listed scene is destroyed, so the
// engine never holds a reference to a scene being torn down.
void GLSceneEngine::Clear()
{
    ActiveScene = nullptr;
    for (GLScene* scene : Scenes)
        delete scene;
    TScenes().swap(Scenes);
    LastScene = -1;
}
