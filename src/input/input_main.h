// The input module: named actions bound to codes of the keyboard, the mouse
// and up to four joysticks, brought up to date from the devices once a frame.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/zot_object.h"
#include "input/input_directinput.h"

namespace platform {
class Window;
}

class ZIKeyboard;
class ZIMouse;
class ZIJoystick;

// One number space of input codes over every device: keyboard key numbers,
// then mouse buttons and wheel, then a span of codes for each joystick.
constexpr int32_t kNoInput = -1;
constexpr int32_t kKeyboardCodes = 0;
constexpr int32_t kMouseCodes = 1000;
constexpr int32_t kJoystickCodes = 2000;
constexpr int32_t kJoystickCodeSpan = 500;
constexpr int32_t kInputCodesEnd = kJoystickCodes + kMaxJoysticks * kJoystickCodeSpan;

// A named action.
struct TButton {
    std::string Name;
    std::string Group;
    int32_t Code1 = kNoInput;
    int32_t Code2 = kNoInput;
    bool Down = false;
    bool WasDown = false;
    bool Active = true;
};

struct TButtons {
    std::vector<TButton> Items;
    int32_t Last = -1;
};

class ZOTInput : public ZOTObject {
public:
    explicit ZOTInput(ZOTOwner* parent);
    ~ZOTInput() override;

    // Without a window there is no mouse movement, no client area and no
    // joystick acquisition. Device failures are reported and start-up goes on.
    void Start(platform::Window* window, bool keyboard, bool mouse, bool joystick);

    // The new action's index; binding a name twice makes two actions.
    int32_t Bind(std::string_view name, std::string_view group, int32_t code);
    int32_t BindTwo(std::string_view name, std::string_view group, int32_t code1, int32_t code2);
    // The first action of that name in that group (an empty group matches
    // every group), or -1.
    int32_t Find(std::string_view name, std::string_view group) const;
    bool IsDown(std::string_view name) const;
    bool IsDownIn(std::string_view name, std::string_view group) const;
    bool IsDownAt(int32_t index) const;
    // True only in the update in which the action went down.
    bool Pressed(std::string_view name) const;
    bool PressedIn(std::string_view name, std::string_view group) const;

    void Update();
    // Whether either code of the action is active now; a code outside every
    // device's range is reported and keeps the action up.
    bool Poll(const TButton& button) const;

    platform::Window* MainWindow = nullptr;
    bool UseKeyboard = false;
    bool UseMouse = false;
    bool UseJoystick = false;
    TButtons Buttons;
    ZIKeyboard* Keyboard = nullptr;
    ZIMouse* Mouse = nullptr;
    std::array<ZIJoystick*, kMaxJoysticks> Joysticks{};
    int32_t LastJoystick = -1;
    bool Enabled = true;
    // Off, Update leaves the devices' state buffers as they are, so a test can
    // set them and watch the actions follow.
    bool ReadDevices = true;
    std::unique_ptr<TDirectInput> DirectInput;

private:
    void StartDevices(bool keyboard, bool mouse, bool joystick);
    void StartJoysticks();
    void ReadDeviceStates();
    bool CodeDown(int32_t code) const;
    const TButton* FindButton(std::string_view name, std::string_view group) const;
};

// The input module of this process, or none.
extern ZOTInput* CurrentInput;

// The module's error reports (source "ZOT_Input"); quiet without an engine.
void InputError(std::string_view message);
