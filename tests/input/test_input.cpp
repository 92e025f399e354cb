#include <gtest/gtest.h>

#include "input_test_support.h"
#include "platform/platform_input.h"

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

TEST_F(InputActions, PressedOnlyInTheFirstFrameOfAHold)
{
    Input->Bind("Quit", "", platform::DIK_ESCAPE);
    const bool expected[][2] = {{true, true}, {true, false}, {true, false}, {false, false}, {true, true}};
    const bool held[] = {true, true, true, false, true};
    for (int frame = 0; frame < 5; ++frame) {
        Key(platform::DIK_ESCAPE, held[frame]);
        Input->Update();
        EXPECT_EQ(Input->IsDown("Quit"), expected[frame][0]) << "frame " << frame;
        EXPECT_EQ(Input->Pressed("Quit"), expected[frame][1]) << "frame " << frame;
    }
}

TEST_F(InputActions, EitherOfTwoCodesHoldsTheAction)
{
    const int32_t index = Input->BindTwo("Next PP Shader", "Interaction", platform::DIK_RBRACKET, platform::DIK_ADD);
    for (uint8_t key : {platform::DIK_RBRACKET, platform::DIK_ADD}) {
        Key(key, true);
        Input->Update();
        EXPECT_TRUE(Input->IsDownAt(index));
        Key(key, false);
    }
    Input->Update();
    EXPECT_FALSE(Input->IsDownIn("Next PP Shader", "Interaction"));
}

TEST_F(InputActions, FindTakesAnEmptyGroupAsAnyAndTheFirstOfTwins)
{
    Input->Bind("Quit", "", platform::DIK_ESCAPE);
    Input->Bind("Click", "Interaction", kMouseCodes);
    Input->Bind("Click", "Other", kMouseCodes + 1);
    EXPECT_EQ(Input->Find("Quit", ""), 0);
    EXPECT_EQ(Input->Find("Click", ""), 1);
    EXPECT_EQ(Input->Find("Click", "Other"), 2);
    EXPECT_EQ(Input->Find("Quit", "Interaction"), -1);
    EXPECT_EQ(Input->Find("quit", ""), -1);
    Input->Bind(std::string(40, 'x'), "", 1);
    EXPECT_EQ(Input->Find(std::string(32, 'x'), ""), 3);
    EXPECT_EQ(Input->Find(std::string(40, 'x'), ""), -1);
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
    EXPECT_EQ(Count("  ERROR: ZOT_Input: Undefined input device range!"), 3);
}

TEST_F(InputActions, MouseButtonsPastTheFourthReadUpAndBadIndicesAreReported)
{
    MouseState().Buttons.fill(kDown);
    EXPECT_FALSE(Input->Mouse->Button(0)) << "nothing is acquired before the first update";
    Input->Update();
    for (int32_t n = 0; n < 4; ++n)
        EXPECT_TRUE(Input->Mouse->Button(n)) << n;
    for (int32_t n = 4; n <= 32; ++n)
        EXPECT_FALSE(Input->Mouse->Button(n)) << n;
    EXPECT_FALSE(Input->Mouse->Button(35));
    EXPECT_EQ(Count("  ERROR: ZOT_Input: Undefined mouse button index!"), 1);
}

TEST_F(InputActions, MovementIsScaledToTheClientAreaAndWheelCodesFollowTheWheel)
{
    Input->Bind("Zoom In", "Interaction", 1033);
    Input->Bind("Zoom Out", "Interaction", 1034);
    Input->Mouse->ClientWidth = 800;
    Input->Mouse->ClientHeight = 600;
    MouseState().X = 64;
    MouseState().Y = -48;
    MouseState().Z = 120;
    EXPECT_EQ(Input->Mouse->DeltaX(), 0.0f);
    Input->Update();
    EXPECT_FLOAT_EQ(Input->Mouse->DeltaX(), 80.0f);
    EXPECT_FLOAT_EQ(Input->Mouse->DeltaY(), -60.0f);
    EXPECT_TRUE(Input->IsDown("Zoom In") && !Input->IsDown("Zoom Out"));
    MouseState().Z = -240;
    Input->Update();
    EXPECT_TRUE(!Input->IsDown("Zoom In") && Input->IsDown("Zoom Out"));
}
