// The members of one JSON object, written as text in the order they are
// added: what the tools and the benchmark print for scripts to read.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class JsonObject {
public:
    void AddText(std::string_view key, std::string_view value) { AddRaw(key, Quoted(value)); }
    void AddNumber(std::string_view key, int64_t value) { AddRaw(key, std::to_string(value)); }
    // value is already JSON text: a number, a literal, a list or an object.
    void AddRaw(std::string_view key, const std::string& value);
    std::string Text() const { return "{" + Members + "}"; }

    static std::string Quoted(std::string_view text);

private:
    std::string Members;
};
