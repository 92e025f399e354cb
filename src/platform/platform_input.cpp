#include "platform/platform_input.h"

#include <SDL.h>

#include <algorithm>

namespace platform {

namespace {

struct KeyNumbering {
    SDL_Scancode Scancode;
    uint8_t Number;
};

// Every key of a full PC keyboard with the number DirectInput gives it.
constexpr KeyNumbering kKeyTable[] = {
    {SDL_SCANCODE_ESCAPE, DIK_ESCAPE},
    {SDL_SCANCODE_1, DIK_1},
    {SDL_SCANCODE_2, DIK_2},
    {SDL_SCANCODE_3, DIK_3},
    {SDL_SCANCODE_4, DIK_4},
    {SDL_SCANCODE_5, DIK_5},
    {SDL_SCANCODE_6, DIK_6},
    {SDL_SCANCODE_7, DIK_7},
    {SDL_SCANCODE_8, DIK_8},
    {SDL_SCANCODE_9, DIK_9},
    {SDL_SCANCODE_0, DIK_0},
    {SDL_SCANCODE_MINUS, DIK_MINUS},
    {SDL_SCANCODE_EQUALS, DIK_EQUALS},
    {SDL_SCANCODE_BACKSPACE, DIK_BACK},
    {SDL_SCANCODE_TAB, DIK_TAB},
    {SDL_SCANCODE_Q, DIK_Q},
    {SDL_SCANCODE_W, DIK_W},
    {SDL_SCANCODE_E, DIK_E},
    {SDL_SCANCODE_R, DIK_R},
    {SDL_SCANCODE_T, DIK_T},
    {SDL_SCANCODE_Y, DIK_Y},
    {SDL_SCANCODE_U, DIK_U},
    {SDL_SCANCODE_I, DIK_I},
    {SDL_SCANCODE_O, DIK_O},
    {SDL_SCANCODE_P, DIK_P},
    {SDL_SCANCODE_LEFTBRACKET, DIK_LBRACKET},
    {SDL_SCANCODE_RIGHTBRACKET, DIK_RBRACKET},
    {SDL_SCANCODE_RETURN, DIK_RETURN},
    {SDL_SCANCODE_LCTRL, DIK_LCONTROL},
    {SDL_SCANCODE_A, DIK_A},
    {SDL_SCANCODE_S, DIK_S},
    {SDL_SCANCODE_D, DIK_D},
    {SDL_SCANCODE_F, DIK_F},
    {SDL_SCANCODE_G, DIK_G},
    {SDL_SCANCODE_H, DIK_H},
    {SDL_SCANCODE_J, DIK_J},
    {SDL_SCANCODE_K, DIK_K},
    {SDL_SCANCODE_L, DIK_L},
    {SDL_SCANCODE_SEMICOLON, DIK_SEMICOLON},
    {SDL_SCANCODE_APOSTROPHE, DIK_APOSTROPHE},
    {SDL_SCANCODE_GRAVE, DIK_GRAVE},
    {SDL_SCANCODE_LSHIFT, DIK_LSHIFT},
    {SDL_SCANCODE_BACKSLASH, DIK_BACKSLASH},
    // The ISO keyboard's key beside Return sits where the backslash key does.
    {SDL_SCANCODE_NONUSHASH, DIK_BACKSLASH},
    {SDL_SCANCODE_Z, DIK_Z},
    {SDL_SCANCODE_X, DIK_X},
    {SDL_SCANCODE_C, DIK_C},
    {SDL_SCANCODE_V, DIK_V},
    {SDL_SCANCODE_B, DIK_B},
    {SDL_SCANCODE_N, DIK_N},
    {SDL_SCANCODE_M, DIK_M},
    {SDL_SCANCODE_COMMA, DIK_COMMA},
    {SDL_SCANCODE_PERIOD, DIK_PERIOD},
    {SDL_SCANCODE_SLASH, DIK_SLASH},
    {SDL_SCANCODE_RSHIFT, DIK_RSHIFT},
    {SDL_SCANCODE_KP_MULTIPLY, DIK_MULTIPLY},
    {SDL_SCANCODE_LALT, DIK_LMENU},
    {SDL_SCANCODE_SPACE, DIK_SPACE},
    {SDL_SCANCODE_CAPSLOCK, DIK_CAPITAL},
    {SDL_SCANCODE_F1, DIK_F1},
    {SDL_SCANCODE_F2, DIK_F2},
    {SDL_SCANCODE_F3, DIK_F3},
    {SDL_SCANCODE_F4, DIK_F4},
    {SDL_SCANCODE_F5, DIK_F5},
    {SDL_SCANCODE_F6, DIK_F6},
    {SDL_SCANCODE_F7, DIK_F7},
    {SDL_SCANCODE_F8, DIK_F8},
    {SDL_SCANCODE_F9, DIK_F9},
    {SDL_SCANCODE_F10, DIK_F10},
    {SDL_SCANCODE_NUMLOCKCLEAR, DIK_NUMLOCK},
    {SDL_SCANCODE_SCROLLLOCK, DIK_SCROLL},
    {SDL_SCANCODE_KP_7, DIK_NUMPAD7},
    {SDL_SCANCODE_KP_8, DIK_NUMPAD8},
    {SDL_SCANCODE_KP_9, DIK_NUMPAD9},
    {SDL_SCANCODE_KP_MINUS, DIK_SUBTRACT},
    {SDL_SCANCODE_KP_4, DIK_NUMPAD4},
    {SDL_SCANCODE_KP_5, DIK_NUMPAD5},
    {SDL_SCANCODE_KP_6, DIK_NUMPAD6},
    {SDL_SCANCODE_KP_PLUS, DIK_ADD},
    {SDL_SCANCODE_KP_1, DIK_NUMPAD1},
    {SDL_SCANCODE_KP_2, DIK_NUMPAD2},
    {SDL_SCANCODE_KP_3, DIK_NUMPAD3},
    {SDL_SCANCODE_KP_0, DIK_NUMPAD0},
    {SDL_SCANCODE_KP_PERIOD, DIK_DECIMAL},
    {SDL_SCANCODE_NONUSBACKSLASH, DIK_OEM_102},
    {SDL_SCANCODE_F11, DIK_F11},
    {SDL_SCANCODE_F12, DIK_F12},
    {SDL_SCANCODE_F13, DIK_F13},
    {SDL_SCANCODE_F14, DIK_F14},
    {SDL_SCANCODE_F15, DIK_F15},
    {SDL_SCANCODE_INTERNATIONAL2, DIK_KANA},
    {SDL_SCANCODE_INTERNATIONAL1, DIK_ABNT_C1},
    {SDL_SCANCODE_INTERNATIONAL4, DIK_CONVERT},
    {SDL_SCANCODE_INTERNATIONAL5, DIK_NOCONVERT},
    {SDL_SCANCODE_INTERNATIONAL3, DIK_YEN},
    {SDL_SCANCODE_KP_EQUALS, DIK_NUMPADEQUALS},
    {SDL_SCANCODE_AUDIOPREV, DIK_PREVTRACK},
    {SDL_SCANCODE_AUDIONEXT, DIK_NEXTTRACK},
    {SDL_SCANCODE_KP_ENTER, DIK_NUMPADENTER},
    {SDL_SCANCODE_RCTRL, DIK_RCONTROL},
    {SDL_SCANCODE_MUTE, DIK_MUTE},
    {SDL_SCANCODE_AUDIOMUTE, DIK_MUTE},
    {SDL_SCANCODE_CALCULATOR, DIK_CALCULATOR},
    {SDL_SCANCODE_AUDIOPLAY, DIK_PLAYPAUSE},
    {SDL_SCANCODE_AUDIOSTOP, DIK_MEDIASTOP},
    {SDL_SCANCODE_VOLUMEDOWN, DIK_VOLUMEDOWN},
    {SDL_SCANCODE_VOLUMEUP, DIK_VOLUMEUP},
    {SDL_SCANCODE_AC_HOME, DIK_WEBHOME},
    {SDL_SCANCODE_KP_COMMA, DIK_NUMPADCOMMA},
    {SDL_SCANCODE_KP_DIVIDE, DIK_DIVIDE},
    {SDL_SCANCODE_PRINTSCREEN, DIK_SYSRQ},
    {SDL_SCANCODE_RALT, DIK_RMENU},
    {SDL_SCANCODE_PAUSE, DIK_PAUSE},
    {SDL_SCANCODE_HOME, DIK_HOME},
    {SDL_SCANCODE_UP, DIK_UP},
    {SDL_SCANCODE_PAGEUP, DIK_PRIOR},
    {SDL_SCANCODE_LEFT, DIK_LEFT},
    {SDL_SCANCODE_RIGHT, DIK_RIGHT},
    {SDL_SCANCODE_END, DIK_END},
    {SDL_SCANCODE_DOWN, DIK_DOWN},
    {SDL_SCANCODE_PAGEDOWN, DIK_NEXT},
    {SDL_SCANCODE_INSERT, DIK_INSERT},
    {SDL_SCANCODE_DELETE, DIK_DELETE},
    {SDL_SCANCODE_LGUI, DIK_LWIN},
    {SDL_SCANCODE_RGUI, DIK_RWIN},
    {SDL_SCANCODE_APPLICATION, DIK_APPS},
    {SDL_SCANCODE_POWER, DIK_POWER},
    {SDL_SCANCODE_SLEEP, DIK_SLEEP},
    {SDL_SCANCODE_AC_SEARCH, DIK_WEBSEARCH},
    {SDL_SCANCODE_AC_BOOKMARKS, DIK_WEBFAVORITES},
    {SDL_SCANCODE_AC_REFRESH, DIK_WEBREFRESH},
    {SDL_SCANCODE_AC_STOP, DIK_WEBSTOP},
    {SDL_SCANCODE_AC_FORWARD, DIK_WEBFORWARD},
    {SDL_SCANCODE_AC_BACK, DIK_WEBBACK},
    {SDL_SCANCODE_COMPUTER, DIK_MYCOMPUTER},
    {SDL_SCANCODE_MAIL, DIK_MAIL},
    {SDL_SCANCODE_MEDIASELECT, DIK_MEDIASELECT},
};

// DirectInput's order of the four mouse buttons.
constexpr uint8_t kMouseButtonOrder[kMouseButtons] = {SDL_BUTTON_LEFT, SDL_BUTTON_RIGHT, SDL_BUTTON_MIDDLE,
                                                      SDL_BUTTON_X1};

// DirectInput reports the wheel in these steps per notch.
constexpr int32_t kWheelDelta = 120;

// The POV angle of each of SDL's hat bit patterns; impossible patterns read centred.
constexpr uint32_t kPOVByHat[16] = {
    kPOVCentred, 0,     9000,        4500,        18000,       kPOVCentred, 13500,       kPOVCentred,
    27000,       31500, kPOVCentred, kPOVCentred, 22500,       kPOVCentred, kPOVCentred, kPOVCentred,
};

SDL_Joystick* AsSdl(void* joystick) { return static_cast<SDL_Joystick*>(joystick); }

uint8_t NumberOf(SDL_Scancode scancode)
{
    for (const KeyNumbering& key : kKeyTable) {
        if (key.Scancode == scancode)
            return key.Number;
    }
    return 0;
}

int32_t MouseButtonSlot(uint8_t sdlButton)
{
    const uint8_t* end = kMouseButtonOrder + kMouseButtons;
    return static_cast<int32_t>(std::find(kMouseButtonOrder, end, sdlButton) - kMouseButtonOrder);
}

// SDL's -32768 ... 32767 with its rest at 0 onto 0 ... 65535 with the rest at
// 32767; each half is scaled on its own so both ends are reached.
int32_t ToAxisPosition(int16_t value)
{
    if (value >= 0)
        return kAxisCentre + value * (kAxisCentre + 1) / kAxisCentre;
    return kAxisCentre + value * kAxisCentre / (kAxisCentre + 1);
}

// Whatever reached the window while it had no focus was not meant for it.
bool FocusGained(const SDL_Event& event)
{
    return event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED;
}

int32_t DeviceIndexOf(SDL_JoystickID instance)
{
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        if (SDL_JoystickGetDeviceInstanceID(i) == instance)
            return i;
    }
    return -1;
}

}  // namespace

