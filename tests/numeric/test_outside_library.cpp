// The outside library through the core's binding: byte order, the Gaussian
// fit against the truth and scipy.optimize.curve_fit, and the error
// reports of a missing library or entry point.
#include "numeric/OutsideLibrary.h"

#include "PythonReference.h"
#include "platform/BasicError.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using namespace raylen;

namespace {

struct Gaussian {
    double a, b, c, d;
    double at(double x) const { return a * std::exp(-b * (x - c) * (x - c)) + d; }
};

struct Fit {
    int32_t status;
    Gaussian p;
};

Fit fit(const std::vector<float>& x, const std::vector<float>& y, double initB, double scaleB, double initC,
        double scaleC)
{
    Fit f{};
    f.status = VB_iGaussfit(x.data(), y.data(), int32_t(x.size()), initB, scaleB, initC, scaleC, f.p.a, f.p.b, f.p.c,
                            f.p.d);
    return f;
}

// Seeded normal deviates (Box-Muller on a 64-bit LCG).
struct Normal {
    uint64_t state;
    double uniform()
    {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return (static_cast<double>(state >> 11) + 0.5) / 9007199254740992.0;
    }
    double next() { return std::sqrt(-2.0 * std::log(uniform())) * std::cos(2.0 * M_PI * uniform()); }
};

struct Line {
    std::vector<float> x, y;
};

Line noisyLine(const Gaussian& truth, double from, double step, int count, double sigma, uint64_t seed)
{
    Line l;
    Normal noise{seed};
    for (int i = 0; i < count; ++i) {
        const double x = from + step * i;
        l.x.push_back(float(x));
        l.y.push_back(float(truth.at(x) + sigma * noise.next()));
    }
    return l;
}

// scipy's parameters and standard errors for the same points.
std::vector<double> scipyFit(const Line& l, const Gaussian& start)
{
    std::string input;
    for (size_t i = 0; i < l.x.size(); ++i)
        input += testref::singleText(l.x[i]) + " " + testref::singleText(l.y[i]) + "\n";
    char args[200];
    std::snprintf(args, sizeof args, "%.17g %.17g %.17g %.17g", start.a, start.b, start.c, start.d);
    return testref::runReference("gauss", args, input);
}

// Our fit reaches scipy's minimum, and both lie within their statistical
// errors of the truth (four standard errors).
void expectLikeScipy(const Line& l, const Fit& ours, const Gaussian& truth)
{
    ASSERT_EQ(ours.status, 0);
    const std::vector<double> ref = scipyFit(l, truth);
    ASSERT_EQ(ref.size(), 8u) << "scipy reference failed";
    const double ours4[] = {ours.p.a, ours.p.b, ours.p.c, ours.p.d};
    const double truth4[] = {truth.a, truth.b, truth.c, truth.d};
    for (int k = 0; k < 4; ++k) {
        const double error = ref[4 + k];
        EXPECT_NEAR(ours4[k], ref[k], 1e-3 * error) << "parameter " << k;
        EXPECT_NEAR(ours4[k], truth4[k], 4.0 * error) << "parameter " << k;
    }
}

} // namespace

TEST(ByteOrder, SwapsInPlaceAndTwiceRestores)
{
    int16_t shorts[] = {0x0102, -2, 0x7f00};
    VB_ffswap2(shorts, 3);
    EXPECT_EQ(uint16_t(shorts[0]), 0x0201);
    EXPECT_EQ(uint16_t(shorts[1]), 0xfeff);
    EXPECT_EQ(uint16_t(shorts[2]), 0x007f);
    VB_ffswap2(shorts, 3);
    EXPECT_EQ(shorts[0], 0x0102);
    EXPECT_EQ(shorts[1], -2);

    float floats[] = {1.0f, -2.5f};
    const unsigned char bigEndianOne[] = {0x3f, 0x80, 0x00, 0x00};
    VB_ffswap4(floats, 2);
    EXPECT_EQ(0, std::memcmp(&floats[0], bigEndianOne, 4));
    VB_ffswap4(floats, 2);
    EXPECT_EQ(floats[0], 1.0f);
    EXPECT_EQ(floats[1], -2.5f);

    int32_t longs[] = {0x01020304, 7};
    VB_ffswap4Lng(longs, 1); // only the count given is touched
    EXPECT_EQ(longs[0], 0x04030201);
    EXPECT_EQ(longs[1], 7);

    VB_ffswap2(shorts, 0);
    VB_ffswap4(floats, 0);
    VB_ffswap4Lng(longs, 0);
    EXPECT_EQ(shorts[0], 0x0102);
    EXPECT_EQ(floats[0], 1.0f);
    EXPECT_EQ(longs[0], 0x04030201);
}

