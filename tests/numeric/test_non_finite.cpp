// One NaN or infinite value in a spectrum: resampling and the Fourier
// transform keep it to the values it touches, and finite input is unchanged.
#include "numeric/Fft.h"
#include "numeric/Resample.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace raylen;

TEST(NonFinite, ResamplingSpoilsOnlyTheBinsOverTheBadPoint)
{
    // Points at 0 … 19 with a bad value at 7: its bin is 6.5 … 7.5.
    std::vector<float> x, y;
    for (int i = 0; i < 20; ++i) {
        x.push_back(static_cast<float>(i));
        y.push_back(static_cast<float>(3 + i % 4));
    }
    for (float bad : {std::nanf(""), HUGE_VALF}) {
        std::vector<float> spoilt = y;
        spoilt[7] = bad;
        const EvenScale scale{0.0, 0.75, 26};
        std::vector<float> outX, outY, cleanX, cleanY;
        ASSERT_EQ(resampleFlux(x, spoilt, scale, outX, outY), "");
        ASSERT_EQ(resampleFlux(x, y, scale, cleanX, cleanY), "");
        for (size_t j = 0; j < outY.size(); ++j) {
            const double lo = outX[j] - 0.375, hi = outX[j] + 0.375;
            if (hi > 6.5 && lo < 7.5) {
                EXPECT_EQ(std::isnan(outY[j]), std::isnan(bad)) << j;
                EXPECT_FALSE(std::isfinite(outY[j])) << j;
            } else {
                // Away from it the sums differ in rounding only.
                EXPECT_NEAR(outY[j], cleanY[j], 1e-5f * cleanY[j]) << j;
            }
        }
        EXPECT_TRUE(std::isnan(integrateFlux(x, spoilt, 6.0, 8.0)) == std::isnan(bad));
        EXPECT_NEAR(integrateFlux(x, spoilt, 8.0, 19.0), integrateFlux(x, y, 8.0, 19.0), 1e-9);
    }
}

TEST(NonFinite, FourierTransformBridgesBadPointsAndLeavesFiniteInputAlone)
{
    std::vector<float> line(17), zero(17, 0.0f);
    for (size_t i = 0; i < line.size(); ++i)
        line[i] = static_cast<float>(2 * i + 1);
    std::vector<float> re, im, cleanRe, cleanIm;
    int32_t n = 0;
    ASSERT_EQ(sfSngFFT(line, zero, 1.0, cleanRe, cleanIm, n), "");
    // A bad point inside a straight line is bridged back onto the line, and
    // bad ends take the nearest finite point.
    std::vector<float> spoilt = line;
    spoilt[5] = std::nanf("");
    spoilt[6] = -HUGE_VALF;
    ASSERT_EQ(sfSngFFT(spoilt, zero, 1.0, re, im, n), "");
    EXPECT_EQ(re, cleanRe);
    EXPECT_EQ(im, cleanIm);
    std::vector<float> ends(16, 4.0f), constant(16, 4.0f);
    ends[0] = ends[15] = std::nanf("");
    std::vector<float> endRe, endIm;
    ASSERT_EQ(sfSngFFT(ends, std::vector<float>(16, 0.0f), 1.0, endRe, endIm, n), "");
    ASSERT_EQ(sfSngFFT(constant, std::vector<float>(16, 0.0f), 1.0, re, im, n), "");
    EXPECT_EQ(endRe, re);
}
