// A growable list of object references, the collection resource of the engine.
// It only grows (in steps of eight slots) until it is cleared; a list that owns
// its items frees them when it is cleared, unloaded or destroyed.
#pragma once

#include <cstdint>
#include <vector>

#include "resource/resource_main.h"

class ZRList : public ZOTResource {
public:
    ZRList(ZOTOwner* owner, bool unique, bool ownsItems);
    ~ZRList() override;

    void Add(ZOTObject* item);
    int32_t IndexOf(const ZOTObject* item) const;
    bool Contains(const ZOTObject* item) const { return IndexOf(item) != -1; }
    // The item in slot index, or none for an index outside 0..Last.
    ZOTObject* Get(int32_t index) const;
    int32_t LastIndex() const { return Last; }
    void Clear();
    void Unload() override;

    // Its length is the capacity, always a multiple of Step.
    std::vector<ZOTObject*> Items;
    int32_t Last = -1;
    bool Unique = false;
    bool OwnsItems = false;
    int32_t Step = 8;
    bool AllowNull = false;

private:
    void FreeItems();
};
