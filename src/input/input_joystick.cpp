#include "input/input_joystick.h"

#include <cmath>
#include <string>

#include "core/zot_console.h"
#include "core/zot_main.h"
#include "input/input_main.h"
#include "math/zot_math.h"

namespace {

constexpr int32_t kAxisX = 0;
constexpr int32_t kAxisY = 1;

constexpr uint8_t kPushedLeft = 1;
constexpr uint8_t kPushedRight = 2;
constexpr uint8_t kPushedUp = 4;
constexpr uint8_t kPushedDown = 8;

// What each direction index from kLeft on asks of the stick.
constexpr uint8_t kDirections[] = {
    kPushedLeft,
    kPushedRight,
    kPushedUp,
    kPushedDown,
    kPushedUp | kPushedLeft,
    kPushedUp | kPushedRight,
    kPushedDown | kPushedLeft,
    kPushedDown | kPushedRight,
};

}  // namespace

ZIJoystick::ZIJoystick(ZOTOwner* parent) : ZOTObject(parent, "ZOT Input Joystick", "ZIJoystick") {}

ZIJoystick::~ZIJoystick() = default;

void ZIJoystick::Start(const TDirectInput* directInput, int32_t index, int32_t instance)
{
    Device = std::make_unique<TDIJoy>(directInput, instance);
    Index = index;
    Active = true;
    LogLine("ZOT Input: Joystick ID:" + std::to_string(index) + " initialized!");
}

void ZIJoystick::ReadState()
{
    if (Active)
        Device->ReadState();
}

float ZIJoystick::AxisX() const { return Axis(kAxisX, InvertX); }

float ZIJoystick::AxisY() const { return Axis(kAxisY, InvertY); }

float ZIJoystick::Axis(int32_t slot, bool invert) const
{
    const int32_t raw = Device ? Device->State.Axes[slot] : platform::kAxisCentre;
    // Scaled so that after the dead zone is taken off, the ends read +-Range.
    const float v = (Range + DeadZone) / platform::kAxisCentre * static_cast<float>(raw - platform::kAxisCentre);
    if (std::fabs(v) < DeadZone)
        return 0.0f;
    float value = v > 0.0f ? v - DeadZone : v + DeadZone;
    if (invert)
        value = -value;
    if (RoundAxes)
        value = CurrentEngine->Math->Rounding->RoundAway(value);
    return value;
}

bool ZIJoystick::Direction(int32_t n) const
{
    const float x = AxisX();
    const float y = AxisY();
    const uint8_t pushed = (x < -Threshold ? kPushedLeft : 0) | (x > Threshold ? kPushedRight : 0) |
                           (y < -Threshold ? kPushedUp : 0) | (y > Threshold ? kPushedDown : 0);
    const uint8_t wanted = kDirections[n - kLeft];
    return (pushed & wanted) == wanted;
}

bool ZIJoystick::Button(int32_t n) const
{
    if (!Active)
        return false;
    if (n >= 0 && n < platform::kJoystickButtons)
        return Device->State.Buttons[n] >= platform::kDownBit;
    if (n >= kLeft && n <= kDownRight)
        return Direction(n);
    InputError("Undefined joystick button index!");
    return false;
}
