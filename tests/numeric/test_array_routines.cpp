// Image arithmetic, means, limits, interpolation and ordering.
#include "numeric/Mathmatics.h"

#include "platform/BasicError.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

using namespace raylen;

namespace {

SingleImage filled(int32_t lx, int32_t ux, int32_t ly, int32_t uy, float (*f)(int32_t, int32_t))
{
    SingleImage image;
    image.redim(lx, ux, ly, uy);
    for (int32_t y = ly; y <= uy; ++y)
        for (int32_t x = lx; x <= ux; ++x)
            image(x, y) = f(x, y);
    return image;
}

std::string trap(const char* procedure, int number)
{
    return std::string(procedure) + ", " + std::to_string(number) + platform::errorDescription(number);
}

} // namespace

TEST(ImageArithmetic, DivisionByValueInPlaceAndRefusingZero)
{
    SingleImage a = filled(-2, 3, 5, 7, [](int32_t x, int32_t y) { return float(x * 10 + y); });
    const SingleImage original = a;
    EXPECT_EQ(sfDivisionValue2D(a, 0.0f, a), "ゼロで割っています");
    EXPECT_EQ(0, std::memcmp(a.data(), original.data(), a.size() * sizeof(float)));

    ASSERT_EQ(sfDivisionValue2D(a, 4.0f, a), "");
    for (int32_t y = 5; y <= 7; ++y)
        for (int32_t x = -2; x <= 3; ++x)
            EXPECT_EQ(a(x, y), float(x * 10 + y) / 4.0f);

    // An output that does not cover the input is a subscript fault.
    SingleImage small(3, 3);
    EXPECT_EQ(sfDivisionValue2D(original, 2.0f, small), trap("sfDivisionValue2D", 9));
}

TEST(ImageArithmetic, SubtractionNeedsEqualBoundsAndMayWriteOverAnInput)
{
    SingleImage a(512, 512), b(512, 511);
    a(10, 10) = 7.0f;
    SingleImage c(512, 512);
    c(0, 0) = 99.0f;
    EXPECT_EQ(sfSubtractData2D(a, b, c), "配列数が違います");
    EXPECT_EQ(c(0, 0), 99.0f);

    SingleImage dark = filled(0, 4, 0, 2, [](int32_t x, int32_t y) { return float(x + y); });
    SingleImage object = filled(0, 4, 0, 2, [](int32_t x, int32_t y) { return float(100 * y + x * x); });
    ASSERT_EQ(sfSubtractData2D(object, dark, object), "");
    for (int32_t y = 0; y <= 2; ++y)
        for (int32_t x = 0; x <= 4; ++x)
            EXPECT_EQ(object(x, y), float(100 * y + x * x - x - y));

    // A larger output is written only inside the input's bounds.
    SingleImage wide(6, 4);
    wide(5, 3) = -1.0f;
    ASSERT_EQ(sfSubtractData2D(dark, dark, wide), "");
    EXPECT_EQ(wide(5, 3), -1.0f);
}

TEST(ImageArithmetic, FlatDivisionSubstitutesAtZerosWithoutError)
{
    SingleImage object = filled(0, 3, 0, 1, [](int32_t x, int32_t y) { return float(8 + x + y); });
    SingleImage flat = filled(0, 3, 0, 1, [](int32_t x, int32_t) { return x == 2 ? 0.0f : 2.0f; });
    ASSERT_EQ(sfDivisionData2D(object, flat, flat, 0.0f), "");
    EXPECT_EQ(flat(0, 0), 4.0f);
    EXPECT_EQ(flat(3, 1), 6.0f);
    EXPECT_EQ(flat(2, 0), 0.0f);
    EXPECT_EQ(flat(2, 1), 0.0f);

    SingleImage other(4, 3);
    EXPECT_EQ(sfDivisionData2D(object, other, object, 0.0f), "配列数が違います");
}

TEST(ImageArithmetic, BoundsBeyondSixteenBitCountersOverflowBeforeWriting)
{
    SingleImage a;
    a.redim(0, 40000, 0, 0);
    SingleImage out = a;
    out(0, 0) = 5.0f;
    EXPECT_EQ(sfDivisionValue2D(a, 2.0f, out), trap("sfDivisionValue2D", 6));
    EXPECT_EQ(out(0, 0), 5.0f);
    EXPECT_EQ(sfSubtractData2D(a, a, out), trap("sfSubtractData2D", 6));
}

