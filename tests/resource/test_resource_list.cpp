#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/zot_object.h"
#include "resource/resource_list.h"
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

}  // namespace

using ResourceList = EngineTest;

// Seventeen items take the lists past two growth steps; the owning list holds
// one item twice and must free it once.
TEST_F(ResourceList, KeepsTheOrderLooksUpNothingOutsideAndFreesOwnedItemsOnce)
{
    std::vector<std::unique_ptr<ZOTObject>> objects;
    ZRList unique(nullptr, true, false);
    ZRList repeated(nullptr, false, false);
    unique.Add(nullptr);
    EXPECT_TRUE(unique.Empty && unique.LastIndex() == -1);
    for (size_t i = 0; i < 17; ++i) {
        objects.push_back(std::make_unique<ZOTObject>(nullptr, "item", "ZOTObject"));
        for (ZRList* list : {&unique, &repeated}) {
            list->Add(objects[i].get());
            list->Add(objects[0].get());
        }
    }
    EXPECT_EQ(unique.LastIndex(), 16);
    EXPECT_EQ(repeated.LastIndex(), 33);
    EXPECT_EQ(unique.Get(16), objects[16].get());
    EXPECT_EQ(unique.IndexOf(objects[16].get()), 16);
    EXPECT_TRUE(unique.Get(-1) == nullptr && unique.Get(17) == nullptr);
    ZOTObject stranger(nullptr, "stranger", "ZOTObject");
    EXPECT_FALSE(unique.Contains(&stranger) || unique.Contains(nullptr));
    unique.Clear();
    EXPECT_TRUE(unique.Empty && unique.LastIndex() == -1);

    int destroyed = 0;
    {
        ZRList list(nullptr, false, true);
        auto* twice = new CountedObject(destroyed);
        list.Add(twice);
        list.Add(twice);
        list.Add(new CountedObject(destroyed));
        list.Clear();
        EXPECT_EQ(destroyed, 2);
        list.Add(new CountedObject(destroyed));
    }
    EXPECT_EQ(destroyed, 3);
}
