#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/zot_console.h"
#include "core/zot_constant.h"
#include "test_support.h"

namespace {

class FakeTimer : public ZOTWindowTimer {
public:
    void SetEnabled(bool enabled) override { History.push_back(enabled); }
    std::vector<bool> History;
};

class FakeWindow : public ZOTWindow {
public:
    void ProcessMessages() override { ++Calls; }
    int Calls = 0;
};

}  // namespace

class EngineRoot : public EngineTest {};

TEST_F(EngineRoot, StartUpLinesInOrder)
{
    const std::vector<std::string> expected = {
        "Console created!", " ", kSeparatorLine, "ZOT Main: Initializing...", " ",
        "Engine:      ZOT Engine", "Version:     0.0.1.0", " ",
        "ZOT Main: File System initialized!", "ZOT Main: Math Class initialized!",
        "ZOT Main: Convert Class initialized!", "ZOT Main: Timer Class initialized!",
        "ZOT Main: Script Class initialized!", "ZOT Main: Script Parser Class initialized!",
        kSeparatorLine, " "};
    EXPECT_EQ(ConsoleLines(), expected);
}

TEST_F(EngineRoot, ErrorLogsWithSourceCutTo32)
{
    Engine->Error(std::string(40, 'S'), "went wrong");
    EXPECT_EQ(ConsoleLines().back(), "  ERROR: " + std::string(32, 'S') + ": went wrong");
}

TEST_F(EngineRoot, ShutDownAndDestructionLeaveNoObjectsAndCloseTheLog)
{
    const int64_t before = ZOTObject::InstanceCount();
    Engine->SetLogObjects(true);
    Engine.reset();
    EXPECT_EQ(ZOTObject::InstanceCount(), before - 15);
    EXPECT_EQ(CurrentEngine, nullptr);
    const std::vector<std::string> lines = ConsoleLines();
    ASSERT_GE(lines.size(), 21u);
    EXPECT_EQ(lines[17], "ZOT Main: Shut down...");
    // The modules report their end, last created first, while the console still stands.
    EXPECT_EQ(lines[20].rfind("OBJECT_DELETE: ", 0), 0u);
    EXPECT_NE(lines[20].find("(ZOTParser)"), std::string::npos);
    EXPECT_EQ(lines.back().find("ZOTEngine"), std::string::npos);
}

TEST_F(EngineRoot, TimersAndPump)
{
    FakeWindow window;
    FakeTimer startUp, mainLoop;
    Engine.reset();
    Engine = std::make_unique<ZOTEngine>(Dir.Path);
    Engine->SetShowErrors(false);
    Engine->Initialize(&window, &startUp, &mainLoop);
    EXPECT_EQ(startUp.History, std::vector<bool>{false});
    EXPECT_EQ(mainLoop.History, std::vector<bool>{true});
    Engine->Pump();
    Engine->SetPumpMessages(false);
    Engine->Pump();
    EXPECT_EQ(window.Calls, 1);
    Engine->ShutDown();
    EXPECT_EQ(mainLoop.History, (std::vector<bool>{true, false}));
    Engine->MainTimer = nullptr;
}

TEST(EngineLeftovers, ReportText)
{
    EXPECT_EQ(LeftoverReport(1), "");
    EXPECT_EQ(LeftoverReport(4), "There are still 3 instances of ZOT Objects left!");
}

using EngineFatalDeathTest = EngineTest;

TEST_F(EngineFatalDeathTest, FatalErrorEndsWithItsCodeAfterLogging)
{
    EXPECT_EXIT(Engine->FatalError(1, "Can't set PixelFormat."), ::testing::ExitedWithCode(1), "");
    const std::vector<std::string> lines = ConsoleLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "  ERROR: ZT_ERRORSHUTDOWN: Error Code: 1\r\rERROR: Can't set PixelFormat.");
}
