#include "core/zot_object.h"

#include <algorithm>

#include "core/zot_console.h"
#include "core/zot_constant.h"
#include "core/zot_main.h"

namespace {
uint32_t IDCounter = 0;
int64_t LiveInstances = 0;
}  // namespace

ZOTObject::ZOTObject(ZOTOwner* parent, std::string_view name, const char* className)
    : ClassName(className)
{
    ++LiveInstances;
    ID = ++IDCounter;
    SetName(name);
    SetParent(parent);
    LogLifeLine("OBJECT_CREATE: ");
}

ZOTObject::~ZOTObject()
{
    DestroyChildren();
    Children.shrink_to_fit();
    if (auto* owner = dynamic_cast<ZOTObject*>(Parent))
        owner->RemoveChild(this);
    // A module of the engine root empties its slot, so nothing (this very
    // line included) reaches a module that is being torn down.
    if (CurrentEngine && Parent == CurrentEngine)
        CurrentEngine->ForgetModule(this);
    LogLifeLine("OBJECT_DELETE: ");
    --LiveInstances;
}

void ZOTObject::LogLifeLine(const char* prefix) const
{
    ZOTEngine* engine = CurrentEngine;
    if (engine && engine->Console && engine->LogObjects)
        engine->Console->AddLine(prefix + Describe());
}

ZOTOwner* ZOTObject::GetParent() const { return Parent; }

bool ZOTObject::HasParent() const { return Parent != nullptr; }

void ZOTObject::SetParent(ZOTOwner* parent)
{
    Parent = (parent == this) ? nullptr : parent;
    if (auto* owner = dynamic_cast<ZOTObject*>(Parent))
        owner->AddChild(this);
}

void ZOTObject::AddChild(ZOTObject* child)
{
    if (UniqueChildren && HasChild(child))
        return;
    Children.push_back(child);
    Children.shrink_to_fit();
}

void ZOTObject::RemoveChild(ZOTObject* child)
{
    auto it = std::find(Children.begin(), Children.end(), child);
    if (it != Children.end())
        Children.erase(it);
    Children.erase(std::remove(Children.begin(), Children.end(), nullptr), Children.end());
    Children.shrink_to_fit();
}

bool ZOTObject::HasChild(const ZOTObject* child) const
{
    return std::find(Children.begin(), Children.end(), child) != Children.end();
}

int32_t ZOTObject::LastChildIndex() const { return static_cast<int32_t>(Children.size()) - 1; }

void ZOTObject::DestroyChildren()
{
    // Each child takes itself out of the list while it is destroyed, so the
    // walk re-reads the size instead of trusting an index into a changing list.
    while (!Children.empty()) {
        ZOTObject* child = Children.back();
        if (child)
            delete child;
        if (!Children.empty() && Children.back() == child)
            Children.pop_back();
    }
    Children.clear();
}

void ZOTObject::SetName(std::string_view name) { Name = CutText(name, kNameLength); }

std::string ZOTObject::Describe() const
{
    return "ID " + std::to_string(ID) + ": \"" + Name + "\" (" + ClassName + ")";
}

int64_t ZOTObject::InstanceCount() { return LiveInstances; }

uint32_t ZOTObject::LastID() { return IDCounter; }
