// The extraction's uncertainty and the optimal extraction against the
// scatter of many noise realisations, noise-free frames and planted cosmic
// rays.
#include "StarFrame.h"

#include "reduce/ApertureSum.h"
#include "reduce/SpectrumSteps.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace raylen;
using namespace sciencetest;

namespace {

double median(std::vector<double> v)
{
    std::nth_element(v.begin(), v.begin() + static_cast<long>(v.size() / 2), v.end());
    return v[v.size() / 2];
}

ExtractResult extract(const StarFrame& s, const SingleImage& image, int16_t width, bool sky, bool optimal)
{
    ExtractResult r;
    NullSpectrumView plotter;
    EXPECT_EQ(sfScanDataPro(apertureOf(s, width, sky), image, optionsOf(s, optimal), r, plotter), "");
    return r;
}

// Reported uncertainty over the scatter seen, per column, over realisations.
double calibration(const StarFrame& s, int16_t width, bool optimal, int realisations)
{
    std::mt19937 random(11);
    std::vector<std::vector<double>> values(static_cast<size_t>(s.width));
    std::vector<double> reported;
    for (int k = 0; k < realisations; ++k) {
        const ExtractResult r = extract(s, makeStar(s, &random), width, true, optimal);
        for (size_t c = 0; c < r.y.size(); ++c) {
            values[c].push_back(r.y[c]);
            reported.push_back(r.sigma[c]);
        }
    }
    std::vector<double> scatter;
    for (const auto& v : values) {
        double mean = 0, ss = 0;
        for (double y : v)
            mean += y / static_cast<double>(v.size());
        for (double y : v)
            ss += (y - mean) * (y - mean);
        scatter.push_back(std::sqrt(ss / static_cast<double>(v.size() - 1)));
    }
    return median(reported) / median(scatter);
}

} // namespace

TEST(ExtractUncertainty, RowWeightsReproduceTheApertureSum)
{
    StarFrame s;
    s.slope = 0.013;
    const SingleImage image = makeStar(s);
    const ScanParam p = apertureOf(s, 7, false);
    for (int x : {0, 37, 199}) {
        const float c = static_cast<float>(centreAt(s, x));
        float sum = 0;
        ASSERT_EQ(sfIntegData(p, image, x, c, sum), "");
        const RowWeights rw = apertureRowWeights(apertureAround(7, c));
        double weighted = 0;
        for (size_t i = 0; i < rw.weights.size(); ++i)
            weighted += rw.weights[i] * image(x, rw.firstRow + static_cast<int32_t>(i));
        EXPECT_NEAR(weighted, sum, 1e-5 * sum) << x;
    }
}

TEST(ExtractUncertainty, MatchesTheScatterOfSixtyRealisations)
{
    StarFrame s;
    s.width = 80;
    s.slope = 0.02;
    EXPECT_NEAR(calibration(s, 10, false, 60), 1.0, 0.1);
    EXPECT_NEAR(calibration(s, 10, true, 60), 1.0, 0.1);
}

TEST(OptimalExtract, NoiseFreeFramesGiveTheBoxSum)
{
    for (double slope : {0.0, 0.011, -0.047}) {
        StarFrame s;
        s.slope = slope;
        s.sky = 25;
        const SingleImage image = makeStar(s);
        for (int16_t width : {8, 14}) {
            const ExtractResult box = extract(s, image, width, true, false);
            const ExtractResult optimal = extract(s, image, width, true, true);
            for (size_t c = 0; c < box.y.size(); ++c)
                ASSERT_NEAR(optimal.y[c], box.y[c], 0.005 * box.y[c]) << slope << " " << width << " " << c;
            EXPECT_EQ(optimal.rejectedPixels, 0u);
        }
    }
}

TEST(OptimalExtract, FaintStarGainsSignalToNoiseInAWideAperture)
{
    // Background limited: 300 counts a column under 200 counts a pixel of
    // sky, the aperture ±3.5 σ.
    StarFrame s;
    s.width = 400;
    s.flux = 300;
    s.sky = 200;
    s.slope = 0.004;
    const SingleImage truthFrame = makeStar(s);
    const double truth = extract(s, truthFrame, 14, true, false).y[200];
    std::mt19937 random(5);
    std::vector<double> ratio, meanBox, meanOptimal;
    for (int k = 0; k < 5; ++k) {
        const SingleImage image = makeStar(s, &random);
        const ExtractResult box = extract(s, image, 14, true, false);
        const ExtractResult optimal = extract(s, image, 14, true, true);
        auto snr = [&](const std::vector<float>& y, double& mean) {
            double ss = 0;
            mean = 0;
            for (float v : y)
                mean += v / static_cast<double>(y.size());
            for (float v : y)
                ss += (v - mean) * (v - mean);
            return mean / std::sqrt(ss / static_cast<double>(y.size() - 1));
        };
        double mb = 0, mo = 0;
        ratio.push_back(snr(optimal.y, mo) / snr(box.y, mb));
        meanBox.push_back(mb);
        meanOptimal.push_back(mo);
    }
    double mb = 0, mo = 0;
    for (size_t k = 0; k < ratio.size(); ++k) {
        mb += meanBox[k] / 5;
        mo += meanOptimal[k] / 5;
    }
    EXPECT_GE(median(ratio), 1.2);
    EXPECT_NEAR(mo, mb, 0.02 * truth);
    EXPECT_NEAR(mo, truth, 0.02 * truth);
}

