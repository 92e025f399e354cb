// The input module's device layer in DirectInput's shape: the interface,
// keyboard, mouse and joystick devices that are acquired, polled and read into
// state buffers, joystick enumeration, and the texts of result codes. The
// platform's input devices stand in for DirectInput itself.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/platform_input.h"

constexpr int32_t DISCL_EXCLUSIVE = 0x1;
constexpr int32_t DISCL_NONEXCLUSIVE = 0x2;
constexpr int32_t DISCL_FOREGROUND = 0x4;
constexpr int32_t DISCL_BACKGROUND = 0x8;

constexpr uint32_t DIDC_ATTACHED = 0x1;
constexpr uint32_t DIDC_POLLEDDEVICE = 0x2;
constexpr uint32_t DIDC_FORCEFEEDBACK = 0x100;

constexpr uint32_t DIDEVTYPE_MOUSE = 2;
constexpr uint32_t DIDEVTYPE_KEYBOARD = 3;
constexpr uint32_t DIDEVTYPE_JOYSTICK = 4;

// Enumeration stops after this many joysticks.
constexpr int32_t kMaxJoysticks = 4;

struct TDIDevCaps {
    uint32_t Flags = 0;
    uint32_t DevType = 0;
    uint32_t Axes = 0;
    uint32_t Buttons = 0;
    uint32_t POVs = 0;
};

// A device that could not be created; the message is ErrorText of the result
// code, ": " and the step that failed.
class TDIError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The text of a result code, or "Unrecognized Error: $" and the code in hexadecimal.
std::string ErrorText(int32_t code);

// The interface that devices are created from; it remembers the main window
// that foreground devices belong to.
class TDirectInput {
public:
    explicit TDirectInput(platform::Window* window);

    // The attached joysticks to create, by their number: at most kMaxJoysticks.
    std::vector<int32_t> EnumJoysticks();
    platform::Window* MainWindow() const { return Window; }
    bool Ready() const { return System.Started(); }

private:
    platform::Window* Window;
    platform::InputSystem System;
};

// None when the platform has no input to offer.
std::unique_ptr<TDirectInput> CreateDirectInput(platform::Window* window);

class TDIDevice {
public:
    virtual ~TDIDevice();
    TDIDevice(const TDIDevice&) = delete;
    TDIDevice& operator=(const TDIDevice&) = delete;

    // Applies a changed cooperative level first. A foreground device is only
    // acquired while the main window has the focus.
    int32_t Acquire();
    int32_t Poll();
    // A failed acquisition leaves the previous state in the buffer.
    int32_t ReadState();
    int32_t GetDeviceState();
    void Unacquire();
    bool IsAcquired() const { return Acquired; }

    std::string ProductName;
    TDIDevCaps Caps;
    int32_t CooperativeLevel;
    bool LevelChanged = true;

protected:
    // Throws TDIError "DirectInput not initialized" when directInput is none.
    TDIDevice(const TDirectInput* directInput, int32_t cooperativeLevel);

    // Throws TDIError when code is a failure.
    static void Check(int32_t code, const char* context);
    virtual int32_t PollDevice();
    virtual int32_t ReadDevice() = 0;

private:
    platform::Window* Window;
    bool Acquired = false;

    int32_t SetCooperativeLevel();
};

class TDIKeyboard : public TDIDevice {
public:
    explicit TDIKeyboard(const TDirectInput* directInput);

    platform::KeyboardState State{};

protected:
    int32_t ReadDevice() override;

private:
    platform::KeyboardReader Reader;
};

class TDIMouse : public TDIDevice {
public:
    explicit TDIMouse(const TDirectInput* directInput);

    platform::MouseState State;

protected:
    int32_t ReadDevice() override;

private:
    platform::MouseReader Reader;
};

class TDIJoy : public TDIDevice {
public:
    // instance is the joystick's number from EnumJoysticks.
    TDIJoy(const TDirectInput* directInput, int32_t instance);

    int32_t Instance;
    bool ForceFeedback = false;
    platform::JoystickState State;

protected:
    int32_t PollDevice() override;
    int32_t ReadDevice() override;

private:
    platform::JoystickReader Reader;
};
