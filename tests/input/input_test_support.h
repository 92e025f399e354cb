// A started input module whose device states the test sets by hand.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "input/input_joystick.h"
#include "input/input_keyboard.h"
#include "input/input_main.h"
#include "input/input_mouse.h"
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

    int Count(const std::string& line) const
    {
        const std::vector<std::string> lines = ConsoleLines();
        return static_cast<int>(std::count(lines.begin(), lines.end(), line));
    }

    std::unique_ptr<ZOTInput> Input;
};