uint8_t KeyNumber(std::string_view keyName)
{
    const std::string name(keyName);
    return NumberOf(SDL_GetScancodeFromName(name.c_str()));
}

void ClientOrigin(const Window& window, int& x, int& y)
{
    x = y = 0;
    if (window.Handle())
        SDL_GetWindowPosition(static_cast<SDL_Window*>(window.Handle()), &x, &y);
}

WindowHook::WindowHook(Window* window, EventHook hook) : HookedWindow(window)
{
    if (HookedWindow)
        Id = HookedWindow->AddEventHook(std::move(hook));
}

WindowHook::~WindowHook()
{
    if (HookedWindow)
        HookedWindow->RemoveEventHook(Id);
}

KeyboardReader::KeyboardReader(Window* window) : Hook(window, [this](const void* event) { Track(event); }) {}

void KeyboardReader::Track(const void* sdlEvent)
{
    const SDL_Event& event = *static_cast<const SDL_Event*>(sdlEvent);
    if (FocusGained(event))
        PressedSinceRead.fill(0);
    if (event.type != SDL_KEYDOWN)
        return;
    const uint8_t number = NumberOf(event.key.keysym.scancode);
    if (number != 0)
        PressedSinceRead[number] = kDownBit;
}

int32_t KeyboardReader::Read(KeyboardState& state)
{
    int count = 0;
    const Uint8* held = SDL_GetKeyboardState(&count);
    state = PressedSinceRead;
    for (const KeyNumbering& key : kKeyTable) {
        if (key.Scancode < count && held[key.Scancode])
            state[key.Number] = kDownBit;
    }
    PressedSinceRead.fill(0);
    return kInputOK;
}

