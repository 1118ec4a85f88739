#include "platform/BasicError.h"
#include "platform/BasicRuntime.h"
#include "platform/Format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

using namespace platform;

TEST(LeadingNumber, ReadsSignDigitsPointAndExponent)
{
    EXPECT_DOUBLE_EQ(leadingNumber("  12.5 3.0"), 12.5);
    EXPECT_DOUBLE_EQ(leadingNumber("-3.25abc"), -3.25);
    EXPECT_DOUBLE_EQ(leadingNumber("1.5E-01"), 0.15);
    EXPECT_DOUBLE_EQ(leadingNumber("2e3x"), 2000.0);
    EXPECT_DOUBLE_EQ(leadingNumber("7e"), 7.0);
    EXPECT_DOUBLE_EQ(leadingNumber(".5"), 0.5);
    EXPECT_DOUBLE_EQ(leadingNumber("abc"), 0.0);
    EXPECT_DOUBLE_EQ(leadingNumber(""), 0.0);
    EXPECT_DOUBLE_EQ(leadingNumber("-"), 0.0);
    EXPECT_DOUBLE_EQ(leadingNumber("                 -32"), -32.0);
}

TEST(IntegerConversion, HalvesToEvenAndOverflow)
{
    EXPECT_EQ(toInteger(2.5), 2);
    EXPECT_EQ(toInteger(3.5), 4);
    EXPECT_EQ(toInteger(-2.5), -2);
    EXPECT_EQ(toInteger(12.7), 13);
    EXPECT_EQ(toInteger(32767.4), 32767);
    EXPECT_EQ(toInteger(-32768.0), -32768);
    try {
        toInteger(40000);
        FAIL();
    } catch (const BasicError& e) {
        EXPECT_EQ(e.number(), 6);
    }
    EXPECT_THROW(toInteger(32767.5), BasicError);
    EXPECT_THROW(toInteger(std::numeric_limits<double>::quiet_NaN()), BasicError);
    EXPECT_EQ(toLong(2147483647.0), 2147483647);
    EXPECT_THROW(toLong(2147483648.0), BasicError);
    EXPECT_THROW(checkedDivide(1, 0), BasicError);
    EXPECT_THROW(checkedMul32(65536, 65536), BasicError);
}

TEST(ErrorTrap, NameNumberAndDescriptionWithoutSeparator)
{
    std::string message = trapErrors("sfLst2Fit", [] { checkedDivide(1.0, 0.0); });
    EXPECT_EQ(message, "sfLst2Fit, 110 で除算しました。");
    EXPECT_EQ(trapErrors("sfApply", [] { toInteger(1e6); }), "sfApply, 6オーバーフローしました。");
    EXPECT_EQ(trapErrors("x", [] { return std::string("plain"); }), "plain");
    EXPECT_EQ(trapErrors("x", [] {}), "");
    EXPECT_EQ(errorDescription(9), "インデックスが有効範囲にありません。");
}

TEST(Format, FixedPlaceholdersRoundHalfAwayFromZero)
{
    EXPECT_EQ(Format(12.7, "0"), "13");
    EXPECT_EQ(Format(2.5, "0"), "3");
    EXPECT_EQ(Format(-2.5, "0"), "-3");
    EXPECT_EQ(Format(195, "0"), "195");
    EXPECT_EQ(Format(123.456f, "0.0"), "123.5");
    EXPECT_EQ(Format(0.05, "0.0"), "0.1");
    EXPECT_EQ(Format(2.675, "0.00"), "2.68");
    EXPECT_EQ(Format(1.0, "0.00000"), "1.00000");
    EXPECT_EQ(Format(3.14159265358979, "0.000000000000"), "3.141592653590");
    EXPECT_EQ(Format(9.96, "0.0"), "10.0");
    EXPECT_EQ(Format(0.999, "0"), "1");
}