TEST(OptimalExtract, CosmicRaysInTheApertureAreRejected)
{
    StarFrame s;
    s.width = 300;
    s.slope = 0.01;
    std::mt19937 random(3);
    const SingleImage clean = makeStar(s, &random);
    SingleImage hit = clean;
    std::uniform_int_distribution<int> column(0, s.width - 1), row(-4, 4);
    std::uniform_real_distribution<double> energy(200, 5000);
    for (int k = 0; k < 100; ++k) {
        const int x = column(random);
        hit(x, static_cast<int32_t>(std::lround(centreAt(s, x))) + row(random)) += static_cast<float>(energy(random));
    }
    const ExtractResult reference = extract(s, clean, 12, true, true);
    CollectingMarks marks;
    ExtractResult cleaned;
    ASSERT_EQ(sfScanDataPro(apertureOf(s, 12, true), hit, optionsOf(s, true), cleaned, marks), "");
    int within = 0;
    for (size_t c = 0; c < cleaned.y.size(); ++c)
        within += std::fabs(cleaned.y[c] - reference.y[c]) <= 4 * reference.sigma[c] ? 1 : 0;
    EXPECT_GE(within, static_cast<int>(0.99 * s.width));
    EXPECT_GE(cleaned.rejectedPixels, 90u);
    // The columns that lost pixels are marked as rejections are.
    EXPECT_EQ(marks.markedX.size(),
              static_cast<size_t>(std::count(cleaned.rejectedColumns.begin(), cleaned.rejectedColumns.end(), 1)));
    EXPECT_GT(marks.markedX.size(), 50u);
}

namespace {

// Median over points of (mean reported σ) / (scatter seen), each point's
// values and σ collected over the realisations.
double pointCalibration(const std::vector<std::vector<double>>& values, const std::vector<std::vector<double>>& sigmas)
{
    std::vector<double> ratio;
    for (size_t c = 0; c < values.size(); ++c) {
        const auto n = static_cast<double>(values[c].size());
        double mean = 0, ss = 0, reported = 0;
        for (double y : values[c])
            mean += y / n;
        for (double y : values[c])
            ss += (y - mean) * (y - mean);
        for (double e : sigmas[c])
            reported += e / n;
        ratio.push_back(reported / std::sqrt(ss / (n - 1)));
    }
    return median(ratio);
}

} // namespace

TEST(ExtractUncertainty, StaysCalibratedThroughDispcorFluxcalAndNormalize)
{
    StarFrame s;
    s.width = 80;
    s.slope = 0.02;
    // A curved dispersion resampled onto a linear grid (neighbouring points
    // share pixels), a sloped response, a continuum of order 2.
    DispersionSolution solution;
    solution.coefficients = {5000.0, 3.1, 0.004};
    solution.fileName = "lamp.dip";
    const LinearGrid grid{true, 2.7};
    const std::vector<float> sensX{4900.0f, 5400.0f}, sensY{1.0e3f, 3.0e3f};
    const std::vector<double> continuum{0.5, 2.0e-4, 1.0e-8};
    constexpr int realisations = 50;
    for (bool optimal : {false, true}) {
        std::vector<std::vector<std::vector<double>>> values(4), sigmas(4);
        std::mt19937 random(17);
        for (int k = 0; k < realisations; ++k) {
            const ExtractResult r = extract(s, makeStar(s, &random), 10, true, optimal);
            Spectrum steps[4];
            steps[0].x = r.x;
            steps[0].y = r.y;
            steps[0].sigma = r.sigma;
            steps[0].meta.xIsWavelength = false;
            std::optional<LinearScale> exact;
            NullSpectrumView none;
            ASSERT_EQ(dispcorSpectrum(steps[0], solution, grid, steps[1], exact, none), "");
            ASSERT_EQ(fluxcalSpectrum(steps[1], sensX, sensY, "", "night.sns", steps[2], none), "");
            ASSERT_EQ(normalizeSpectrum(steps[2], continuum, 2, steps[3], none), "");
            for (size_t step = 0; step < 4; ++step) {
                ASSERT_TRUE(steps[step].hasUncertainty()) << step;
                values[step].resize(steps[step].y.size());
                sigmas[step].resize(steps[step].y.size());
                for (size_t c = 0; c < steps[step].y.size(); ++c) {
                    values[step][c].push_back(steps[step].y[c]);
                    sigmas[step][c].push_back(steps[step].sigma[c]);
                }
            }
        }
        for (size_t step = 0; step < 4; ++step)
            EXPECT_NEAR(pointCalibration(values[step], sigmas[step]), 1.0, 0.1)
                << (optimal ? "optimal" : "box") << " after step " << step;
    }
}
