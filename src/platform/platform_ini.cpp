#include "platform/platform_ini.h"

#include <ini.h>

#include <cctype>
#include <charconv>

namespace platform {

namespace {

std::string Lower(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

}  // namespace

// Sections and keys match without regard to case, as ini readers usually do.
std::string IniFile::MakeKey(std::string_view section, std::string_view key)
{
    return Lower(section) + '\n' + Lower(key);
}

int IniFile::Store(void* user, const char* section, const char* name, const char* value)
{
    auto* values = static_cast<std::map<std::string, std::string>*>(user);
    values->emplace(MakeKey(section, name), value);
    return 1;
}

bool IniFile::Load(const std::string& nativePath)
{
    Values.clear();
    const int result = ini_parse(nativePath.c_str(), Store, &Values);
    BadLine = result > 0 ? result : 0;
    return result >= 0;
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const
{
    const auto found = Values.find(MakeKey(section, key));
    if (found == Values.end())
        return defaultValue;
    const std::string& text = found->second;
    const char* begin = text.data() + (!text.empty() && text[0] == '+' ? 1 : 0);
    int value = 0;
    const auto [end, error] = std::from_chars(begin, text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || begin == end)
        return defaultValue;
    return value;
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

}  // namespace platform
