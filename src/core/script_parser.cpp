#include "core/script_parser.h"

#include <utility>

#include "core/zot_console.h"
#include "core/zot_constant.h"
#include "core/zot_convert.h"
#include "core/zot_main.h"

namespace {

// A token read as a number is first cut to this many characters.
constexpr std::size_t kNumberTokenLength = 255;

bool IsSeparator(char c) { return c == '\t' || c == '(' || c == ')' || c == ',' || c == ';'; }

// Separators inside quotes belong to a quoted token, so only those outside
// become spaces. The closing space lets every plain token end at a space.
std::string SpacedLine(std::string_view line)
{
    std::string spaced(line);
    bool insideQuotes = false;
    for (char& c : spaced) {
        if (c == '"')
            insideQuotes = !insideQuotes;
        else if (!insideQuotes && IsSeparator(c))
            c = ' ';
    }
    spaced += ' ';
    return spaced;
}

}  // namespace

ZOTParser::ZOTParser(ZOTOwner* parent) : ZOTObject(parent, "ZOT Engine Parser", "ZOTParser") {}

void ZOTParser::Start() { CurrentEngine->Console->AddLine("ZOT Main: Script Parser Class initialized!"); }

int32_t ZOTParser::Tokenize(std::string_view line)
{
    Clear();
    const std::string spaced = SpacedLine(line);
    for (std::size_t pos = 0; pos < spaced.size(); ++pos) {
        if (spaced[pos] != ' ' && spaced[pos] != '"')
            pos = TakePlainToken(spaced, pos);
        if (spaced[pos] == '"')
            pos = TakeQuotedToken(spaced, pos);
    }
    return Arguments.Last;
}

// Returns the position of the space that ends the token; the line ends in one.
std::size_t ZOTParser::TakePlainToken(const std::string& line, std::size_t start)
{
    const std::size_t end = line.find(' ', start);
    AddToken(line.substr(start, end - start));
    return end;
}

// Returns the position of the closing quote, or the last position when the
// quote is never closed (the token then runs to the end of the line).
std::size_t ZOTParser::TakeQuotedToken(const std::string& line, std::size_t quote)
{
    const std::size_t start = quote + 1;
    const std::size_t close = line.find('"', start);
    if (close == std::string::npos) {
        AddToken(line.substr(start));
        return line.size() - 1;
    }
    AddToken(line.substr(start, close - start));
    return close;
}

void ZOTParser::AddToken(std::string token)
{
    Arguments.Tokens.push_back(std::move(token));
    Arguments.Last = static_cast<int32_t>(Arguments.Tokens.size()) - 1;
}

void ZOTParser::Clear()
{
    Arguments.Tokens.clear();
    Arguments.Last = -1;
}

bool ZOTParser::HasToken(int64_t i) const
{
    return i >= 0 && i <= Arguments.Last && static_cast<std::size_t>(i) < Arguments.Tokens.size();
}

std::string_view ZOTParser::TokenView(int64_t i) const
{
    if (!HasToken(i))
        return {};
    return Arguments.Tokens[static_cast<std::size_t>(i)];
}

std::string ZOTParser::GetToken(int32_t i) const { return std::string(TokenView(i)); }

bool ZOTParser::TokenEquals(int32_t i, std::string_view text) const { return TokenView(i) == text; }

std::string ZOTParser::NumberText(int64_t i) const { return CutText(TokenView(i), kNumberTokenLength); }

float ZOTParser::FloatAt(int64_t i) const { return ZOTConvert::StrToFloat(NumberText(i)); }

int32_t ZOTParser::TokenAsInt(int32_t i) const { return ZOTConvert::StrToInt(NumberText(i)); }

float ZOTParser::TokenAsFloat(int32_t i) const { return FloatAt(i); }

bool ZOTParser::TokenAsBool(int32_t i) const { return ZOTConvert::StrToBool(NumberText(i)); }

Vector3 ZOTParser::TokensAsVector(int32_t i) const
{
    const int64_t first = i;
    return Vector3{FloatAt(first), FloatAt(first + 1), FloatAt(first + 2)};
}

int32_t ZOTParser::IndexedSuffix(int32_t i, std::string_view prefix) const
{
    const std::string_view token = TokenView(i);
    if (!HasToken(i) || token.substr(0, prefix.size()) != prefix)
        return ZOTConvert::kInvalidInt;
    return ZOTConvert::StrToInt(token.substr(prefix.size()));
}

uint8_t ZOTParser::IndexedSuffixByte(int32_t i, std::string_view prefix) const
{
    return static_cast<uint8_t>(IndexedSuffix(i, prefix));
}

bool ZOTParser::IsBlockOpen() const { return Arguments.Last == 1 && TokenEquals(1, "{"); }

bool ZOTParser::IsBlockClose() const { return Arguments.Last == 0 && TokenEquals(0, "}"); }
