// A started input module whose device states the test sets by hand.
#pragma once

#include "input/input_joystick.h"
#include "input/input_keyboard.h"
#include "input/input_main.h"
#include "input/input_mouse.h"
#include "platform/platform_input.h"
#include "test_support.h"

class InputTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        Input = std::make_unique<ZOTInput>(nullptr);
    }
    // The module logs its shut-down while the engine is still there.
    void TearDown() override
    {
        Input.reset();
        EngineTest::TearDown();
    }

    void Start(bool keyboard, bool mouse, bool joystick)
    {
        Input->Start(nullptr, keyboard, mouse, joystick);
        Input->ReadDevices = false;
    }

    std::unique_ptr<ZOTInput> Input;
};
