#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/zot_object.h"
#include "resource/resource_list.h"
#include "resource/resource_main.h"
#include "test_support.h"

namespace {

// An object that counts its own destruction in a counter the test holds.
class CountedObject : public ZOTObject {
public:
    explicit CountedObject(int& destroyed) : ZOTObject(nullptr, "counted", "CountedObject"), Destroyed(destroyed) {}
    ~CountedObject() override { ++Destroyed; }

private:
    int& Destroyed;
};

// A resource kind that exposes the shared naming and logging helpers.
class NamedResource : public ZOTResource {
public:
    explicit NamedResource(std::string_view name) : ZOTResource(nullptr, name, "NamedResource") {}
    void Name(const std::string& fileName, bool lastComponentOnly)
    {
        NameAfterFile(fileName, "RESOURCE NAMED", lastComponentOnly);
    }
};

std::vector<std::unique_ptr<ZOTObject>> MakeObjects(int count)
{
    std::vector<std::unique_ptr<ZOTObject>> objects;
    for (int i = 0; i < count; ++i)
        objects.push_back(std::make_unique<ZOTObject>(nullptr, "item" + std::to_string(i), "ZOTObject"));
    return objects;
}

}  // namespace

using ResourceBase = EngineTest;

TEST_F(ResourceBase, NewResourceIsEmptyWithoutFileAndTagMinusOne)
{
    ZOTResource resource(nullptr, "plain", "ZOTResource");
    EXPECT_TRUE(resource.Empty);
    EXPECT_FALSE(resource.IsLoaded());
    EXPECT_EQ(resource.Settings.FileName, "");
    EXPECT_EQ(resource.Settings.Tag, -1);
    resource.SetTag(7);
    EXPECT_EQ(resource.Settings.Tag, 7);
    resource.LoadFromFile("anything");
    EXPECT_TRUE(resource.Empty);
    EXPECT_EQ(resource.Settings.FileName, "");
    resource.Empty = false;
    resource.Unload();
    EXPECT_TRUE(resource.Empty);
}

TEST_F(ResourceBase, NamingTakesLastComponentOrWholeNameOnlyWhileDefault)
{
    NamedResource last("RESOURCE NAMED");
    last.Name("textures\\fur\\fur", true);
    EXPECT_EQ(last.GetName(), "fur");
    EXPECT_EQ(last.Settings.FileName, "textures\\fur\\fur");

    NamedResource whole("RESOURCE NAMED");
    whole.Name("textures\\fur\\fur", false);
    EXPECT_EQ(whole.GetName(), "textures\\fur\\fur");

    NamedResource own("mine");
    own.Name("textures\\fur\\fur", true);
    EXPECT_EQ(own.GetName(), "mine");
    EXPECT_EQ(own.Settings.FileName, "textures\\fur\\fur");

    NamedResource longName("RESOURCE NAMED");
    longName.Name(std::string(40, 'a'), false);
    EXPECT_EQ(longName.GetName(), std::string(32, 'a'));
}

using ResourceList = EngineTest;

TEST_F(ResourceList, NewListIsEmptyWithItsSettings)
{
    ZRList list(nullptr, true, false);
    EXPECT_EQ(list.GetName(), "ZOT Resource List");
    EXPECT_EQ(list.LastIndex(), -1);
    EXPECT_TRUE(list.Items.empty());
    EXPECT_TRUE(list.Empty);
    EXPECT_TRUE(list.Unique);
    EXPECT_FALSE(list.OwnsItems);
    EXPECT_EQ(list.Step, 8);
    EXPECT_FALSE(list.AllowNull);
    EXPECT_EQ(list.Settings.Tag, -1);
    int visited = 0;
    for (int32_t i = 0; i <= list.LastIndex(); ++i)
        ++visited;
    EXPECT_EQ(visited, 0);
}

