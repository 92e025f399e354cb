// The base of every engine and application object: number, name, parent and
// owned children, plus the process-wide count of live objects.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Anything that can be passed as the owner of an engine object. Only owners
// that are themselves ZOTObjects keep a list of children; others (the main
// window, for one) are merely remembered as the parent.
class ZOTOwner {
public:
    virtual ~ZOTOwner() = default;
};

class ZOTObject : public ZOTOwner {
public:
    // className is the name of the most derived class, used by Describe; C++
    // cannot tell it from inside the base constructor, so each class hands it down.
    ZOTObject(ZOTOwner* parent, std::string_view name, const char* className);
    ~ZOTObject() override;

    ZOTObject(const ZOTObject&) = delete;
    ZOTObject& operator=(const ZOTObject&) = delete;

    virtual ZOTOwner* GetParent() const;
    virtual bool HasParent() const;
    virtual void SetParent(ZOTOwner* parent);

    void AddChild(ZOTObject* child);
    void RemoveChild(ZOTObject* child);
    bool HasChild(const ZOTObject* child) const;
    int32_t LastChildIndex() const;
    void DestroyChildren();
    const std::vector<ZOTObject*>& GetChildren() const { return Children; }

    uint32_t GetID() const { return ID; }
    void SetID(uint32_t id) { ID = id; }
    const std::string& GetName() const { return Name; }
    void SetName(std::string_view name);
    const char* GetClassName() const { return ClassName; }

    // ID <n>: "<Name>" (<class name>)
    std::string Describe() const;

    static int64_t InstanceCount();
    static uint32_t LastID();

protected:
    uint32_t ID = 0;
    std::string Name;
    ZOTOwner* Parent = nullptr;
    std::vector<ZOTObject*> Children;
    bool UniqueChildren = true;

private:
    const char* ClassName;
    void LogLifeLine(const char* prefix) const;
};

// Deletes an object held in a field and clears the field, so that nothing
// reaches the object while the rest of its owner is torn down.
template <typename T>
void DeleteAndClear(T*& object)
{
    delete object;
    object = nullptr;
}
