#include "core/script_parser.h"
#include "core/zot_console.h"
#include "core/zot_constant.h"
#include "test_support.h"

namespace {

class FakeTimer : public ZOTWindowTimer {
public:
    void SetEnabled(bool enabled) override { History.push_back(enabled); }
    std::vector<bool> History;
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

TEST_F(EngineRoot, DestructionLeavesNoObjectsAndLogsTheModulesWhileTheConsoleStands)
{
    const int64_t before = ZOTObject::InstanceCount();
    const std::string parser = Engine->Parser->Describe();
    const std::string engine = Engine->Describe();
    Engine->SetLogObjects(true);
    Engine.reset();
    EXPECT_EQ(ZOTObject::InstanceCount(), before - 15);
    EXPECT_EQ(CurrentEngine, nullptr);
    // The modules report their end while the console still stands; the root cannot.
    EXPECT_TRUE(Logged("OBJECT_DELETE: " + parser));
    EXPECT_FALSE(Logged("OBJECT_DELETE: " + engine));
    EXPECT_EQ(ConsoleLines().back(), "ZOT Main: ZOT Objects left: " + std::to_string(before - 15));
    EXPECT_EQ(LeftoverReport(1), "");
    EXPECT_EQ(LeftoverReport(4), "There are still 3 instances of ZOT Objects left!");
}

TEST_F(EngineRoot, WindowTimersStopForStartUpAndRunUntilShutDown)
{
    FakeTimer startUp, mainLoop;
    Engine.reset();
    Engine = std::make_unique<ZOTEngine>(Dir.Path);
    Engine->SetShowErrors(false);
    Engine->Initialize(nullptr, &startUp, &mainLoop);
    Engine->ShutDown();
    Engine->MainTimer = nullptr;
    EXPECT_EQ(startUp.History, std::vector<bool>{false});
    EXPECT_EQ(mainLoop.History, (std::vector<bool>{true, false}));
}

using EngineFatalDeathTest = EngineTest;

TEST_F(EngineFatalDeathTest, FatalErrorEndsWithItsCodeAfterLogging)
{
    EXPECT_EXIT(Engine->FatalError(1, "Can't set PixelFormat."), ::testing::ExitedWithCode(1), "");
    const std::vector<std::string> lines = ConsoleLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "  ERROR: ZT_ERRORSHUTDOWN: Error Code: 1\r\rERROR: Can't set PixelFormat.");
}
