// The extraction's uncertainty and the optimal extraction against the
// scatter of many noise realisations, noise-free frames and planted cosmic
// rays.
#include "StarFrame.h"

#include "reduce/ApertureSum.h"

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
