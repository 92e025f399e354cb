// The mouse as the input module sees it: movement scaled to the main window's
// client area, the wheel and the buttons.
#pragma once

#include <cstdint>
#include <memory>

#include "core/zot_object.h"
#include "input/input_directinput.h"

namespace platform {
class Window;
}

class ZIMouse : public ZOTObject {
public:
    // Button indices past the four real buttons, and the wheel's two directions.
    static constexpr int32_t kLastButton = 32;
    static constexpr int32_t kWheelForward = 33;
    static constexpr int32_t kWheelBackward = 34;

    explicit ZIMouse(ZOTOwner* parent);
    ~ZIMouse() override;

    // Throws TDIError when the device cannot be created.
    void Start(const TDirectInput* directInput);
    void TakeClientArea(const platform::Window* window);
    void ReadState();

    // Movement since the last read, in client pixels per ScaleX by ScaleY units.
    float DeltaX() const;
    float DeltaY() const;
    int32_t Wheel() const;
    // 0 ... 32 buttons (4 ... 32 read as up), 33 and 34 the wheel turned forward
    // or backward; other indices are reported.
    bool Button(int32_t n) const;

    int32_t ClientX = 0;
    int32_t ClientY = 0;
    int32_t ClientWidth = 0;
    int32_t ClientHeight = 0;
    float ScaleX = 640.0f;
    float ScaleY = 480.0f;
    // Input is enabled this frame.
    bool Acquired = false;
    bool Started = false;
    std::unique_ptr<TDIMouse> Device;
};
