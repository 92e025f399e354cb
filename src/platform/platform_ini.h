// Reading of ini files: [SECTION] headers and key=value lines.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace platform {

class IniFile {
public:
    // False when the file cannot be read; every lookup then gives its default.
    // Lines that are neither a section, a setting nor a comment are skipped.
    bool Load(const std::string& nativePath);
    // The first line Load skipped, or 0.
    int FirstBadLine() const { return BadLine; }

    // A value that is missing or not a whole decimal number gives the default.
    int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
    // Booleans are stored as integers: 0 is false, anything else true.
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

private:
    std::map<std::string, std::string> Values;
    int BadLine = 0;
    static std::string MakeKey(std::string_view section, std::string_view key);
    static int Store(void* user, const char* section, const char* name, const char* value);
};

}  // namespace platform