MouseReader::MouseReader(Window* window) : Hook(window, [this](const void* event) { Track(event); }) {}

void MouseReader::Track(const void* sdlEvent)
{
    const SDL_Event& event = *static_cast<const SDL_Event*>(sdlEvent);
    if (FocusGained(event)) {
        Pending = MouseState();
    } else if (event.type == SDL_MOUSEMOTION) {
        Pending.X += event.motion.xrel;
        Pending.Y += event.motion.yrel;
    } else if (event.type == SDL_MOUSEWHEEL) {
        const int32_t sign = event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -1 : 1;
        Pending.Z += sign * event.wheel.y * kWheelDelta;
    } else if (event.type == SDL_MOUSEBUTTONDOWN) {
        const int32_t slot = MouseButtonSlot(event.button.button);
        if (slot < kMouseButtons)
            Pending.Buttons[slot] = kDownBit;
    }
}

int32_t MouseReader::Read(MouseState& state)
{
    const Uint32 held = SDL_GetMouseState(nullptr, nullptr);
    state = Pending;
    for (int32_t slot = 0; slot < kMouseButtons; ++slot) {
        if (held & SDL_BUTTON(kMouseButtonOrder[slot]))
            state.Buttons[slot] = kDownBit;
    }
    Pending = MouseState();
    return kInputOK;
}

