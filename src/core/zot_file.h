// The program directory, the data directories beside it, path helpers,
// existence tests with the "not found" report, and the maker of file objects.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/zot_object.h"

class ZOTFile;

// Every directory ends in a backslash; paths inside the engine use
// backslashes throughout and become native only when a file is touched.
struct TPath {
    std::string AppDir;
    std::string MaterialsDir;
    std::string ModelsDir;
    std::string MusicDir;
    std::string ShadersDir;
    std::string SoundsDir;
    std::string SpritesDir;
    std::string TexturesDir;
    std::string WorldDir;
};

class ZOTFileSystem : public ZOTObject {
public:
    // appDir is a native directory; empty means the executable's own.
    ZOTFileSystem(ZOTOwner* parent, const std::string& appDir = std::string());

    void Start();

    bool Exists(const std::string& path, bool report) const;
    std::string RelativeName(std::string_view path, bool keepExtension) const;
    std::string MakePath(std::string_view name, std::string_view extension) const;
    static std::string FileNameOf(std::string_view path);
    static std::string WithTrailingBackslash(std::string_view directory);
    static bool IsSectionHeader(std::string_view line, std::string_view name);
    static bool IsEmpty(std::string_view text) { return text.empty(); }

    // The caller owns the returned file; destroying it closes the file.
    std::unique_ptr<ZOTFile> OpenForReading(const std::string& path, int32_t kind);
    std::unique_ptr<ZOTFile> OpenForWriting(const std::string& path, int32_t kind);
    std::unique_ptr<ZOTFile> OpenFile(const std::string& path, int32_t kind, int32_t append, int32_t mode);

    const TPath& GetPath() const { return Path; }

private:
    TPath Path;
};
