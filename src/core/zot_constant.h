// Shared constants and short text types of the engine.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Object, resource, material and animation names hold at most this many characters.
constexpr std::size_t kNameLength = 32;
// A script line (ZTStringText) holds at most this many characters.
constexpr std::size_t kStringTextLength = 55;

// The two fixed lines every module uses to frame its log output.
inline const std::string kSeparatorLine(42, '-');
inline const std::string kEmptyLine = " ";

// A line list: Last is the index of the last line, -1 when empty.
struct ZTScript {
    std::vector<std::string> Lines;
    int32_t Last = -1;
};

// The first max characters of text (all of it when shorter).
inline std::string CutText(std::string_view text, std::size_t max)
{
    return std::string(text.substr(0, max));
}
