// One butterfly fluttering round the cat: it flies straight ahead at its own
// speed, picks a new heading now and then or when it leaves its flight box,
// turns back at the edges of the garden and beats its wings in a loop.
#pragma once

#include "core/zot_object.h"
#include "math/math_types.h"

class ZRAnimation;
class ZRModel;

class ZAButterfly : public ZOTObject {
public:
    // Every start value is random; model is shared, not owned.
    ZAButterfly(ZOTOwner* owner, ZRModel* model);
    ~ZAButterfly() override;

    // Starts the wing beat of the new model on an animation of its own.
    void SetModel(ZRModel* model);
    void Update();
    void NewHeading();
    // sun is the unit vector towards the sun; it matters in shadow mode only,
    // which lays the butterfly flat on the ground, away from the sun.
    void Draw(bool shadowMode, const Vector3& sun);

    // Where the shadow of a butterfly at position falls under the sun.
    static Vector3 ShadowPosition(const Vector3& position, const Vector3& sun);
    // Whether position lies within the box the butterflies keep to.
    static bool InFlightBox(const Vector3& position);

    Vector3 Position;
    // Degrees: pitch, yaw, roll; roll stays 0.
    Vector3 Rotation;
    // Units per second.
    float Speed = 0.0f;
    float Scale = 1.0f;
    // Seconds since the heading last changed.
    float Timer = 0.0f;
    // Not owned.
    ZRModel* Model = nullptr;
    // Owned.
    ZRAnimation* Animation = nullptr;
};
