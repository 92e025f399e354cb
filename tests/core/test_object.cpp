#include "test_support.h"

namespace {

// Records the order in which objects are destroyed.
class Tracked : public ZOTObject {
public:
    Tracked(ZOTOwner* parent, const std::string& name, std::vector<std::string>* log = nullptr)
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

}  // namespace

TEST(ObjectRegistry, ParentRules)
{
    Tracked self(nullptr, "self");
    self.SetParent(&self);
    EXPECT_FALSE(self.HasParent());
    EXPECT_EQ(self.LastChildIndex(), -1);

    Tracked parent(nullptr, "parent");
    auto* child = new Tracked(&parent, "child");
    parent.AddChild(child);
    EXPECT_EQ(parent.LastChildIndex(), 0);
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
    // A child destroyed first must leave its parent's list.
    delete b;
    EXPECT_EQ(parent->LastChildIndex(), 1);
    delete parent;
    EXPECT_EQ(log, (std::vector<std::string>{"B", "P", "C", "A", "A1"}));
    EXPECT_EQ(ZOTObject::InstanceCount(), before);
}

class ObjectLogging : public EngineTest {};

TEST_F(ObjectLogging, CreateAndDeleteLinesDescribeTheObjectByNumberAndCutName)
{
    Engine->SetLogObjects(true);
    uint32_t id = 0;
    {
        Tracked object(Engine.get(), std::string(40, 'x'));
        id = object.GetID();
    }
    Engine->SetLogObjects(false);
    const std::string describe = "ID " + std::to_string(id) + ": \"" + std::string(32, 'x') + "\" (Tracked)";
    EXPECT_TRUE(Logged("OBJECT_CREATE: " + describe));
    EXPECT_TRUE(Logged("OBJECT_DELETE: " + describe));
}
