// Keyboard, mouse and joysticks over SDL2, delivered in DirectInput's state
// layouts and key numbering, with DirectInput's result codes for failures, so
// the engine's device layer reads them as it would read DirectInput.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/platform_window.h"

namespace platform {

// Result codes: negative ones are failures.
constexpr int32_t kInputOK = 0;
constexpr int32_t kInputGenericError = static_cast<int32_t>(0x80004005);
constexpr int32_t kInputOtherAppHasPriority = static_cast<int32_t>(0x80070005);
constexpr int32_t kInputNotAcquired = static_cast<int32_t>(0x8007000C);
constexpr int32_t kInputLost = static_cast<int32_t>(0x8007001E);
constexpr int32_t kInputInvalidParam = static_cast<int32_t>(0x80070057);

inline bool InputFailed(int32_t code) { return code < 0; }

// DirectInput's key numbers (the DIK_ codes).
constexpr uint8_t DIK_ESCAPE = 0x01, DIK_1 = 0x02, DIK_2 = 0x03, DIK_3 = 0x04, DIK_4 = 0x05, DIK_5 = 0x06,
                  DIK_6 = 0x07, DIK_7 = 0x08, DIK_8 = 0x09, DIK_9 = 0x0A, DIK_0 = 0x0B, DIK_MINUS = 0x0C,
                  DIK_EQUALS = 0x0D, DIK_BACK = 0x0E, DIK_TAB = 0x0F, DIK_Q = 0x10, DIK_W = 0x11, DIK_E = 0x12,
                  DIK_R = 0x13, DIK_T = 0x14, DIK_Y = 0x15, DIK_U = 0x16, DIK_I = 0x17, DIK_O = 0x18, DIK_P = 0x19,
                  DIK_LBRACKET = 0x1A, DIK_RBRACKET = 0x1B, DIK_RETURN = 0x1C, DIK_LCONTROL = 0x1D, DIK_A = 0x1E,
                  DIK_S = 0x1F, DIK_D = 0x20, DIK_F = 0x21, DIK_G = 0x22, DIK_H = 0x23, DIK_J = 0x24, DIK_K = 0x25,
                  DIK_L = 0x26, DIK_SEMICOLON = 0x27, DIK_APOSTROPHE = 0x28, DIK_GRAVE = 0x29, DIK_LSHIFT = 0x2A,
                  DIK_BACKSLASH = 0x2B, DIK_Z = 0x2C, DIK_X = 0x2D, DIK_C = 0x2E, DIK_V = 0x2F, DIK_B = 0x30,
                  DIK_N = 0x31, DIK_M = 0x32, DIK_COMMA = 0x33, DIK_PERIOD = 0x34, DIK_SLASH = 0x35,
                  DIK_RSHIFT = 0x36, DIK_MULTIPLY = 0x37, DIK_LMENU = 0x38, DIK_SPACE = 0x39, DIK_CAPITAL = 0x3A,
                  DIK_F1 = 0x3B, DIK_F2 = 0x3C, DIK_F3 = 0x3D, DIK_F4 = 0x3E, DIK_F5 = 0x3F, DIK_F6 = 0x40,
                  DIK_F7 = 0x41, DIK_F8 = 0x42, DIK_F9 = 0x43, DIK_F10 = 0x44, DIK_NUMLOCK = 0x45,
                  DIK_SCROLL = 0x46, DIK_NUMPAD7 = 0x47, DIK_NUMPAD8 = 0x48, DIK_NUMPAD9 = 0x49,
                  DIK_SUBTRACT = 0x4A, DIK_NUMPAD4 = 0x4B, DIK_NUMPAD5 = 0x4C, DIK_NUMPAD6 = 0x4D, DIK_ADD = 0x4E,
                  DIK_NUMPAD1 = 0x4F, DIK_NUMPAD2 = 0x50, DIK_NUMPAD3 = 0x51, DIK_NUMPAD0 = 0x52,
                  DIK_DECIMAL = 0x53, DIK_OEM_102 = 0x56, DIK_F11 = 0x57, DIK_F12 = 0x58, DIK_F13 = 0x64,
                  DIK_F14 = 0x65, DIK_F15 = 0x66, DIK_KANA = 0x70, DIK_ABNT_C1 = 0x73, DIK_CONVERT = 0x79,
                  DIK_NOCONVERT = 0x7B, DIK_YEN = 0x7D, DIK_NUMPADEQUALS = 0x8D, DIK_PREVTRACK = 0x90,
                  DIK_NEXTTRACK = 0x99, DIK_NUMPADENTER = 0x9C, DIK_RCONTROL = 0x9D, DIK_MUTE = 0xA0,
                  DIK_CALCULATOR = 0xA1, DIK_PLAYPAUSE = 0xA2, DIK_MEDIASTOP = 0xA4, DIK_VOLUMEDOWN = 0xAE,
                  DIK_VOLUMEUP = 0xB0, DIK_WEBHOME = 0xB2, DIK_NUMPADCOMMA = 0xB3, DIK_DIVIDE = 0xB5,
                  DIK_SYSRQ = 0xB7, DIK_RMENU = 0xB8, DIK_PAUSE = 0xC5, DIK_HOME = 0xC7, DIK_UP = 0xC8,
                  DIK_PRIOR = 0xC9, DIK_LEFT = 0xCB, DIK_RIGHT = 0xCD, DIK_END = 0xCF, DIK_DOWN = 0xD0,
                  DIK_NEXT = 0xD1, DIK_INSERT = 0xD2, DIK_DELETE = 0xD3, DIK_LWIN = 0xDB, DIK_RWIN = 0xDC,
                  DIK_APPS = 0xDD, DIK_POWER = 0xDE, DIK_SLEEP = 0xDF, DIK_WAKE = 0xE3, DIK_WEBSEARCH = 0xE5,
                  DIK_WEBFAVORITES = 0xE6, DIK_WEBREFRESH = 0xE7, DIK_WEBSTOP = 0xE8, DIK_WEBFORWARD = 0xE9,
                  DIK_WEBBACK = 0xEA, DIK_MYCOMPUTER = 0xEB, DIK_MAIL = 0xEC, DIK_MEDIASELECT = 0xED;

// The high bit of a key or joystick button byte marks it as down.
constexpr uint8_t kDownBit = 0x80;
constexpr int32_t kKeyCount = 256;
constexpr int32_t kMouseButtons = 4;
constexpr int32_t kJoystickAxes = 8;
constexpr int32_t kJoystickPOVs = 4;
constexpr int32_t kJoystickButtons = 32;
constexpr int32_t kAxisCentre = 32767;
constexpr uint32_t kPOVCentred = 0xFFFFFFFF;

// One byte per key number.
using KeyboardState = std::array<uint8_t, kKeyCount>;

// Movement since the last read, the wheel in steps of 120 per notch, and the
// buttons left, right, middle and the first extra one.
struct MouseState {
    int32_t X = 0;
    int32_t Y = 0;
    int32_t Z = 0;
    std::array<uint8_t, kMouseButtons> Buttons{};
};
static_assert(sizeof(MouseState) == 16, "DirectInput's mouse state is 16 bytes");

// Axes in DirectInput's order (x, y, z, x, y and z rotation, two sliders), each
// 0 ... 65535; POV hats in hundredths of a degree clockwise from north. A fresh
// state rests centred, so nothing reads as pushed before the first read.
struct JoystickState {
    JoystickState() { Axes.fill(kAxisCentre); }
    std::array<int32_t, kJoystickAxes> Axes;
    std::array<uint32_t, kJoystickPOVs> POVs{kPOVCentred, kPOVCentred, kPOVCentred, kPOVCentred};
    std::array<uint8_t, kJoystickButtons> Buttons{};
};
static_assert(sizeof(JoystickState) == 80, "DirectInput's joystick state is 80 bytes");

// The key number of the key SDL calls keyName ("A", "Keypad +", "Left"), 0
// for a name SDL does not know or a key without a number.
uint8_t KeyNumber(std::string_view keyName);

// The screen position of the window's client area.
void ClientOrigin(const Window& window, int& x, int& y);

// A hook on a window for the lifetime of this object; no window, no hook.
class WindowHook {
public:
    WindowHook(Window* window, EventHook hook);
    ~WindowHook();
    WindowHook(const WindowHook&) = delete;
    WindowHook& operator=(const WindowHook&) = delete;

private:
    Window* HookedWindow;
    EventHookId Id = 0;
};

// Keys read as down when they are held, or were pressed since the last read
// (a tap shorter than a frame still counts once). Presses made while the
// window had no focus are forgotten when it gets it back.
class KeyboardReader {
public:
    explicit KeyboardReader(Window* window);
    int32_t Read(KeyboardState& state);

private:
    KeyboardState PressedSinceRead{};
    WindowHook Hook;

