// Splits one script line into tokens and reads tokens as numbers, booleans,
// vectors and indexed keywords.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/zot_object.h"
#include "math/math_types.h"

// The tokens of one line: Last is the index of the last token, -1 when none.
struct TSArguments {
    std::vector<std::string> Tokens;
    int32_t Last = -1;
};

class ZOTParser : public ZOTObject {
public:
    explicit ZOTParser(ZOTOwner* parent);
    void Start();

    // Replaces the tokens with those of line and returns the new Last.
    int32_t Tokenize(std::string_view line);
    void Clear();

    // Every index is safe: one outside the tokens reads as an empty token.
    std::string GetToken(int32_t i) const;
    bool TokenEquals(int32_t i, std::string_view text) const;
    int32_t TokenAsInt(int32_t i) const;
    float TokenAsFloat(int32_t i) const;
    bool TokenAsBool(int32_t i) const;
    Vector3 TokensAsVector(int32_t i) const;

    // The number after prefix in token i ("texture2" with "texture" gives 2), -1 when none.
    int32_t IndexedSuffix(int32_t i, std::string_view prefix) const;
    // IndexedSuffix as a byte, so -1 becomes 255.
    uint8_t IndexedSuffixByte(int32_t i, std::string_view prefix) const;

    // "name {" opens a block, a lone "}" closes it.
    bool IsBlockOpen() const;
    bool IsBlockClose() const;

    TSArguments Arguments;

private:
    // 64-bit, so that the neighbours of any 32-bit index can be asked for.
    bool HasToken(int64_t i) const;
    std::string_view TokenView(int64_t i) const;
    std::string NumberText(int64_t i) const;
    float FloatAt(int64_t i) const;
    void AddToken(std::string token);
    std::size_t TakePlainToken(const std::string& line, std::size_t start);
    std::size_t TakeQuotedToken(const std::string& line, std::size_t quote);
};
