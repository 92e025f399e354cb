#include <array>
#include <set>

#include "input_test_support.h"

namespace {

constexpr int32_t kCentre = platform::kAxisCentre;
// Reads 0.55 before the dead zone of 0.25 is taken off, 0.3 after.
constexpr int32_t kPartWay = 14417;

// A joystick made in software, started as joystick 0 of the input module.
class InputJoystick : public InputTest {
protected:
    void SetUp() override
    {
        InputTest::SetUp();
        if (!Stick.Attached())
            GTEST_SKIP() << "SDL offers no joystick made in software here";
        Start(false, false, true);
        ASSERT_EQ(Input->LastJoystick, 0);
        Joystick = Input->Joysticks[0];
    }

    void Push(int32_t x, int32_t y)
    {
        Joystick->Device->State.Axes[0] = x;
        Joystick->Device->State.Axes[1] = y;
    }

    std::set<int32_t> DirectionsDown() const
    {
        std::set<int32_t> down;
        for (int32_t n = ZIJoystick::kLeft; n <= ZIJoystick::kDownRight; ++n) {
            if (Joystick->Button(n))
                down.insert(n);
        }
        return down;
    }

    platform::VirtualJoystick Stick;
    ZIJoystick* Joystick = nullptr;
};

}  // namespace

TEST_F(InputJoystick, AxesHaveADeadZoneAndReachTheRange)
{
    Push(kCentre, 65535);
    EXPECT_NEAR(Joystick->AxisY(), 1.0f, 1e-3f);
    Push(0, kCentre);
    EXPECT_NEAR(Joystick->AxisX(), -1.0f, 1e-3f);
    // 0.2 before the dead zone is taken off.
    Push(kCentre + 5243, kCentre);
    EXPECT_EQ(Joystick->AxisX(), 0.0f);
    Push(kCentre + kPartWay, kCentre - kPartWay);
    Joystick->InvertX = true;
    Joystick->InvertY = true;
    EXPECT_NEAR(Joystick->AxisX(), -0.3f, 1e-3f);
    EXPECT_NEAR(Joystick->AxisY(), 0.3f, 1e-3f);
    Joystick->RoundAxes = true;
    EXPECT_EQ(Joystick->AxisX(), -1.0f);
    EXPECT_EQ(Joystick->AxisY(), 1.0f);
}

TEST_F(InputJoystick, DirectionCodesNeedTheStickPastTheThreshold)
{
    using J = ZIJoystick;
    Push(0, kCentre);
    EXPECT_EQ(DirectionsDown(), std::set<int32_t>{J::kLeft});
    Push(0, 0);
    EXPECT_EQ(DirectionsDown(), (std::set<int32_t>{J::kLeft, J::kUp, J::kUpLeft}));
    // 0.3 on each axis: past the threshold of 0.25 only while it is lower.
    Push(kCentre + kPartWay, kCentre + kPartWay);
    EXPECT_EQ(DirectionsDown(), (std::set<int32_t>{J::kRight, J::kDown, J::kDownRight}));
    Joystick->Threshold = 0.5f;
    EXPECT_EQ(DirectionsDown(), std::set<int32_t>{});
}

TEST_F(InputJoystick, CodesReachTheJoystickAndBadIndicesAreReported)
{
    Input->Bind("Fire", "", kJoystickCodes + 5);
    Input->Bind("Left", "", kJoystickCodes + ZIJoystick::kLeft);
    Input->Bind("Second Stick", "", kJoystickCodes + kJoystickCodeSpan + 5);
    Joystick->Device->State.Buttons[5] = platform::kDownBit;
    Push(0, kCentre);
    Input->Update();
    EXPECT_TRUE(Input->IsDown("Fire") && Input->IsDown("Left"));
    EXPECT_FALSE(Input->IsDown("Second Stick"));
    Joystick->Device->State.Buttons[5] = 0x7F;
    Input->Update();
    EXPECT_FALSE(Input->IsDown("Fire"));
    EXPECT_FALSE(Joystick->Button(40));
    EXPECT_EQ(LogCount("  ERROR: ZOT_Input: Undefined joystick button index!"), 1);
}

TEST_F(InputTest, EnumerationStopsAtTheFourthJoystick)
{
    std::array<platform::VirtualJoystick, 5> sticks;
    if (!sticks[4].Attached())
        GTEST_SKIP() << "SDL offers no joystick made in software here";
    Start(false, false, true);
    EXPECT_EQ(Input->LastJoystick, 3);
    EXPECT_TRUE(Input->Joysticks[3]->Active);
}
