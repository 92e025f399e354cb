#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

#include "core/zot_convert.h"

TEST(ConvertInt, PadsAndReadsWholeIntegers)
{
    EXPECT_EQ(ZOTConvert::IntToStrPadded(2, 7), "07");
    EXPECT_EQ(ZOTConvert::IntToStrPadded(2, 123), "123");
    EXPECT_EQ(ZOTConvert::IntToStrPadded(3, -5), "0-5");
    EXPECT_EQ(ZOTConvert::StrToInt("+8"), 8);
    EXPECT_EQ(ZOTConvert::StrToInt("-2147483648"), std::numeric_limits<int32_t>::min());
    for (const char* bad : {"12a", "", "-", "+-1", " 1", "1.0", "2147483648"})
        EXPECT_EQ(ZOTConvert::StrToInt(bad), -1) << '"' << bad << '"';
}

TEST(ConvertFloat, WritesTwoDecimalsAndTenSignificantDigits)
{
    EXPECT_EQ(ZOTConvert::FloatToStr(3.14159f), "3.14");
    EXPECT_EQ(ZOTConvert::FloatToStr(-0.001f), "0.00");
    EXPECT_EQ(ZOTConvert::FloatToStr(12345678912.0f), "12345678850.00");
    EXPECT_EQ(ZOTConvert::FloatToStr(std::numeric_limits<float>::max()), "3.402823466e+38");
    EXPECT_EQ(ZOTConvert::FloatToStr(-std::numeric_limits<float>::infinity()), "-INF");
    EXPECT_EQ(ZOTConvert::FloatToStr(std::nanf("")), "NAN");
}

TEST(ConvertFloat, ReadsOnlyWholeDecimalNumbers)
{
    EXPECT_EQ(ZOTConvert::StrToFloat(".5"), 0.5f);
    EXPECT_EQ(ZOTConvert::StrToFloat("5."), 5.0f);
    EXPECT_EQ(ZOTConvert::StrToFloat("+2.5e2"), 250.0f);
    for (const char* bad : {"abc", "", ".", "1e", "1,5", "1 ", "inf", "nan", "1e50"})
        EXPECT_EQ(ZOTConvert::StrToFloat(bad), -1.0f) << '"' << bad << '"';
}

TEST(ConvertFloat, IgnoresACommaLocale)
{
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "locale de_DE.UTF-8 is not installed";
    const float read = ZOTConvert::StrToFloat("0.5");
    const std::string written = ZOTConvert::FloatToStr(1.25f);
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_EQ(read, 0.5f);
    EXPECT_EQ(written, "1.25");
}

TEST(ConvertText, OnlyUpperCaseTrueIsTrueAndColoursPackRoundedClampedBytes)
{
    EXPECT_TRUE(ZOTConvert::StrToBool("TRUE"));
    EXPECT_FALSE(ZOTConvert::StrToBool("true"));
    EXPECT_EQ(ZOTConvert::ColorToRGB(ZOTConvert::MakeColor(1.0f, 0.5f, 0.0f)), 33023);
    EXPECT_EQ(ZOTConvert::ColorToRGB(ZOTConvert::MakeColor(2.0f, -1.0f, std::nanf(""))), 255);
}
