#include "app/app_butterfly.h"

#include "core/zot_main.h"
#include "core/zot_timer.h"
#include "gl/gl_main.h"
#include "gl/gl_modelengine.h"
#include "math/math_random.h"
#include "math/zot_math.h"
#include "resource/resource_animation.h"

namespace {

constexpr float kFlightHeight = 0.3f;
constexpr float kHeadingPeriod = 0.6f;
// The flight box: centred above the cat, 2 units either side, from the
// ground up to 1.5.
constexpr Vector3 kBoxCentre{0.0f, 1.0f, 0.0f};
constexpr float kBoxHalfWidth = 2.0f;
constexpr float kBoxUp = 0.5f;
constexpr float kBoxDown = 1.0f;
constexpr float kYawChange = 30.0f;
constexpr float kPitchChange = 25.0f;
constexpr float kPitchLimit = 30.0f;
// Too low or too high, a butterfly climbs or dives this steeply.
constexpr float kLowest = 0.3f;
constexpr float kHighest = 1.3f;
constexpr float kSteepPitch = 40.0f;
// The garden's edges: past one, a butterfly turns straight back (yaw 0
// flies towards -z, 90 towards -x). Beyond the flight box it takes a new
// heading every frame, so it drifts back long before it reaches the edges
// that lie outside the box.
constexpr float kLeftEdge = -2.8f;
constexpr float kRightEdge = 1.3f;
constexpr float kNearEdge = -1.3f;
constexpr float kFarEdge = 2.8f;
// How far a shadow is thrown per unit of height under a low sun.
constexpr float kShadowThrow = 4.0f;

float Random(float min, float max) { return CurrentEngine->Math->Random->RandomFloat(min, max); }

}  // namespace

ZAButterfly::ZAButterfly(ZOTOwner* owner, ZRModel* model) : ZOTObject(owner, "Butterfly", "ZAButterfly")
{
    Position.x = Random(-1.0f, 1.0f);
    Position.y = 0.5f;
    Position.z = Random(-1.0f, 1.0f);
    Rotation.x = Random(-20.0f, 20.0f);
    Rotation.y = Random(0.0f, 360.0f);
    Speed = Random(0.8f, 1.0f);
    Scale = Random(0.15f, 0.25f);
    Timer = Random(0.0f, 0.5f);
    SetModel(model);
}

ZAButterfly::~ZAButterfly() { DeleteAndClear(Animation); }

void ZAButterfly::SetModel(ZRModel* model)
{
    Model = model;
    DeleteAndClear(Animation);
    Animation = new ZRAnimation(this);
    Animation->Start(model, 0, true, 1.0f, ZRAnimation::kForward, ZRAnimation::kStartByDirection);
}

void ZAButterfly::Update()
{
    Animation->Update();
    Position.y = kFlightHeight;
    CurrentEngine->Timer->AdvanceBy(Timer);
    if (Timer > kHeadingPeriod) {
        Timer = 0.0f;
        NewHeading();
    }
    CurrentEngine->Math->MoveForward(Rotation, Position, CurrentEngine->Timer->GetFrameTime() * Speed);
    if (!InFlightBox(Position))
        NewHeading();
}

void ZAButterfly::NewHeading()
{
    Rotation.y += Random(-kYawChange, kYawChange);
    Rotation.x += Random(-kPitchChange, kPitchChange);
    CurrentEngine->Math->Clamp(Rotation.x, -kPitchLimit, kPitchLimit);
    if (Position.y < kLowest)
        Rotation.x = kSteepPitch;
    if (Position.y > kHighest)
        Rotation.x = -kSteepPitch;
    if (Position.x < kLeftEdge)
        Rotation.y = 270.0f;
    if (Position.x > kRightEdge)
        Rotation.y = 90.0f;
    if (Position.z < kNearEdge)
        Rotation.y = 180.0f;
    if (Position.z > kFarEdge)
        Rotation.y = 0.0f;
}

bool ZAButterfly::InFlightBox(const Vector3& position)
{
    return CurrentEngine->Math->InBox(position, kBoxCentre, 0.0f, kBoxHalfWidth, kBoxHalfWidth, kBoxUp, kBoxDown);
}

Vector3 ZAButterfly::ShadowPosition(const Vector3& position, const Vector3& sun)
{
    const float reach = (kShadowThrow - kShadowThrow * sun.y) * position.y;
    return {position.x - sun.x * reach, 0.0f, position.z - sun.z * reach};
}

void ZAButterfly::Draw(bool shadowMode, const Vector3& sun)
{
    const Vector3 at = shadowMode ? ShadowPosition(Position, sun) : Position;
    GLModelEngine& models = *CurrentGL->ModelEngine;
    models.SetAnimationFrom(*Animation);
    models.DrawModel(Model, at, Scale, Rotation);
}