InputSystem::InputSystem() : EventsStarted(SDL_InitSubSystem(SDL_INIT_EVENTS) == 0) {}

InputSystem::~InputSystem()
{
    if (JoysticksStarted)
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    if (EventsStarted)
        SDL_QuitSubSystem(SDL_INIT_EVENTS);
}

int32_t InputSystem::JoystickCount()
{
    if (!EventsStarted)
        return 0;
    if (!JoysticksStarted)
        JoysticksStarted = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
    return JoysticksStarted ? std::max(SDL_NumJoysticks(), 0) : 0;
}

JoystickReader::~JoystickReader()
{
    if (Joystick)
        SDL_JoystickClose(AsSdl(Joystick));
}

int32_t JoystickReader::Open(int32_t index)
{
    if (Joystick)
        return kInputOK;
    Joystick = SDL_JoystickOpen(index);
    return Joystick ? kInputOK : kInputGenericError;
}

int32_t JoystickReader::GetCapabilities(JoystickCapabilities& caps) const
{
    if (!Joystick)
        return kInputNotAcquired;
    caps.Axes = SDL_JoystickNumAxes(AsSdl(Joystick));
    caps.Buttons = SDL_JoystickNumButtons(AsSdl(Joystick));
    caps.POVs = SDL_JoystickNumHats(AsSdl(Joystick));
    caps.ForceFeedback = SDL_JoystickHasRumble(AsSdl(Joystick)) == SDL_TRUE;
    const bool counted = caps.Axes >= 0 && caps.Buttons >= 0 && caps.POVs >= 0;
    return counted ? kInputOK : kInputGenericError;
}

