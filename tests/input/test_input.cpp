#include "input_test_support.h"

namespace {

constexpr uint8_t kDown = platform::kDownBit;

class InputActions : public InputTest {
protected:
    void SetUp() override
    {
        InputTest::SetUp();
        Start(true, true, false);
    }

    void Key(uint8_t number, bool down) { Input->Keyboard->Device->State[number] = down ? kDown : 0; }

    platform::MouseState& MouseState() { return Input->Mouse->Device->State; }
};

}  // namespace

TEST_F(InputActions, EitherCodeHoldsTheActionAndItIsPressedOnlyInTheFirstFrameOfAHold)
{
    const int32_t index = Input->BindTwo("Quit", "Interaction", platform::DIK_ESCAPE, platform::DIK_ADD);
    // Per frame: the two keys, then whether the action is down and whether it is pressed.
    const bool frames[][4] = {{1, 0, 1, 1}, {0, 1, 1, 0}, {1, 1, 1, 0}, {0, 0, 0, 0}, {0, 1, 1, 1}};
    for (int frame = 0; frame < 5; ++frame) {
        Key(platform::DIK_ESCAPE, frames[frame][0]);
        Key(platform::DIK_ADD, frames[frame][1]);
        Input->Update();
        EXPECT_EQ(Input->IsDownAt(index), frames[frame][2]) << "frame " << frame;
        EXPECT_EQ(Input->PressedIn("Quit", "Interaction"), frames[frame][3]) << "frame " << frame;
    }
}

TEST_F(InputActions, FindTakesAnEmptyGroupAsAnyAndTheFirstOfTwins)
{
    Input->Bind("Quit", "", platform::DIK_ESCAPE);
    Input->Bind("Click", "Interaction", kMouseCodes);
    Input->Bind("Click", "Other", kMouseCodes + 1);
    EXPECT_EQ(Input->Find("Click", ""), 1);
    EXPECT_EQ(Input->Find("Click", "Other"), 2);
    EXPECT_EQ(Input->Find("Quit", "Interaction"), -1);
    Input->Bind(std::string(40, 'x'), "", 1);
    EXPECT_EQ(Input->Find(std::string(32, 'x'), ""), 3);
}

TEST_F(InputActions, CodesPastTheKeysReadUpAndAnUndefinedRangeIsReportedEveryFrame)
{
    Input->Keyboard->Device->State.fill(kDown);
    Input->Bind("Last Key", "", 255);
    Input->Bind("Past", "", 256);
    Input->Bind("End Of Range", "", 999);
    Input->BindTwo("Broken", "", platform::DIK_A, 4000);
    for (int frame = 0; frame < 3; ++frame)
        Input->Update();
    EXPECT_TRUE(Input->IsDown("Last Key"));
    EXPECT_FALSE(Input->IsDown("Past") || Input->IsDown("End Of Range") || Input->IsDown("Broken"));
    EXPECT_EQ(LogCount("  ERROR: ZOT_Input: Undefined input device range!"), 3);
}

TEST_F(InputActions, MouseButtonsPastTheFourthReadUpAndBadIndicesAreReported)
{
    MouseState().Buttons.fill(kDown);
    EXPECT_FALSE(Input->Mouse->Button(0)) << "nothing is acquired before the first update";
    Input->Update();
    for (int32_t n = 0; n <= 32; ++n)
        EXPECT_EQ(Input->Mouse->Button(n), n < 4) << n;
    EXPECT_FALSE(Input->Mouse->Button(35));
    EXPECT_EQ(LogCount("  ERROR: ZOT_Input: Undefined mouse button index!"), 1);
}

TEST_F(InputActions, MovementIsScaledToTheClientAreaAndWheelCodesFollowTheWheel)
{
    Input->Bind("Zoom In", "", kMouseCodes + ZIMouse::kWheelForward);
    Input->Bind("Zoom Out", "", kMouseCodes + ZIMouse::kWheelBackward);
    Input->Mouse->ClientWidth = 800;
    Input->Mouse->ClientHeight = 600;
    MouseState().X = 64;
    MouseState().Y = -48;
    MouseState().Z = 120;
    Input->Update();
    EXPECT_FLOAT_EQ(Input->Mouse->DeltaX(), 80.0f);
    EXPECT_FLOAT_EQ(Input->Mouse->DeltaY(), -60.0f);
    EXPECT_TRUE(Input->IsDown("Zoom In") && !Input->IsDown("Zoom Out"));
    MouseState().Z = -240;
    Input->Update();
    EXPECT_TRUE(!Input->IsDown("Zoom In") && Input->IsDown("Zoom Out"));
}