TEST(Format, OptionalDigits)
{
    EXPECT_EQ(Format(0, "#"), "");
    EXPECT_EQ(Format(9, "#"), "9");
    EXPECT_EQ(Format(0, "0.0#########"), "0.0");
    EXPECT_EQ(Format(1.25, "0.0#########"), "1.25");
    EXPECT_EQ(Format(1.0 / 3.0, "0.0#########"), "0.3333333333");
    EXPECT_EQ(Format(5, "######0.0#"), "5.0");
    EXPECT_EQ(Format(6562.817, "######0.0#"), "6562.82");
    EXPECT_EQ(Format(-0.125, "0.0####"), "-0.125");
    EXPECT_EQ(Format(1.5, "#.##"), "1.5");
    EXPECT_EQ(Format(1, "#.##"), "1.");
    EXPECT_EQ(Format(1234567.891, "#,##0.00"), "1,234,567.89");
}

TEST(Format, Exponent)
{
    EXPECT_EQ(Format(2.5e-15, "0.0#####E+0"), "2.5E-15");
    EXPECT_EQ(Format(12345, "0.0#####E+0"), "1.2345E+4");
    EXPECT_EQ(Format(1, "0.0#####E+0"), "1.0E+0");
    EXPECT_EQ(Format(-0.000123456789, "0.0#####E+0"), "-1.234568E-4");
    EXPECT_EQ(Format(9.9999999, "0.0#####E+0"), "1.0E+1");
    EXPECT_EQ(Format(12345, "#.####E+0"), "1.2345E+4");
    EXPECT_EQ(Format(10000, "#.####E+0"), "1.E+4");
    EXPECT_EQ(Format(0.00123, "0.00E-00"), "1.23E-03");
    EXPECT_EQ(Format(1230, "0.00E-00"), "1.23E03");
}

TEST(Format, GeneralNumberAndDate)
{
    EXPECT_EQ(Format(0, "General Number"), "0");
    EXPECT_EQ(Format(6500, "General Number"), "6500");
    EXPECT_EQ(Format(-0.25, "General Number"), "-0.25");
    EXPECT_EQ(Format(0.1, "General Number"), "0.1");
    EXPECT_EQ(Format(0.000001, "General Number"), "0.000001");
    EXPECT_EQ(Format(1e15, "General Number"), "1E+15");
    EXPECT_EQ(Format(123456789012345.0, "General Number"), "123456789012345");
    EXPECT_EQ(Format(2.5e-15, "General Number"), "2.5E-15");
    EXPECT_EQ(Format(1.0 / 3.0, "General Number"), "0.333333333333333");
    // OLE date 45000 is 2023-03-15; .5 is noon.
    EXPECT_EQ(Format(45000.5, "General Date"), "2023/03/15 12:00:00");
    EXPECT_EQ(Format(45000, "General Date"), "2023/03/15");
    EXPECT_EQ(Format(0.75, "General Date"), "18:00:00");
    EXPECT_EQ(Format(1, "General Date"), "1899/12/31");
    EXPECT_EQ(Format(-1, "General Date"), "1899/12/29");
}

TEST(SingleText, ShortestRoundTripLocaleFree)
{
    EXPECT_EQ(singleToText(6560.0f), "6560");
    EXPECT_EQ(singleToText(0.5f), "0.5");
    EXPECT_EQ(singleToText(1.5e-15f), "1.5E-15");
    EXPECT_EQ(singleToText(0.1f), "0.1");
    EXPECT_EQ(singleToText(-123.456f), "-123.456");
    EXPECT_EQ(singleToText(1e7f), "1E+07");
    EXPECT_EQ(singleToText(9999999.0f), "9999999");
    EXPECT_EQ(singleToText(0.00001f), "0.00001");
    EXPECT_EQ(singleToText(3.4028235e38f), "3.4028235E+38");
    EXPECT_EQ(singleToText(0.0f), "0");
    EXPECT_EQ(singleToText(-0.0f), "-0");
    // Every text reads back to the same float.
    unsigned seed = 12345;
    for (int i = 0; i < 20000; ++i) {
        seed = seed * 1103515245u + 12345u;
        uint32_t bits = seed ^ (seed >> 7) * 2654435761u;
        float value;
        std::memcpy(&value, &bits, 4);
        if (!std::isfinite(value))
            continue;
        std::string text = singleToText(value);
        EXPECT_EQ(std::strtof(text.c_str(), nullptr), value) << text;
    }
}