    void Track(const void* sdlEvent);
};

// Counts only the movement of events that reached the window since the last
// read, and none from before the window last got the focus, so a read after a
// pause does not jump. Clicks shorter than a frame still count once.
class MouseReader {
public:
    explicit MouseReader(Window* window);
    int32_t Read(MouseState& state);

private:
    MouseState Pending;
    WindowHook Hook;

    void Track(const void* sdlEvent);
};

// The events side of SDL for the lifetime of this object, and its joystick
// side from the first enumeration on.
class InputSystem {
public:
    InputSystem();
    ~InputSystem();
    InputSystem(const InputSystem&) = delete;
    InputSystem& operator=(const InputSystem&) = delete;

    bool Started() const { return EventsStarted; }
    // Attached joysticks, numbered in SDL's order; 0 when SDL has no joystick support.
    int32_t JoystickCount();

private:
    bool EventsStarted = false;
    bool JoysticksStarted = false;
};

struct JoystickCapabilities {
    int32_t Axes = 0;
    int32_t Buttons = 0;
    int32_t POVs = 0;
    bool ForceFeedback = false;
};

class JoystickReader {
public:
    JoystickReader() = default;
    ~JoystickReader();
    JoystickReader(const JoystickReader&) = delete;
    JoystickReader& operator=(const JoystickReader&) = delete;

    // index counts the joysticks in SDL's order.
    int32_t Open(int32_t index);
    int32_t GetCapabilities(JoystickCapabilities& caps) const;
    std::string Name() const;
    // Fetches the device's newest state for the next Read.
    int32_t Update();
    int32_t Read(JoystickState& state) const;

private:
    void* Joystick = nullptr;
};

// A joystick made in software that SDL lists beside the real ones, for
// exercising the joystick path without a device.
class VirtualJoystick {
public:
    VirtualJoystick();
    ~VirtualJoystick();
    VirtualJoystick(const VirtualJoystick&) = delete;
    VirtualJoystick& operator=(const VirtualJoystick&) = delete;

    bool Attached() const { return Joystick != nullptr; }
    // value in SDL's range -32768 ... 32767.
    void SetAxis(int32_t axis, int16_t value);
    void SetButton(int32_t button, bool down);

private:
    bool SubsystemStarted = false;
    void* Joystick = nullptr;
};

}  // namespace platform