TEST(ByteOrder, MissingLibraryOrEntryPointIsTheCallersErrorReport)
{
    int16_t v = 1;
    setOutsideLibraryPath("/nonexistent/libraylen.so");
    EXPECT_EQ(platform::trapErrors("sfOpenFits", [&] { VB_ffswap2(&v, 1); }),
              "sfOpenFits, 48" + platform::errorDescription(48));
    // A library that exists but lacks the routine.
    setOutsideLibraryPath("libm.so.6");
    double a, b, c, d;
    EXPECT_EQ(platform::trapErrors("sfGaussFit", [&] { VB_iGaussfit(nullptr, nullptr, 0, 1, 1, 1, 1, a, b, c, d); }),
              "sfGaussFit, 453" + platform::errorDescription(453));
    EXPECT_EQ(v, 1);
    setOutsideLibraryPath(nullptr);
    VB_ffswap2(&v, 1);
    EXPECT_EQ(v, 0x0100);
}

TEST(GaussianFit, ExactSamplesGiveTheirParameters)
{
    const Gaussian truth{2, 0.5, 3, 1};
    std::vector<float> x, y;
    for (int i = 1; i <= 5; ++i) {
        x.push_back(float(i));
        y.push_back(float(truth.at(i)));
    }
    // Started as the line fit does (B = 1/w², w a full width guess) and as
    // the identification does (the half width typed in the dialog as B).
    for (const auto& start : {Fit{0, {0, 1.0 / 6.25, 0, 0}}, Fit{0, {0, 3.0, 3, 0}}, Fit{0, {0, 0.02, 3.4, 0}}}) {
        const double initC = start.p.c == 0 ? 3.3 : start.p.c;
        const Fit f = fit(x, y, start.p.b, start.p.b / 10, initC, initC / 10);
        EXPECT_EQ(f.status, 0);
        EXPECT_NEAR(f.p.a, 2.0, 1e-5);
        EXPECT_NEAR(f.p.b, 0.5, 1e-5);
        EXPECT_NEAR(f.p.c, 3.0, 1e-5);
        EXPECT_NEAR(f.p.d, 1.0, 1e-5);
    }
}

TEST(GaussianFit, NoisyEmissionLineOverWavelengths)
{
    // Hα-like line, σ = 2.5 Å, on a continuum of 100 with noise 3.
    const Gaussian truth{45, 1.0 / (2 * 2.5 * 2.5), 6562.8, 100};
    for (uint64_t seed : {1u, 2u, 3u}) {
        const Line l = noisyLine(truth, 6545, 1.0, 36, 3.0, seed);
        const double w = 5.0; // full width read off the plot
        const Fit f = fit(l.x, l.y, 1 / (w * w), 1 / (w * w) / 10, 6562.0, 656.2);
        SCOPED_TRACE(seed);
        expectLikeScipy(l, f, truth);
    }
}

TEST(GaussianFit, NoisyAbsorptionLineOverPixels)
{
    const Gaussian truth{-38, 1.0 / (2 * 1.8 * 1.8), 17.3, 120};
    for (uint64_t seed : {11u, 12u, 13u}) {
        const Line l = noisyLine(truth, 0, 1.0, 36, 4.0, seed);
        SCOPED_TRACE(seed);
        // The identification's start: the dialog's half width as B, the
        // pixel of the chosen peak as C.
        expectLikeScipy(l, fit(l.x, l.y, 3.0, 0.2, 17.0, 0.1), truth);
        // The line fit's start from a rough full width of 6 pixels.
        expectLikeScipy(l, fit(l.x, l.y, 1.0 / 36, 1.0 / 360, 18.0, 1.8), truth);
    }
}

