#include "resource/resource_animation.h"

#include "core/zot_main.h"
#include "core/zot_timer.h"
#include "resource/resource_model.h"

namespace {

constexpr float kFirstKeyTime = 1.0f;
constexpr float kSpeedScale = 10.0f;

bool ValidIndex(const ZRModel* model, int32_t index)
{
    return model && index >= 0 && index <= HighIndex(model->Model.Animations);
}

float FrameTime() { return CurrentEngine && CurrentEngine->Timer ? CurrentEngine->Timer->GetFrameTime() : 0.0f; }

}  // namespace

ZRAnimation::ZRAnimation(ZOTOwner* owner) : ZOTResource(owner, "ZOT Animation", "ZRAnimation") { Reset(); }

void ZRAnimation::Play(ZRModel* model, int32_t index)
{
    if (!ValidIndex(model, index))
        return;
    const bool loop = model->Model.Animations[static_cast<size_t>(index)].Loop;
    Start(model, index, loop, 1.0f, kForward, kStartByDirection);
}

void ZRAnimation::Start(ZRModel* model, int32_t index, bool loop, float speed, int32_t direction, float startTime)
{
    if (!ValidIndex(model, index))
        return;
    Model = model;
    AnimationIndex = index;
    AnimationName = model->Model.Animations[static_cast<size_t>(index)].Name;
    Direction = direction;
    PlaybackSpeed = speed * kSpeedScale;
    Loop = loop;
    Paused = false;
    ResetTime();
    if (startTime == kStartAtBeginning)
        Time = kFirstKeyTime;
    else if (startTime == kStartAtEnd)
        Time = Length();
    else if (startTime != kStartByDirection)
        Time = startTime;
}

void ZRAnimation::ResetTime()
{
    if (Direction == kForward)
        Time = kFirstKeyTime;
    else if (Direction == kBackward)
        Time = Length();
}

void ZRAnimation::Reset()
{
    if (Direction == kStopped || !Model)
        return;
    AnimationIndex = Model->AnimationIndex(AnimationName);
    Paused = false;
    ResetTime();
}

bool ZRAnimation::HasAnimation() const { return AnimationIndex >= 0 && Model; }

bool ZRAnimation::IsPlaying() const { return HasAnimation() && Direction != kStopped; }

float ZRAnimation::Length() const
{
    return ValidIndex(Model, AnimationIndex) ? Model->Model.Animations[static_cast<size_t>(AnimationIndex)].Length
                                             : kFirstKeyTime;
}

// One span is wrapped per update, so a step longer than the span lands
// outside the animation until later updates bring it back.
void ZRAnimation::Update()
{
    if (!ValidIndex(Model, AnimationIndex) || Direction == kStopped || Paused)
        return;
    const ZRMAnimation& animation = Model->Model.Animations[static_cast<size_t>(AnimationIndex)];
    const float step = FrameTime() * PlaybackSpeed * animation.Rate;
    const float span = animation.Length - kFirstKeyTime;
    if (Direction == kForward) {
        Time += step;
        if (Time >= animation.Length) {
            Time = Loop ? Time - span : animation.Length;
            Direction = Loop ? Direction : static_cast<int32_t>(kStopped);
        }
    } else if (Direction == kBackward) {
        Time -= step;
        if (Time <= kFirstKeyTime) {
            Time = Loop ? Time + span : kFirstKeyTime;
            Direction = Loop ? Direction : static_cast<int32_t>(kStopped);
        }
    } else {
        ReportError("ZC_Animation", "Undefined animation playback direction!");
    }
}
