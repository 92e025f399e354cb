#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/zot_console.h"
#include "core/zot_constant.h"
#include "test_support.h"

namespace {

struct Received {
    std::vector<std::string> Lines;
};

void ListenerA(void* object, const std::string& text) { static_cast<Received*>(object)->Lines.push_back("A:" + text); }
void ListenerB(void* object, const std::string& text) { static_cast<Received*>(object)->Lines.push_back("B:" + text); }

}  // namespace

class Console : public EngineTest {};

TEST_F(Console, StartRecreatesTheFileWithItsFirstTwoLines)
{
    Engine->Console->AddLine("left over");
    Engine->Console->Start(true);
    EXPECT_EQ(ConsoleLines(), (std::vector<std::string>{"Console created!", " "}));
    Engine->Console->AddEmptyLine();
    Engine->Console->AddSeparator();
    EXPECT_EQ(ConsoleLines().back(), kSeparatorLine);
    EXPECT_EQ(ConsoleLines()[2], " ");
}

TEST_F(Console, ListenersInOrderAndRemovalKeepsSlots)
{
    Received received;
    Engine->Console->AddListener(ListenerA, &received);
    Engine->Console->AddListener(ListenerB, &received);
    Engine->Console->AddLine("one");
    Engine->Console->RemoveListener(ListenerA);
    EXPECT_EQ(Engine->Console->LastListener, 1);
    Engine->Console->AddListener(ListenerA, &received);
    EXPECT_EQ(Engine->Console->LastListener, 2);
    Engine->Console->AddLine("two");
    EXPECT_EQ(received.Lines, (std::vector<std::string>{"A:one", "B:one", "B:two", "A:two"}));
    Engine->Console->ClearListeners();
    EXPECT_EQ(Engine->Console->LastListener, -1);
}

TEST_F(Console, DisabledConsoleWritesNothing)
{
    Received received;
    Engine->Console->AddListener(ListenerA, &received);
    const size_t before = ConsoleLines().size();
    Engine->Console->Enabled = false;
    Engine->Console->AddLine("hidden");
    Engine->Console->Enabled = true;
    Engine->Console->ClearListeners();
    EXPECT_TRUE(received.Lines.empty());
    EXPECT_EQ(ConsoleLines().size(), before);
}

TEST_F(Console, WritingDoesNotLogItsOwnFileObject)
{
    Engine->SetLogObjects(true);
    Engine->Console->AddLine("plain");
    EXPECT_TRUE(Engine->LogObjects);
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
    EXPECT_EQ(received.Lines, std::vector<std::string>{"A:  ERROR: TEST: after the log is gone"});
}