TEST(GaussianFit, ConvergesFromTheCallersStartsOnManyNoisyLines)
{
    // Lines with a signal-to-noise of about ten at the peak, started as the
    // identification starts them (B = 3, C at the nearest pixel) and as the
    // line fit does from a width guess 60 % too large. A fit that settles on
    // a spike through one sample or on the continuum fails these bounds.
    int failures = 0;
    for (uint64_t seed = 100; seed < 160; ++seed) {
        const double sign = seed % 2 ? 1.0 : -1.0;
        const double sigma = 1.5 + 0.05 * double(seed % 20);
        const Gaussian truth{sign * 40.0, 1.0 / (2 * sigma * sigma), 14.0 + 0.1 * double(seed % 10), 200};
        const Line l = noisyLine(truth, 0, 1.0, 30, 4.0, seed);
        const double fullWidth = 2.3548 * sigma * 1.6;
        for (const Fit& f : {fit(l.x, l.y, 3.0, 0.2, std::round(truth.c), 0.1),
                             fit(l.x, l.y, 1 / (fullWidth * fullWidth), 0.1 / (fullWidth * fullWidth), truth.c + 0.8,
                                 (truth.c + 0.8) / 10)}) {
            const bool good = f.status == 0 && std::fabs(f.p.c - truth.c) < 0.5 &&
                              std::fabs(f.p.b / truth.b - 1.0) < 0.5 && std::fabs(f.p.a / truth.a - 1.0) < 0.3;
            failures += good ? 0 : 1;
            EXPECT_TRUE(good) << "seed " << seed << ": A " << f.p.a << " B " << f.p.b << " C " << f.p.c << " D "
                              << f.p.d << " status " << f.status;
        }
    }
    EXPECT_EQ(failures, 0);
}

TEST(GaussianFit, LongWindowsAsTheLineFitPassesThem)
{
    // A whole spectrum of 10000 samples around one absorption line, and a
    // 401-pixel window, started from a full width read off 40 % too large
    // and a centre a little beside the line.
    const Gaussian wide{-40, 1.0 / (2 * 3.0 * 3.0), 6562.8, 100};
    const Line spectrum = noisyLine(wide, 4000, 0.5, 10000, 2.0, 21);
    double w = 2.3548 * 3.0 * 1.4;
    expectLikeScipy(spectrum, fit(spectrum.x, spectrum.y, 1 / (w * w), 0.1 / (w * w), 6562.0, 656.2), wide);

    const Gaussian window{-35, 1.0 / (2 * 4.0 * 4.0), 200.3, 120};
    const Line pixels = noisyLine(window, 0, 1.0, 401, 3.0, 22);
    w = 2.3548 * 4.0 * 1.4;
    expectLikeScipy(pixels, fit(pixels.x, pixels.y, 1 / (w * w), 0.1 / (w * w), 201.0, 20.1), window);
}

TEST(GaussianFit, NineSampleEmissionLinesAsTheIdentificationPassesThem)
{
    // The identification fits the few pixels around a lamp line, started
    // from the dialog's half width as B and the peak pixel as C.
    for (uint64_t seed : {31u, 32u, 33u, 34u}) {
        const Gaussian truth{60, 1.0 / (2 * 1.5 * 1.5), 14.2 + 0.1 * double(seed % 3), 200};
        const Line l = noisyLine(truth, 10, 1.0, 9, 2.0, seed);
        SCOPED_TRACE(seed);
        expectLikeScipy(l, fit(l.x, l.y, 3.0, 0.2, 14.0, 0.1), truth);
    }
}

TEST(GaussianFit, PoorCentreGuessStillFindsTheLine)
{
    // The caller's centre lies four to six standard deviations beside the line, where
    // its own start settles on the noise or the continuum; the starts read
    // off the data must still find the line scipy finds from the truth.
    int scipyMissedFromThatStart = 0;
    for (uint64_t seed = 41; seed < 47; ++seed) {
        const double sign = seed % 2 ? 1.0 : -1.0;
        const double sigma = 2.0;
        const Gaussian truth{sign * 30.0, 1.0 / (2 * sigma * sigma), 40.0, 150};
        const Line l = noisyLine(truth, 0, 1.0, 80, 3.0, seed);
        const double offset = sigma * (4.0 + double(seed % 3));
        const double w = 2.3548 * sigma;
        const double initC = truth.c + (seed % 4 < 2 ? offset : -offset);
        SCOPED_TRACE(seed);
        expectLikeScipy(l, fit(l.x, l.y, 1 / (w * w), 0.1 / (w * w), initC, initC / 10), truth);
        // The same start handed to scipy, as the library's first start is
        // built: the sample nearest the centre gives the height.
        size_t nearest = size_t(std::lround(initC));
        const std::vector<double> from = scipyFit(l, {l.y[nearest] - truth.d, 1 / (w * w), initC, truth.d});
        if (from.size() != 8 || std::fabs(from[2] - truth.c) > 1.0)
            ++scipyMissedFromThatStart;
    }
    // The cases are hard: a single start misses the line in most of them.
    EXPECT_GE(scipyMissedFromThatStart, 3);
}
