#include "core/zot_file.h"

#include <filesystem>
#include <system_error>

#include "core/file_file.h"
#include "core/zot_console.h"
#include "core/zot_main.h"
#include "platform/platform_system.h"

ZOTFileSystem::ZOTFileSystem(ZOTOwner* parent, const std::string& appDir)
    : ZOTObject(parent, "ZOT Engine File System", "ZOTFileSystem")
{
    const std::string native = appDir.empty() ? platform::ProgramDir() : appDir;
    Path.AppDir = WithTrailingBackslash(platform::EnginePath(native));
    Path.MaterialsDir = Path.AppDir + "materials\\";
    Path.ModelsDir = Path.AppDir + "models\\";
    Path.MusicDir = Path.AppDir + "music\\";
    Path.ShadersDir = Path.AppDir + "shaders\\";
    Path.SoundsDir = Path.AppDir + "sounds\\";
    Path.SpritesDir = Path.AppDir + "sprites\\";
    Path.TexturesDir = Path.AppDir + "textures\\";
    Path.WorldDir = Path.AppDir + "world\\";
}

void ZOTFileSystem::Start() { CurrentEngine->Console->AddLine("ZOT Main: File System initialized!"); }

bool ZOTFileSystem::Exists(const std::string& path, bool report) const
{
    std::error_code error;
    if (std::filesystem::is_regular_file(platform::NativePath(path), error))
        return true;
    if (report && CurrentEngine)
        CurrentEngine->Error("ZT_FILE", "File \"" + path + "\" not found!");
    return false;
}

std::string ZOTFileSystem::RelativeName(std::string_view path, bool keepExtension) const
{
    std::string_view rest = path;
    if (rest.substr(0, Path.AppDir.size()) == Path.AppDir)
        rest.remove_prefix(Path.AppDir.size());
    if (!keepExtension) {
        const std::size_t dot = rest.rfind('.');
        if (dot != std::string_view::npos && dot > 0)
            rest = rest.substr(0, dot);
    }
    return std::string(rest);
}

std::string ZOTFileSystem::MakePath(std::string_view name, std::string_view extension) const
{
    return Path.AppDir + std::string(name) + "." + std::string(extension);
}

std::string ZOTFileSystem::FileNameOf(std::string_view path)
{
    const std::size_t slash = path.rfind('\\');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string ZOTFileSystem::WithTrailingBackslash(std::string_view directory)
{
    std::string result(directory);
    if (!result.empty() && result.back() != '\\')
        result += '\\';
    return result;
}

bool ZOTFileSystem::IsSectionHeader(std::string_view line, std::string_view name)
{
    return line.size() == name.size() + 2 && line.front() == '[' && line.back() == ']' &&
           line.substr(1, name.size()) == name;
}

std::unique_ptr<ZOTFile> ZOTFileSystem::OpenForReading(const std::string& path, int32_t kind)
{
    return OpenFile(path, kind, 0, kFileRead);
}

std::unique_ptr<ZOTFile> ZOTFileSystem::OpenForWriting(const std::string& path, int32_t kind)
{
    return OpenFile(path, kind, 0, kFileWrite);
}

std::unique_ptr<ZOTFile> ZOTFileSystem::OpenFile(const std::string& path, int32_t kind, int32_t append,
                                                 int32_t mode)
{
    auto file = std::make_unique<ZOTFile>(this);
    file->Open(path, kind, append, mode);
    return file;
}
