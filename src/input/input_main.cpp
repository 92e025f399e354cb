#include "input/input_main.h"

#include <string>

#include "core/zot_console.h"
#include "core/zot_constant.h"
#include "core/zot_main.h"
#include "input/input_joystick.h"
#include "input/input_keyboard.h"
#include "input/input_mouse.h"

ZOTInput* CurrentInput = nullptr;

namespace {

// A device that cannot be created is reported, and the others still start.
template <typename StartDevice>
void StartGuarded(StartDevice start)
{
    try {
        start();
    } catch (const TDIError& error) {
        InputError(error.what());
    }
}

bool IsInputCode(int32_t code) { return code >= kKeyboardCodes && code < kInputCodesEnd; }

}  // namespace

void InputError(std::string_view message) { ReportError("ZOT_Input", message); }

ZOTInput::ZOTInput(ZOTOwner* parent) : ZOTObject(parent, "ZOT Input Main", "ZOTInput")
{
    CurrentInput = this;
    Keyboard = new ZIKeyboard(this);
    Mouse = new ZIMouse(this);
    for (ZIJoystick*& joystick : Joysticks)
        joystick = new ZIJoystick(this);
}

ZOTInput::~ZOTInput()
{
    Enabled = false;
    LogLine(kSeparatorLine);
    LogLine("ZOT Input: Shut down...");
    DeleteAndClear(Keyboard);
    DeleteAndClear(Mouse);
    for (ZIJoystick*& joystick : Joysticks) {
        DeleteAndClear(joystick);
    }
    DirectInput.reset();
    Buttons = TButtons();
    LogLine(kSeparatorLine);
    LogLine(kEmptyLine);
    if (CurrentInput == this)
        CurrentInput = nullptr;
}

void ZOTInput::Start(platform::Window* window, bool keyboard, bool mouse, bool joystick)
{
    LogLine(kSeparatorLine);
    LogLine("Initializing Module: ZOT Input");
    LogLine(kEmptyLine);
    MainWindow = window;
    DirectInput = CreateDirectInput(window);
    if (DirectInput)
        StartDevices(keyboard, mouse, joystick);
    else
        InputError("Could not initialize Direct Input!");
    if (UseMouse)
        Mouse->TakeClientArea(MainWindow);
    LogLine(kSeparatorLine);
    LogLine(kEmptyLine);
}

void ZOTInput::StartDevices(bool keyboard, bool mouse, bool joystick)
{
    if (keyboard)
        StartGuarded([this] { Keyboard->Start(DirectInput.get()); });
    if (mouse)
        StartGuarded([this] { Mouse->Start(DirectInput.get()); });
    if (joystick)
        StartJoysticks();
    UseKeyboard = keyboard;
    UseMouse = mouse;
    UseJoystick = joystick;
}

void ZOTInput::StartJoysticks()
{
    const std::vector<int32_t> found = DirectInput->EnumJoysticks();
    const int32_t count = static_cast<int32_t>(found.size());
    LastJoystick = count - 1;
    LogLine("ZOT Input: Joystick Devices found: " + std::to_string(count));
    for (int32_t i = 0; i < count; ++i)
        StartGuarded([this, i, &found] { Joysticks[i]->Start(DirectInput.get(), i, found[i]); });
}

int32_t ZOTInput::Bind(std::string_view name, std::string_view group, int32_t code)
{
    return BindTwo(name, group, code, kNoInput);
}

int32_t ZOTInput::BindTwo(std::string_view name, std::string_view group, int32_t code1, int32_t code2)
{
    TButton button;
    button.Name = CutText(name, kNameLength);
    button.Group = CutText(group, kNameLength);
    button.Code1 = code1;
    button.Code2 = code2;
    Buttons.Items.push_back(button);
    return ++Buttons.Last;
}

int32_t ZOTInput::Find(std::string_view name, std::string_view group) const
{
    if (!Enabled)
        return -1;
    for (int32_t i = 0; i <= Buttons.Last; ++i) {
        const TButton& button = Buttons.Items[i];
        if (button.Name == name && (group.empty() || button.Group == group))
            return i;
    }
    return -1;
}

const TButton* ZOTInput::FindButton(std::string_view name, std::string_view group) const
{
    const int32_t index = Find(name, group);
    return index < 0 ? nullptr : &Buttons.Items[index];
}

bool ZOTInput::IsDown(std::string_view name) const { return IsDownIn(name, ""); }

bool ZOTInput::IsDownIn(std::string_view name, std::string_view group) const
{
    const TButton* button = FindButton(name, group);
    return button && button->Down;
}

bool ZOTInput::IsDownAt(int32_t index) const
{
    return index >= 0 && index <= Buttons.Last && Buttons.Items[index].Down;
}

bool ZOTInput::Pressed(std::string_view name) const { return PressedIn(name, ""); }

bool ZOTInput::PressedIn(std::string_view name, std::string_view group) const
{
    const TButton* button = FindButton(name, group);
    return button && button->Down && !button->WasDown;
}

void ZOTInput::Update()
{
    if (!Enabled)
        return;
    if (UseMouse)
        Mouse->Acquired = Enabled;
    if (ReadDevices)
        ReadDeviceStates();
    for (TButton& button : Buttons.Items) {
        button.WasDown = button.Down;
        button.Down = Poll(button);
    }
}

void ZOTInput::ReadDeviceStates()
{
    if (UseKeyboard)
        Keyboard->ReadState();
    if (UseMouse)
        Mouse->ReadState();
    if (!UseJoystick)
        return;
    for (int32_t i = 0; i <= LastJoystick; ++i)
        Joysticks[i]->ReadState();
}

bool ZOTInput::Poll(const TButton& button) const
{
    if (!Enabled || !button.Active)
        return false;
    bool down = false;
    for (const int32_t code : {button.Code1, button.Code2}) {
        if (code == kNoInput)
            continue;
        if (!IsInputCode(code)) {
            InputError("Undefined input device range!");
            return false;
        }
        down = CodeDown(code) || down;
    }
    return down;
}

bool ZOTInput::CodeDown(int32_t code) const
{
    if (code < kMouseCodes)
        return Keyboard->IsKeyDown(code - kKeyboardCodes);
    if (code < kJoystickCodes)
        return Mouse->Button(code - kMouseCodes);
    const int32_t offset = code - kJoystickCodes;
    return Joysticks[offset / kJoystickCodeSpan]->Button(offset % kJoystickCodeSpan);
}
