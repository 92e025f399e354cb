// Script lines through the tokenizer, each token read every way a script
// reader reads one, the line lists, and the text conversions on whole lines.
#include <algorithm>
#include <string_view>

#include "core/script_parser.h"
#include "core/zot_convert.h"
#include "core/zot_script.h"
#include "fuzz_support.h"

namespace {

// The prefixes the material scripts index tokens by.
constexpr std::string_view kPrefixes[] = {"TEX", "STEP", "PREDEF", ""};

void ReadEveryToken(const ZOTParser& parser)
{
    // One index beyond each end, which every reader must take.
    for (int32_t i = -1; i <= parser.Arguments.Last + 1; ++i) {
        parser.GetToken(i);
        parser.TokenAsInt(i);
        parser.TokenAsFloat(i);
        parser.TokenAsBool(i);
        parser.TokensAsVector(i);
        for (std::string_view prefix : kPrefixes)
            parser.IndexedSuffixByte(i, prefix);
    }
    parser.IsBlockOpen();
    parser.IsBlockClose();
}

void ConvertLine(std::string_view line)
{
    const int32_t number = ZOTConvert::StrToInt(line);
    ZOTConvert::IntToStrPadded(number, number);
    const float value = ZOTConvert::StrToFloat(line);
    ZOTConvert::FloatToStr(value);
    ZOTConvert::ColorToRGB(ZOTConvert::MakeColor(value, -value, value * value));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ZOTParser parser(nullptr);
    ZTScript lines;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = text.substr(start, end - start);
        fuzz::Require(parser.Tokenize(line) == parser.Arguments.Last &&
                          parser.Arguments.Last + 1 == static_cast<int32_t>(parser.Arguments.Tokens.size()),
                      "the tokenizer's last index matches its tokens");
        ReadEveryToken(parser);
        ConvertLine(line);
        ZOTScript::AppendLine(lines, line);
        start = end + 1;
    }
    // The line count a list may be given comes from the same scripts; kept small.
    ZOTScript::SetLineCount(lines, ZOTConvert::StrToInt(text.substr(0, 3)));
    return 0;
}
