// One joystick as the input module sees it: axes with a dead zone, buttons,
// and the stick's directions as extra buttons.
#pragma once

#include <cstdint>
#include <memory>

#include "core/zot_object.h"
#include "input/input_directinput.h"

class ZIJoystick : public ZOTObject {
public:
    // Button indices 0 ... 31 name the device's buttons; these name the stick
    // pushed past Threshold.
    static constexpr int32_t kLeft = 32;
    static constexpr int32_t kRight = 33;
    static constexpr int32_t kUp = 34;
    static constexpr int32_t kDown = 35;
    static constexpr int32_t kUpLeft = 36;
    static constexpr int32_t kUpRight = 37;
    static constexpr int32_t kDownLeft = 38;
    static constexpr int32_t kDownRight = 39;

    explicit ZIJoystick(ZOTOwner* parent);
    ~ZIJoystick() override;

    // Throws TDIError when the device cannot be created.
    void Start(const TDirectInput* directInput, int32_t index, int32_t instance);
    void ReadState();

    // -Range ... +Range, 0 inside the dead zone.
    float AxisX() const;
    float AxisY() const;
    bool Button(int32_t n) const;

    int32_t Index = -1;
    float Range = 1.0f;
    float DeadZone = 0.25f;
    float Threshold = 0.25f;
    bool RoundAxes = false;
    bool InvertX = false;
    bool InvertY = false;
    std::unique_ptr<TDIJoy> Device;
    bool Active = false;

private:
    float Axis(int32_t slot, bool invert) const;
    bool Direction(int32_t n) const;
};
