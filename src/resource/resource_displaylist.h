// A display list recorded once and replayed every frame, for static geometry.
// The display-list engine hands out its GL name and keeps it in its table.
#pragma once

#include <cstdint>

#include "resource/resource_main.h"

class ZRDisplayList : public ZOTResource {
public:
    static constexpr const char* kDefaultName = "RESOURCE DISPLAYLIST";

    explicit ZRDisplayList(ZOTOwner* owner = nullptr);
    ~ZRDisplayList() override;

    // The caller issues its drawing between these two; mode as for the
    // engine's BeginList.
    void BeginCompile(int32_t mode = 0);
    void EndCompile();
    void Call();
    void Unload() override;

    uint32_t ListName = 0;
};
