// The display-list engine: hands out GL display lists and keeps a table of
// the display-list resources that own them, so that it can release them all.
#pragma once

#include <cstdint>
#include <vector>

#include "core/zot_object.h"

class ZRDisplayList;

class GLDisplayListEngine : public ZOTObject {
public:
    static constexpr int32_t kModeCompile = 0;
    static constexpr int32_t kModeCompileAndExecute = 1;

    explicit GLDisplayListEngine(ZOTOwner* parent);
    ~GLDisplayListEngine() override;

    void Init();
    // Starts compiling a new list for resource; returns the list's GL name.
    uint32_t BeginList(ZRDisplayList* resource, int32_t mode);
    void EndList();
    void CallList(uint32_t listName);
    void RemoveList(ZRDisplayList* resource);
    void DeleteListName(uint32_t listName);
    // Releases every list; resources this engine owns are destroyed, the
    // others are unloaded so that none keeps a name GL may hand out again.
    void Clear();
    // A list may bind textures behind the texture engine's back.
    static void ForgetBoundTextures();

    // An empty entry is a free slot.
    std::vector<ZRDisplayList*> Lists;
    int32_t LastList = -1;

private:
    void TakeSlot(ZRDisplayList* resource);
    static uint32_t NewList(int32_t mode);
    void TrimFreeTail();
};
