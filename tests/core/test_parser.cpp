#include <gtest/gtest.h>

#include <limits>

#include "core/script_parser.h"

using Texts = std::vector<std::string>;

class ParserTest : public ::testing::Test {
protected:
    Texts Tokens(const std::string& line)
    {
        const int32_t last = Parser.Tokenize(line);
        EXPECT_EQ(last + 1, static_cast<int32_t>(Parser.Arguments.Tokens.size()));
        return Parser.Arguments.Tokens;
    }

    ZOTParser Parser{nullptr};
};

TEST_F(ParserTest, SplitsAtSeparatorsOutsideQuotesEvenUnclosedOnes)
{
    EXPECT_EQ(Tokens("color 1.0, 0.5 ,0.25;"), (Texts{"color", "1.0", "0.5", "0.25"}));
    EXPECT_EQ(Tokens("\tpos(1;2)"), (Texts{"pos", "1", "2"}));
    EXPECT_EQ(Tokens("file \"a (b),\tc\""), (Texts{"file", "a (b),\tc"}));
    EXPECT_EQ(Tokens("a\"b,c\" d"), (Texts{"a\"b,c\"", "d"}));
    EXPECT_TRUE(Tokens("").empty());
    EXPECT_EQ(Tokens("\"\""), (Texts{""}));
    EXPECT_EQ(Tokens("name \"open end"), (Texts{"name", "open end "}));
    EXPECT_EQ(Tokens("\""), (Texts{" "}));
}

TEST_F(ParserTest, AnyIndexIsSafe)
{
    Parser.Tokenize("scale 2");
    for (int32_t i : {-1, 2, std::numeric_limits<int32_t>::max()}) {
        EXPECT_EQ(Parser.GetToken(i), "");
        EXPECT_EQ(Parser.TokenAsInt(i), -1);
        EXPECT_EQ(Parser.TokenAsFloat(i), -1.0f);
        EXPECT_EQ(Parser.TokensAsVector(i).x, -1.0f);
    }
    EXPECT_EQ(Parser.TokensAsVector(std::numeric_limits<int32_t>::max()).z, -1.0f);
}

TEST_F(ParserTest, ReadsTokensAsValues)
{
    Parser.Tokenize("light TRUE 0.5 1 2");
    EXPECT_FALSE(Parser.TokenEquals(0, "Light"));
    EXPECT_TRUE(Parser.TokenAsBool(1));
    const Vector3 v = Parser.TokensAsVector(2);
    EXPECT_EQ(v.x, 0.5f);
    EXPECT_EQ(v.z, 2.0f);
    Parser.Tokenize("0." + std::string(253, '0') + "7");
    EXPECT_EQ(Parser.TokenAsFloat(0), 0.0f);
    // An indexed suffix needs the exact prefix and nothing but digits after it.
    Parser.Tokenize("texture2 texture Texture3 texture12x");
    EXPECT_EQ(Parser.IndexedSuffix(0, "texture"), 2);
    for (int32_t i : {1, 2, 3})
        EXPECT_EQ(Parser.IndexedSuffix(i, "texture"), -1) << Parser.GetToken(i);
    EXPECT_EQ(Parser.IndexedSuffixByte(1, "texture"), 255);
}

TEST_F(ParserTest, BlockMarkersStandAlone)
{
    const std::tuple<const char*, bool, bool> lines[] = {
        {"material {", true, false}, {"material { extra", false, false}, {"}", false, true}, {"} x", false, false}};
    for (const auto& [line, open, close] : lines) {
        Parser.Tokenize(line);
        EXPECT_EQ(Parser.IsBlockOpen(), open) << line;
        EXPECT_EQ(Parser.IsBlockClose(), close) << line;
    }
}
