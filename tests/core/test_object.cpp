#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/zot_object.h"
#include "test_support.h"

namespace {

// Records the order in which objects are destroyed.
class Tracked : public ZOTObject {
public:
    Tracked(ZOTOwner* parent, const std::string& name, std::vector<std::string>* log)
        : ZOTObject(parent, name, "Tracked"), Log(log)
    {
    }
    ~Tracked() override
    {
        if (Log)
            Log->push_back(GetName());
    }
    std::vector<std::string>* Log;
};

class Foreign : public ZOTOwner {};

}  // namespace

TEST(ObjectRegistry, NumbersNamesAndDescription)
{
    Tracked a(nullptr, std::string(40, 'x'), nullptr);
    Tracked b(nullptr, "second", nullptr);
    EXPECT_EQ(b.GetID(), a.GetID() + 1);
    EXPECT_EQ(a.GetName(), std::string(32, 'x'));
    EXPECT_EQ(b.Describe(), "ID " + std::to_string(b.GetID()) + ": \"second\" (Tracked)");
    b.SetName(std::string(33, 'y'));
    EXPECT_EQ(b.GetName().size(), 32u);
}

TEST(ObjectRegistry, ParentRules)
{
    Tracked self(nullptr, "self", nullptr);
    self.SetParent(&self);
    EXPECT_FALSE(self.HasParent());
    EXPECT_EQ(self.LastChildIndex(), -1);

    Foreign window;
    Tracked app(&window, "app", nullptr);
    EXPECT_TRUE(app.HasParent());
    EXPECT_EQ(app.GetParent(), &window);

    Tracked parent(nullptr, "parent", nullptr);
    auto* child = new Tracked(&parent, "child", nullptr);
    parent.AddChild(child);
    EXPECT_EQ(parent.LastChildIndex(), 0);
    EXPECT_TRUE(parent.HasChild(child));
    delete child;
    EXPECT_EQ(parent.LastChildIndex(), -1);
}

TEST(ObjectRegistry, ChildrenDieInReverseOrderAndAreCounted)
{
    const int64_t before = ZOTObject::InstanceCount();
    std::vector<std::string> log;
    auto* parent = new Tracked(nullptr, "P", &log);
    auto* a = new Tracked(parent, "A", &log);
    auto* b = new Tracked(parent, "B", &log);
    new Tracked(parent, "C", &log);
    new Tracked(a, "A1", &log);
    EXPECT_EQ(ZOTObject::InstanceCount(), before + 5);
    // A child destroyed first must leave its parent's list.
    delete b;
    EXPECT_EQ(parent->LastChildIndex(), 1);
    delete parent;
    EXPECT_EQ(log, (std::vector<std::string>{"B", "P", "C", "A", "A1"}));
    EXPECT_EQ(ZOTObject::InstanceCount(), before);
}

class ObjectLogging : public EngineTest {};

TEST_F(ObjectLogging, CreateAndDeleteLinesCarryTheSameNumber)
{
    Engine->SetLogObjects(true);
    uint32_t id = 0;
    {
        Tracked object(Engine.get(), "ZOT File", nullptr);
        id = object.GetID();
    }
    Engine->SetLogObjects(false);
    const std::vector<std::string> lines = ConsoleLines();
    ASSERT_GE(lines.size(), 2u);
    const std::string describe = "ID " + std::to_string(id) + ": \"ZOT File\" (Tracked)";
    EXPECT_EQ(lines[lines.size() - 2], "OBJECT_CREATE: " + describe);
    EXPECT_EQ(lines[lines.size() - 1], "OBJECT_DELETE: " + describe);
}
