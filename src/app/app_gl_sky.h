// The garden's sky: the sky box tinted with the colour of the time of day and
// carrying the sun, a slowly turning star box late at night, and the sun
// light the time of day gives the rest of the scene.
#pragma once

#include "core/zot_object.h"
#include "math/math_types.h"

class GLSkyBox;
class ZAGLScene;
class ZRTexture;

// What a time of day looks like: its sun and the colours of its light and sky.
struct TSkyState {
    // s = T |T|: the time of day squared, keeping its sign.
    float DayValue = 0.0f;
    // Towards the sun, not yet of unit length.
    Vector3 SunDirection;
    Color3 Ambient;
    Color3 Diffuse;
    Color3 Sky;
};

class ZAGLSSky : public ZOTObject {
public:
    explicit ZAGLSSky(ZAGLScene* scene);

    void Init(bool withSun);
    void Update() {}
    // Draws the skies, then works out the light the next parts are lit by.
    void Render();

    // Time of day T in -1..1: 0 is noon, -1 and 1 midnight.
    static TSkyState StateAt(float timeOfDay);
    // How strongly the stars show: 0 up to |T| = 0.75, 1 at midnight.
    static float StarStrength(float timeOfDay);

    // Owned.
    GLSkyBox* SkyBox = nullptr;
    ZRTexture* Stars = nullptr;
    // Of unit length after each update.
    Vector3 SunDirection{0.0f, 0.0f, -1.0f};

private:
    ZAGLScene* Scene;

    void DrawSkies();
    void UpdateLight();
};