TEST(Means, ExamplesAndDoubleAccumulation)
{
    float mean = -1.0f;
    SingleImage four = filled(0, 1, 0, 1, [](int32_t x, int32_t y) { return float(1 + x + 2 * y); });
    ASSERT_EQ(sfMean2D(four, mean), "");
    EXPECT_EQ(mean, 2.5f);
    ASSERT_EQ(sfMean1D({1.0f, 2.0f, 3.0f, 4.0f}, mean), "");
    EXPECT_EQ(mean, 2.5f);

    // 4 million pixels: a Single running sum would stall near 2^24 and be
    // far off; the double sum of A/N is exact to Single rounding.
    SingleImage big(2000, 2000);
    for (size_t i = 0; i < big.size(); ++i)
        big.data()[i] = 0.1f;
    big(1999, 1999) = 1e6f;
    ASSERT_EQ(sfMean2D(big, mean), "");
    const double expected = (3999999.0 * double(0.1f) + 1e6) / 4e6;
    EXPECT_NEAR(mean, expected, expected * 1e-7);

    EXPECT_EQ(sfMean2D(SingleImage(), mean), trap("sfMean2D", 9));
    EXPECT_EQ(sfMean1D({}, mean), trap("sfMean1D", 9));
}

TEST(MinMax, LimitsStartAtPlusMinusTenToTheTen)
{
    float lo = 0, hi = 0;
    SingleImage image = filled(3, 9, -4, 2, [](int32_t x, int32_t y) { return float(x * y); });
    ASSERT_EQ(sfMinMax2D(image, lo, hi), "");
    EXPECT_EQ(lo, -36.0f);
    EXPECT_EQ(hi, 18.0f);

    SingleImage huge = filled(0, 2, 0, 2, [](int32_t x, int32_t) { return 2e10f + float(x) * 1e9f; });
    ASSERT_EQ(sfMinMax2D(huge, lo, hi), "");
    EXPECT_EQ(lo, 1e10f);
    EXPECT_EQ(hi, 2.2e10f);

    SingleImage deep = filled(0, 2, 0, 0, [](int32_t x, int32_t) { return -5e10f + float(x); });
    ASSERT_EQ(sfMinMax2D(deep, lo, hi), "");
    EXPECT_EQ(lo, -5e10f);
    EXPECT_EQ(hi, -1e10f);

    EXPECT_EQ(sfMinMax2D(SingleImage(), lo, hi), trap("sfMinMax2D", 9));
}

TEST(LinearInterpolation, InsideOutsideAndAtKnots)
{
    const std::vector<float> x{1, 2, 4}, y{10, 20, 40};
    float y0 = -1;
    const std::pair<float, float> cases[] = {{3, 30}, {0, 0}, {5, 50}, {2, 20}, {1, 10}, {4, 40}, {1.5f, 15}};
    for (auto [at, expected] : cases) {
        ASSERT_EQ(sfLinearInterpolate(x, y, at, y0), "") << at;
        EXPECT_EQ(y0, expected) << at;
    }

    // At a point shared by two intervals the left one is used: the zero
    // width interval to its right is never reached.
    ASSERT_EQ(sfLinearInterpolate({1, 2, 2, 3}, {0, 10, 20, 30}, 2.0f, y0), "");
    EXPECT_EQ(y0, 10.0f);

    EXPECT_EQ(sfLinearInterpolate({2, 2, 3}, {1, 5, 7}, 2.0f, y0), "sfLinearInterpolate, 110 で除算しました。");
    EXPECT_EQ(sfLinearInterpolate({1}, {1}, 1.0f, y0), trap("sfLinearInterpolate", 9));
    EXPECT_EQ(sfLinearInterpolate(x, y, std::numeric_limits<float>::quiet_NaN(), y0),
              trap("sfLinearInterpolate", 9));
}

TEST(Ordering, DescendingListsAreReversedAndNothingElseMoves)
{
    std::vector<float> x{5, 4, 3, 2, 1}, y{0.5f, 0.4f, 0.3f, 0.2f, 0.1f};
    ASSERT_EQ(sfSortXY(x, y), "");
    EXPECT_EQ(x, (std::vector<float>{1, 2, 3, 4, 5}));
    EXPECT_EQ(y, (std::vector<float>{0.1f, 0.2f, 0.3f, 0.4f, 0.5f}));

    std::vector<float> notMonotonic{1, 5, 2}, yn{7, 8, 9};
    ASSERT_EQ(sfSortXY(notMonotonic, yn), "");
    EXPECT_EQ(notMonotonic, (std::vector<float>{1, 5, 2}));
    EXPECT_EQ(yn, (std::vector<float>{7, 8, 9}));

    std::vector<float> equalEnds{3, 1, 3}, ye{1, 2, 3};
    ASSERT_EQ(sfSortXY(equalEnds, ye), "");
    EXPECT_EQ(equalEnds, (std::vector<float>{3, 1, 3}));

    std::vector<float> shortY{1};
    EXPECT_EQ(sfSortXY(x, shortY), trap("sfSortXY", 9));

    std::vector<int32_t> regions{40, 12, 30, 7};
    ASSERT_EQ(sfSortX(regions), "");
    EXPECT_EQ(regions, (std::vector<int32_t>{7, 30, 12, 40}));
    std::vector<int32_t> ascending{1, 9, 4};
    ASSERT_EQ(sfSortX(ascending), "");
    EXPECT_EQ(ascending, (std::vector<int32_t>{1, 9, 4}));
    std::vector<int32_t> none;
    EXPECT_EQ(sfSortX(none), trap("sfSortX", 9));
}
