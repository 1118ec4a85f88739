// Sigma rejection in the sky and continuum fits.
#include "numeric/Lst2Fit.h"
#include "numeric/Polynomial.h"
#include "numeric/SigmaReject.h"
#include "reduce/ApertureSum.h"
#include "reduce/Normalize.h"

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

TEST(SigmaReject, SkyFitWithThreeCosmicRays)
{
    std::mt19937 random(11);
    const double noise = 3.0;
    std::normal_distribution<double> gauss(0.0, noise);
    const int centre = 60;
    const std::vector<double> truth = {120.0, 0.8}; // in rows from the centre
    SingleImage image(4, 120), clean(4, 120);
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 4; ++x)
            clean.at(x, y) = image.at(x, y) = static_cast<float>(polynomialValue(truth, y - centre) + gauss(random));
    image.at(2, centre - 22) += 900.0f;
    image.at(2, centre - 13) += 2500.0f;
    image.at(2, centre + 18) += 600.0f;
    ScanParam p;
    dsInitScanParam(p);
    p.intSkyStart1 = -25;
    p.intSkyEnd1 = -10;
    p.intSkyStart2 = 10;
    p.intSkyEnd2 = 25;
    p.intSkyFitOrder = 1;
    SkyPolynomial off, on, offClean, offOther, onOther;
    ASSERT_EQ(SkyFitter(p).fit(image, 2, centre, off), "");
    ASSERT_EQ(SkyFitter(p, {3, 3, 5}).fit(image, 2, centre, on), "");
    ASSERT_EQ(SkyFitter(p).fit(clean, 2, centre, offClean), "");
    auto rms = [&](const SkyPolynomial& a, const SkyPolynomial& b) {
        double sum = 0;
        for (int r = -25; r <= 25; ++r)
            sum += std::pow(a(centre + r) - b(centre + r), 2);
        return std::sqrt(sum / 51);
    };
    // The clean fit's own scatter is about noise / sqrt(32).
    EXPECT_LT(rms(on, offClean), noise / 2);
    EXPECT_GT(rms(off, offClean), 30 * noise);
    // A column without cosmic rays: rejection on or off, the same sky
    // within rounding (the shared projection and a direct fit).
    ASSERT_EQ(SkyFitter(p).fit(image, 1, centre, offOther), "");
    ASSERT_EQ(SkyFitter(p, {5, 5, 5}).fit(image, 1, centre, onOther), "");
    EXPECT_LT(rms(offOther, onOther), 1e-4);
}

TEST(SigmaReject, ContinuumWithADeepAbsorptionLine)
{
    std::mt19937 random(5);
    const double noise = 0.01;
    std::normal_distribution<double> gauss(0.0, noise);
    const std::vector<double> truth = {1.0, 2e-4, -1e-7};
    std::vector<float> x, y, clean;
    std::vector<int32_t> region;
    for (int i = 0; i < 1000; i += 2) {
        region.push_back(i / 2);
        double c = polynomialValue(truth, i) + gauss(random);
        x.push_back(static_cast<float>(i));
        clean.push_back(static_cast<float>(c));
        y.push_back(static_cast<float>(c * (1.0 - 0.8 * std::exp(-0.5 * std::pow((i - 600.0) / 6.0, 2)))));
    }
    std::vector<double> off, on, cleanFit;
    std::vector<char> flags;
    ASSERT_EQ(sfContinuumFit(x, y, region, 3, off), "");
    ASSERT_EQ(sfContinuumFit(x, y, region, 3, on, {2.5, 3, 10}, &flags), "");
    ASSERT_EQ(sfLst2Fit(x, clean, 3, cleanFit), "");
    EXPECT_LT(rmsAgainst(on, cleanFit, 0, 998), 0.2 * noise);
    EXPECT_GT(rmsAgainst(off, cleanFit, 0, 998), 0.3 * noise);
    // The line core is among the rejected points.
    EXPECT_TRUE(flags[300]);
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
