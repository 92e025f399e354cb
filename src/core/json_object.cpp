#include "core/json_object.h"

#include <cstdio>

namespace {

std::string Escaped(char c)
{
    switch (c) {
    case '"':
        return "\\\"";
    case '\\':
        return "\\\\";
    case '\n':
        return "\\n";
    case '\r':
        return "\\r";
    case '\t':
        return "\\t";
    default:
        break;
    }
    if (static_cast<unsigned char>(c) < 0x20) {
        char code[8];
        std::snprintf(code, sizeof code, "\\u%04x", static_cast<unsigned>(c));
        return code;
    }
    return std::string(1, c);
}

}  // namespace

void JsonObject::AddRaw(std::string_view key, const std::string& value)
{
    if (!Members.empty())
        Members += ",";
    Members += Quoted(key) + ":" + value;
}

std::string JsonObject::Quoted(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text)
        out += Escaped(c);
    return out + "\"";
}
