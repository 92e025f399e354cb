#include "input/input_keyboard.h"

#include "core/zot_console.h"
#include "input/input_main.h"

ZIKeyboard::ZIKeyboard(ZOTOwner* parent) : ZOTObject(parent, "ZOT Input Keyboard", "ZIKeyboard") {}

ZIKeyboard::~ZIKeyboard() = default;

void ZIKeyboard::Start(const TDirectInput* directInput)
{
    Device = std::make_unique<TDIKeyboard>(directInput);
    Started = true;
    LogLine("ZOT Input: Keyboard initialized!");
}

void ZIKeyboard::ReadState()
{
    if (Started)
        Device->ReadState();
}

bool ZIKeyboard::IsKeyDown(int32_t key) const
{
    if (!Started || key < 0 || key >= platform::kKeyCount)
        return false;
    return (Device->State[key] & platform::kDownBit) != 0;
}
