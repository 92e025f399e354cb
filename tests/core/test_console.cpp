#include "core/zot_console.h"
#include "core/zot_constant.h"
#include "test_support.h"

namespace {

using Received = std::vector<std::string>;

void ListenerA(void* object, const std::string& text) { static_cast<Received*>(object)->push_back("A:" + text); }
void ListenerB(void* object, const std::string& text) { static_cast<Received*>(object)->push_back("B:" + text); }

}  // namespace

class Console : public EngineTest {};

TEST_F(Console, StartRecreatesTheFileWithItsFirstTwoLines)
{
    Engine->Console->AddLine("left over");
    Engine->Console->Start(true);
    EXPECT_EQ(ConsoleLines(), (std::vector<std::string>{"Console created!", " "}));
}

TEST_F(Console, ListenersHearInOrderAndADisabledConsoleIsSilent)
{
    Received received;
    Engine->Console->AddListener(ListenerA, &received);
    Engine->Console->AddListener(ListenerB, &received);
    Engine->Console->AddLine("one");
    Engine->Console->RemoveListener(ListenerA);
    Engine->Console->AddListener(ListenerA, &received);
    Engine->Console->Enabled = false;
    Engine->Console->AddLine("hidden");
    Engine->Console->Enabled = true;
    Engine->Console->AddLine("two");
    Engine->Console->ClearListeners();
    Engine->Console->AddLine("three");
    EXPECT_EQ(received, (Received{"A:one", "B:one", "B:two", "A:two"}));
    EXPECT_FALSE(Logged("hidden"));
}

TEST_F(Console, WritingDoesNotLogItsOwnFileObject)
{
    Engine->SetLogObjects(true);
    Engine->Console->AddLine("plain");
    Engine->SetLogObjects(false);
    EXPECT_EQ(ConsoleLines().back(), "plain");
}

TEST_F(Console, MissingLogFileNeitherRecursesNorRecreates)
{
    Received received;
    Engine->Console->AddListener(ListenerA, &received);
    std::filesystem::remove(Dir.File("console.txt"));
    Engine->Error("TEST", "after the log is gone");
    Engine->Console->ClearListeners();
    EXPECT_FALSE(std::filesystem::exists(Dir.File("console.txt")));
    EXPECT_EQ(received, Received{"A:  ERROR: TEST: after the log is gone"});
}
