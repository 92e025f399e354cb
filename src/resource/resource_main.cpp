#include "resource/resource_main.h"

#include "core/zot_console.h"
#include "core/zot_file.h"
#include "core/zot_main.h"

ZOTResource::ZOTResource(ZOTOwner* owner, std::string_view name, const char* className)
    : ZOTObject(owner, name, className)
{
}

void ZOTResource::LoadFromFile(const std::string& /*fileName*/) {}

void ZOTResource::Unload() { Empty = true; }

void ZOTResource::NameAfterFile(const std::string& fileName, std::string_view defaultName, bool lastComponentOnly)
{
    Settings.FileName = fileName;
    if (Name != defaultName)
        return;
    SetName(lastComponentOnly ? ZOTFileSystem::FileNameOf(fileName) : fileName);
}

void ZOTResource::LogResource(std::string_view verb, std::string_view kind) const
{
    LogLine(std::string(verb) + " " + std::string(kind) + ": \"" + Name + "\"");
}
