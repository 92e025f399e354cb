// The base of every loadable asset: the file it came from, a caller's tag, an
// empty flag, and the load, unload and reset operations each kind overrides.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/zot_object.h"

class ZOTResource : public ZOTObject {
public:
    struct TSettings {
        std::string FileName;
        int32_t Tag = -1;
    };

    ZOTResource(ZOTOwner* owner, std::string_view name, const char* className);

    // C++ runs only the base version of a virtual call from a base destructor,
    // so every kind's own destructor calls its Unload.
    ~ZOTResource() override = default;

    virtual void LoadFromFile(const std::string& fileName);
    virtual void Unload();
    virtual void Reset() {}

    bool IsLoaded() const { return !Empty; }
    void SetTag(int32_t tag) { Settings.Tag = tag; }

    TSettings Settings;
    bool Empty = true;

protected:
    // The naming rule of every kind: remember the file, and take its name
    // (whole, or only the part after the last backslash) while the object
    // still carries the kind's default name.
    void NameAfterFile(const std::string& fileName, std::string_view defaultName, bool lastComponentOnly);
    // Logs "<verb> <kind>: "<name>"", e.g. Creating Image: "fur".
    void LogResource(std::string_view verb, std::string_view kind) const;
};
