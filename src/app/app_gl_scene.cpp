#include "app/app_gl_scene.h"

#include <GL/gl.h>

namespace {
// The colour the scene clears its frame to.
constexpr float kSkyBlue[3] = {0.45f, 0.65f, 0.9f};
}

ZAGLScene::ZAGLScene(ZOTOwner* parent) : GLScene(parent, "ZOT App Scene", "ZAGLScene") {}

void ZAGLScene::Render()
{
    glClearColor(kSkyBlue[0], kSkyBlue[1], kSkyBlue[2], 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}
