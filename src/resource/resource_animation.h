// The playback state of one skeletal animation of one model: which animation
// plays, its time in key units, direction, speed and looping. The model
// engine reads the index and time when the model is drawn; several playback
// objects may share a model.
#pragma once

#include <cstdint>
#include <string>

#include "resource/resource_main.h"

class ZRModel;

class ZRAnimation : public ZOTResource {
public:
    enum Direction : int32_t { kStopped = 0, kForward = 1, kBackward = 2 };
    // Start times that stand for a moment of the animation rather than a time.
    static constexpr float kStartByDirection = -1.0f;
    static constexpr float kStartAtBeginning = -2.0f;
    static constexpr float kStartAtEnd = -3.0f;

    explicit ZRAnimation(ZOTOwner* owner = nullptr);

    // Starts the animation forward at speed 1, looping as the model file says.
    void Play(ZRModel* model, int32_t index);
    // An index outside the model's animations changes nothing.
    void Start(ZRModel* model, int32_t index, bool loop, float speed, int32_t direction, float startTime);
    // The start of the animation for its direction: 1.0 forward, its length backward.
    void ResetTime();
    // Looks the animation up again by name, for a model that was reloaded.
    void Reset() override;
    bool HasAnimation() const;
    bool IsPlaying() const;
    // Advances by the engine's frame time.
    void Update();

    // Not owned.
    ZRModel* Model = nullptr;
    std::string AnimationName;
    int32_t AnimationIndex = -1;
    float Time = 0.0f;
    int32_t Direction = kStopped;
    // The requested speed times 10: key units per second at rate 1.
    float PlaybackSpeed = 1.0f;
    bool Loop = false;
    bool Paused = false;

private:
    // The animation's length, 1.0 when there is none.
    float Length() const;
};