TEST_F(ResourceList, CapacityGrowsInStepsOfEight)
{
    auto objects = MakeObjects(17);
    ZRList list(nullptr, false, false);
    for (int i = 0; i < 8; ++i)
        list.Add(objects[i].get());
    EXPECT_EQ(list.Items.size(), 8u);
    EXPECT_EQ(list.LastIndex(), 7);
    list.Add(objects[8].get());
    EXPECT_EQ(list.Items.size(), 16u);
    for (int i = 9; i < 16; ++i)
        list.Add(objects[i].get());
    EXPECT_EQ(list.Items.size(), 16u);
    list.Add(objects[16].get());
    EXPECT_EQ(list.Items.size(), 24u);
    for (int i = 0; i < 17; ++i) {
        EXPECT_EQ(list.Get(i), objects[i].get());
        EXPECT_EQ(list.IndexOf(objects[i].get()), i);
    }
    EXPECT_FALSE(list.Empty);
}

TEST_F(ResourceList, UniqueIgnoresRepeatsOtherwiseStoredTwice)
{
    ZOTObject object(nullptr, "one", "ZOTObject");
    ZRList unique(nullptr, true, false);
    unique.Add(&object);
    unique.Add(&object);
    EXPECT_EQ(unique.LastIndex(), 0);

    ZRList repeated(nullptr, false, false);
    repeated.Add(&object);
    repeated.Add(&object);
    EXPECT_EQ(repeated.LastIndex(), 1);
    EXPECT_EQ(repeated.IndexOf(&object), 0);
    EXPECT_TRUE(repeated.Contains(&object));
}

TEST_F(ResourceList, NullIsIgnoredAndLookupsOutsideTheListGiveNothing)
{
    ZOTObject object(nullptr, "one", "ZOTObject");
    ZOTObject stranger(nullptr, "two", "ZOTObject");
    ZRList list(nullptr, false, false);
    list.Add(nullptr);
    EXPECT_EQ(list.LastIndex(), -1);
    EXPECT_TRUE(list.Empty);
    EXPECT_TRUE(list.Items.empty());
    list.Add(&object);
    EXPECT_EQ(list.Get(-1), nullptr);
    EXPECT_EQ(list.Get(1), nullptr);
    EXPECT_EQ(list.Get(7), nullptr);
    EXPECT_EQ(list.IndexOf(&stranger), -1);
    EXPECT_FALSE(list.Contains(&stranger));
    EXPECT_FALSE(list.Contains(nullptr));
}

TEST_F(ResourceList, ClearAndUnloadEmptyTheListAndKeepForeignItems)
{
    auto objects = MakeObjects(3);
    ZRList list(nullptr, false, false);
    list.Unload();
    EXPECT_TRUE(list.Empty);
    for (auto& object : objects)
        list.Add(object.get());
    list.Unload();
    EXPECT_TRUE(list.Empty);
    EXPECT_EQ(list.LastIndex(), -1);
    EXPECT_TRUE(list.Items.empty());
    list.Add(objects[0].get());
    EXPECT_EQ(list.Items.size(), 8u);
    list.Clear();
    EXPECT_TRUE(list.Empty);
    EXPECT_EQ(objects[0]->GetName(), "item0");
}

TEST_F(ResourceList, OwnedItemsAreFreedOnceOnClearAndDestruction)
{
    int destroyed = 0;
    {
        ZRList list(nullptr, false, true);
        for (int i = 0; i < 10; ++i)
            list.Add(new CountedObject(destroyed));
        list.Clear();
        EXPECT_EQ(destroyed, 10);
        auto* twice = new CountedObject(destroyed);
        list.Add(twice);
        list.Add(twice);
        list.Add(new CountedObject(destroyed));
    }
    EXPECT_EQ(destroyed, 12);
}

TEST_F(ResourceList, OwnedItemThatIsAChildLeavesItsParent)
{
    int destroyed = 0;
    ZOTObject parent(nullptr, "parent", "ZOTObject");
    auto* child = new CountedObject(destroyed);
    child->SetParent(&parent);
    {
        ZRList list(&parent, true, true);
        list.Add(child);
        EXPECT_TRUE(parent.HasChild(child));
    }
    EXPECT_EQ(destroyed, 1);
    EXPECT_FALSE(parent.HasChild(child));
}
