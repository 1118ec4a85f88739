// Sigma rejection in the sky and continuum fits.
#include "numeric/Lst2Fit.h"
#include "numeric/Polynomial.h"
#include "numeric/SigmaReject.h"

#include "../support/TestSupport.h"

#include <cmath>
#include <random>

using namespace raylen;

namespace {

double rmsAgainst(const std::vector<double>& a, const std::vector<double>& truth, double from, double to)
{
    double sum = 0;
    int n = 0;
    for (double x = from; x <= to; x += 1.0, ++n) {
        double d = polynomialValue(a, x) - polynomialValue(truth, x);
        sum += d * d;
    }
    return std::sqrt(sum / n);
}

} // namespace

TEST(SigmaReject, SkyWithThreeCosmicRays)
{
    std::mt19937 random(11);
    const double noise = 3.0;
    std::normal_distribution<double> gauss(0.0, noise);
    const std::vector<double> truth = {120.0, 0.8};
    std::vector<float> x, y;
    for (int offset = -25; offset <= 25; ++offset) {
        if (std::abs(offset) < 10)
            continue;
        x.push_back(static_cast<float>(offset));
        y.push_back(static_cast<float>(polynomialValue(truth, offset) + gauss(random)));
    }
    std::vector<float> clean = y;
    y[3] += 900.0f;
    y[17] += 2500.0f;
    y[25] += 600.0f;
    std::vector<double> withCosmics, rejected, truthFit;
    ASSERT_EQ(sfLst2FitReject(x, y, 1, {}, withCosmics), "");
    std::vector<char> flags;
    ASSERT_EQ(sfLst2FitReject(x, y, 1, {3, 3, 5}, rejected, &flags), "");
    ASSERT_EQ(sfLst2Fit(x, clean, 1, truthFit), "");
    // Within the noise of the clean fit; without rejection far off.
    EXPECT_LT(rmsAgainst(rejected, truth, -25, 25), noise);
    EXPECT_LT(rmsAgainst(rejected, truthFit, -25, 25), 0.5 * noise);
    EXPECT_GT(rmsAgainst(withCosmics, truth, -25, 25), 30 * noise);
    EXPECT_TRUE(flags[3] && flags[17] && flags[25]);
    int count = 0;
    for (char f : flags)
        count += f;
    EXPECT_LE(count, 5);
}

TEST(SigmaReject, ContinuumWithADeepAbsorptionLine)
{
    std::mt19937 random(5);
    const double noise = 0.01;
    std::normal_distribution<double> gauss(0.0, noise);
    const std::vector<double> truth = {1.0, 2e-4, -1e-7};
    std::vector<float> x, y, clean;
    for (int i = 0; i < 1000; i += 2) {
        double c = polynomialValue(truth, i) + gauss(random);
        x.push_back(static_cast<float>(i));
        clean.push_back(static_cast<float>(c));
        y.push_back(static_cast<float>(c * (1.0 - 0.8 * std::exp(-0.5 * std::pow((i - 600.0) / 6.0, 2)))));
    }
    std::vector<double> off, on, cleanFit;
    ASSERT_EQ(sfLst2FitReject(x, y, 3, {}, off), "");
    ASSERT_EQ(sfLst2FitReject(x, y, 3, {2.5, 3, 10}, on), "");
    ASSERT_EQ(sfLst2Fit(x, clean, 3, cleanFit), "");
    EXPECT_LT(rmsAgainst(on, cleanFit, 0, 998), 0.2 * noise);
    EXPECT_GT(rmsAgainst(off, cleanFit, 0, 998), 0.3 * noise);
}

TEST(SigmaReject, OffIsThePlainFitAndOptionsParse)
{
    std::vector<float> x{0, 1, 2, 3, 4}, y{1, 3, 2, 5, 4};
    std::vector<double> plain, viaReject;
    ASSERT_EQ(sfLst2Fit(x, y, 1, plain), "");
    ASSERT_EQ(sfLst2FitReject(x, y, 1, {}, viaReject), "");
    EXPECT_EQ(plain, viaReject);
    RejectOptions o;
    ASSERT_TRUE(parseRejectOptions("2.5:3", o));
    EXPECT_EQ(o.low, 2.5);
    EXPECT_EQ(o.high, 3.0);
    EXPECT_EQ(o.iterations, defaultRejectIterations);
    ASSERT_TRUE(parseRejectOptions("0:4:2", o));
    EXPECT_EQ(o.iterations, 2);
    EXPECT_FALSE(parseRejectOptions("3", o));
    EXPECT_FALSE(parseRejectOptions("-1:3", o));
    EXPECT_FALSE(parseRejectOptions("3:3:0", o));
    EXPECT_FALSE(parseRejectOptions("3:3:x", o));
    // The fit never drops below order + 1 points.
    std::vector<float> few{0, 1}, fy{0, 100};
    std::vector<double> a;
    std::vector<char> flags;
    ASSERT_EQ(sfLst2FitReject(few, fy, 1, {0.1, 0.1, 5}, a, &flags), "");
    EXPECT_EQ(flags, (std::vector<char>{0, 0}));
}