std::string JoystickReader::Name() const
{
    const char* name = Joystick ? SDL_JoystickName(AsSdl(Joystick)) : nullptr;
    return name ? name : "";
}

int32_t JoystickReader::Update()
{
    if (!Joystick)
        return kInputNotAcquired;
    if (!SDL_JoystickGetAttached(AsSdl(Joystick)))
        return kInputLost;
    SDL_JoystickUpdate();
    return kInputOK;
}

int32_t JoystickReader::Read(JoystickState& state) const
{
    if (!Joystick)
        return kInputNotAcquired;
    SDL_Joystick* joystick = AsSdl(Joystick);
    if (!SDL_JoystickGetAttached(joystick))
        return kInputLost;
    const int axes = std::min(SDL_JoystickNumAxes(joystick), kJoystickAxes);
    for (int i = 0; i < axes; ++i)
        state.Axes[i] = ToAxisPosition(SDL_JoystickGetAxis(joystick, i));
    const int hats = std::min(SDL_JoystickNumHats(joystick), kJoystickPOVs);
    for (int i = 0; i < hats; ++i)
        state.POVs[i] = kPOVByHat[SDL_JoystickGetHat(joystick, i) & 15];
    const int buttons = std::min(SDL_JoystickNumButtons(joystick), kJoystickButtons);
    for (int i = 0; i < buttons; ++i)
        state.Buttons[i] = SDL_JoystickGetButton(joystick, i) ? kDownBit : 0;
    return kInputOK;
}

VirtualJoystick::VirtualJoystick() : SubsystemStarted(SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0)
{
    if (!SubsystemStarted)
        return;
    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, kJoystickButtons, 1);
    if (index >= 0)
        Joystick = SDL_JoystickOpen(index);
}

VirtualJoystick::~VirtualJoystick()
{
    if (Joystick) {
        const SDL_JoystickID instance = SDL_JoystickInstanceID(AsSdl(Joystick));
        SDL_JoystickClose(AsSdl(Joystick));
        SDL_JoystickDetachVirtual(DeviceIndexOf(instance));
    }
    if (SubsystemStarted)
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

void VirtualJoystick::SetAxis(int32_t axis, int16_t value)
{
    if (Joystick)
        SDL_JoystickSetVirtualAxis(AsSdl(Joystick), axis, value);
}

void VirtualJoystick::SetButton(int32_t button, bool down)
{
    if (Joystick)
        SDL_JoystickSetVirtualButton(AsSdl(Joystick), button, down ? 1 : 0);
}

}  // namespace platform
