#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/zot_script.h"

TEST(ScriptLines, AppendCutsToFiftyFiveCharactersAndSetLineCountSizes)
{
    ZTScript list;
    ZOTScript::AppendLine(list, "texture grass");
    ZOTScript::AppendLine(list, std::string(60, 'x'));
    EXPECT_EQ(list.Last, 1);
    EXPECT_EQ(list.Lines, (std::vector<std::string>{"texture grass", std::string(55, 'x')}));
    ZOTScript::SetLineCount(list, 3);
    EXPECT_EQ(list.Last, 2);
    EXPECT_EQ(list.Lines.size(), 3u);
    ZOTScript::SetLineCount(list, 0);
    EXPECT_EQ(list.Last, -1);
    EXPECT_TRUE(list.Lines.empty());
}
