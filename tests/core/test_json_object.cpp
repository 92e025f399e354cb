#include <gtest/gtest.h>

#include "core/json_object.h"

TEST(JsonObject, MembersKeepTheirOrderAndTextIsEscaped)
{
    JsonObject inner;
    inner.AddNumber("n", -3);
    JsonObject json;
    json.AddText("path", "models\\cat \"big\"\n\t\x01");
    json.AddRaw("inner", inner.Text());
    json.AddRaw("list", "[1,2]");
    EXPECT_EQ(json.Text(), "{\"path\":\"models\\\\cat \\\"big\\\"\\n\\t\\u0001\",\"inner\":{\"n\":-3},\"list\":[1,2]}");
    EXPECT_EQ(JsonObject().Text(), "{}");
}
