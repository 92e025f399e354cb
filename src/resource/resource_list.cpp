#include "resource/resource_list.h"

#include <algorithm>

ZRList::ZRList(ZOTOwner* owner, bool unique, bool ownsItems)
    : ZOTResource(owner, "ZOT Resource List", "ZRList"), Unique(unique), OwnsItems(ownsItems)
{
    Reset();
}

ZRList::~ZRList() { ZRList::Unload(); }

void ZRList::Add(ZOTObject* item)
{
    if (!item && !AllowNull)
        return;
    if (Unique && Contains(item))
        return;
    ++Last;
    if (Last % Step == 0)
        Items.resize(static_cast<size_t>(Last) + static_cast<size_t>(Step));
    Items[static_cast<size_t>(Last)] = item;
    Empty = false;
}

int32_t ZRList::IndexOf(const ZOTObject* item) const
{
    for (int32_t i = 0; i <= Last; ++i) {
        if (Items[static_cast<size_t>(i)] == item)
            return i;
    }
    return -1;
}

ZOTObject* ZRList::Get(int32_t index) const
{
    if (index < 0 || index > Last)
        return nullptr;
    return Items[static_cast<size_t>(index)];
}

void ZRList::Clear()
{
    if (OwnsItems)
        FreeItems();
    Items.clear();
    Items.shrink_to_fit();
    Last = -1;
    Empty = true;
}

void ZRList::Unload()
{
    if (!Empty)
        Clear();
    Empty = true;
}

void ZRList::FreeItems()
{
    // A list that is not unique may hold one object in several slots; each
    // later slot is emptied so the object is freed once.
    const auto used = Items.begin() + (Last + 1);
    for (auto slot = Items.begin(); slot != used; ++slot) {
        ZOTObject* item = *slot;
        if (!item)
            continue;
        std::replace(slot, used, item, static_cast<ZOTObject*>(nullptr));
        delete item;
    }
}
