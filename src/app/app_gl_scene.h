// The garden scene that the GL module renders every frame.
#pragma once

#include "gl/gl_scene_generic.h"

class ZAGLScene : public GLScene {
public:
    explicit ZAGLScene(ZOTOwner* parent);

    void Render() override;
};
