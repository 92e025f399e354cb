#include "gl/gl_scene_generic.h"

#include <string>

#include "core/zot_console.h"
#include "core/zot_main.h"
#include "gl/gl_main.h"
#include "gl/gl_scene_main.h"

GLScene::GLScene(ZOTOwner* parent, std::string_view name, const char* className)
    : ZOTObject(parent, name, className), Owner(parent)
{
}

// A scene that goes away while it is active must not leave the scene engine
// pointing at it.
GLScene::~GLScene()
{
    GLSceneEngine* engine = CurrentGL ? CurrentGL->SceneEngine : nullptr;
    if (engine && engine->ActiveScene == this)
        engine->SetActiveScene(nullptr);
}

void GLScene::Render() {}

void GLScene::Initialize()
{
    LogLine("ZOT GL: Scene initialized: \"" + Name + "\"!");
    CurrentGL->SceneEngine->SetActiveScene(this);
}
