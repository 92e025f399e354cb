// The keyboard as the input module sees it: keys by their DirectInput number.
#pragma once

#include <cstdint>
#include <memory>

#include "core/zot_object.h"
#include "input/input_directinput.h"

class ZIKeyboard : public ZOTObject {
public:
    explicit ZIKeyboard(ZOTOwner* parent);
    ~ZIKeyboard() override;

    // Throws TDIError when the device cannot be created.
    void Start(const TDirectInput* directInput);
    void ReadState();
    // Key numbers outside the key state (256 ... 999 are in the keyboard's
    // code range) read as up.
    bool IsKeyDown(int32_t key) const;

    bool Started = false;
    std::unique_ptr<TDIKeyboard> Device;
};
