#include "input/input_mouse.h"

#include "core/zot_console.h"
#include "input/input_main.h"
#include "platform/platform_input.h"
#include "platform/platform_window.h"

ZIMouse::ZIMouse(ZOTOwner* parent) : ZOTObject(parent, "ZOT Input Mouse", "ZIMouse") {}

ZIMouse::~ZIMouse() = default;

void ZIMouse::Start(const TDirectInput* directInput)
{
    Device = std::make_unique<TDIMouse>(directInput);
    ScaleX = 640.0f;
    ScaleY = 480.0f;
    Started = true;
    LogLine("ZOT Input: Mouse initialized!");
}

void ZIMouse::TakeClientArea(const platform::Window* window)
{
    if (!window)
        return;
    platform::ClientOrigin(*window, ClientX, ClientY);
    window->GetClientSize(ClientWidth, ClientHeight);
}

void ZIMouse::ReadState()
{
    if (Started)
        Device->ReadState();
}

float ZIMouse::DeltaX() const
{
    if (!Acquired || !Device)
        return 0.0f;
    return static_cast<float>(Device->State.X) * static_cast<float>(ClientWidth) / ScaleX;
}

float ZIMouse::DeltaY() const
{
    if (!Acquired || !Device)
        return 0.0f;
    return static_cast<float>(Device->State.Y) * static_cast<float>(ClientHeight) / ScaleY;
}

int32_t ZIMouse::Wheel() const { return Acquired && Device ? Device->State.Z : 0; }

bool ZIMouse::Button(int32_t n) const
{
    if (!Started)
        return false;
    if (n >= 0 && n <= kLastButton)
        return Acquired && n < platform::kMouseButtons && Device->State.Buttons[n] != 0;
    if (n == kWheelForward)
        return Wheel() > 0;
    if (n == kWheelBackward)
        return Wheel() < 0;
    InputError("Undefined mouse button index!");
    return false;
}
