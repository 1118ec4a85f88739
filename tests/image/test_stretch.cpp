// Display stretches, percentile limits and the zoom mapping, checked
// against numpy and against the mapping's own promises.
#include "../support/TestSupport.h"

#include "display/PercentileLimits.h"
#include "display/Stretch.h"
#include "display/ViewScale.h"

#include <cmath>
#include <limits>
#include <sstream>

using namespace raylen;
using testsupport::TempDir;

namespace {

constexpr int sampleWidth = 173, sampleHeight = 61;

// Values over several decades, some negative, with NaN and infinities.
SingleImage sampleImage()
{
    SingleImage image(sampleWidth, sampleHeight);
    uint32_t state = 12345;
    for (int y = 0; y < sampleHeight; ++y)
        for (int x = 0; x < sampleWidth; ++x) {
            state = state * 1664525u + 1013904223u;
            const double u = (state >> 8) / 16777216.0;
            image(x, y) = static_cast<float>(std::pow(10.0, 4.0 * u) - 50.0);
        }
    image(3, 4) = std::numeric_limits<float>::quiet_NaN();
    image(5, 6) = std::numeric_limits<float>::infinity();
    image(7, 8) = -std::numeric_limits<float>::infinity();
    return image;
}

std::string saveRaw(const SingleImage& image, const TempDir& dir)
{
    const std::string path = dir.file("image.f32");
    testsupport::writeAll(path, std::string(reinterpret_cast<const char*>(image.data()), image.size() * sizeof(float)));
    return path;
}

} // namespace

TEST(Stretch, GreyLevelsMatchNumpyForEveryCurve)
{
    if (!testsupport::requirePython("numpy"))
        return;
    TempDir dir;
    const SingleImage image = sampleImage();
    const std::string raw = saveRaw(image, dir);
    const DisplayLimits limits{-20.0, 3000.0};
    const std::pair<StretchCurve, const char*> curves[] = {
        {StretchCurve::Linear, "t"},
        {StretchCurve::SquareRoot, "np.sqrt(t)"},
        {StretchCurve::Logarithmic, "np.log(1 + 1000 * t) / np.log(1001)"},
        {StretchCurve::Asinh, "np.arcsinh(t / 0.1) / np.arcsinh(1 / 0.1)"},
    };
    for (const auto& [curve, formula] : curves) {
        GreyImage grey;
        stretchGrey(image, sampleWidth, sampleHeight, limits, curve, grey);
        const std::string ours = dir.file("ours.u8");
        testsupport::writeAll(ours, std::string(reinterpret_cast<const char*>(grey.data()), grey.size()));
        std::ostringstream script;
        script << "import numpy as np\n"
               << "v = np.fromfile('" << raw << "', dtype=np.float32).astype(np.float64)\n"
               << "t = np.clip((v - (" << limits.low << ")) / (" << limits.high << " - (" << limits.low
               << ")), 0, 1)\n"
               << "t[np.isnan(t)] = 0\n"
               << "ref = np.rint(255 * (" << formula << ")).astype(np.uint8)\n"
               << "got = np.fromfile('" << ours << "', dtype=np.uint8)\n"
               << "print(int(np.sum(ref != got)), len(np.unique(ref)))\n";
        std::istringstream answer(testsupport::python(script.str(), dir));
        int differing = -1, levels = 0;
        answer >> differing >> levels;
        EXPECT_EQ(differing, 0) << formula;
        // The sample spreads over many levels, so the comparison means something.
        EXPECT_GT(levels, 100) << formula;
    }
}

TEST(Stretch, LimitsWithoutRangeSplitAtTheLimit)
{
    SingleImage image(3, 1);
    image(0, 0) = 4.0f, image(1, 0) = 5.0f, image(2, 0) = std::numeric_limits<float>::quiet_NaN();
    GreyImage grey;
    stretchGrey(image, 3, 1, DisplayLimits{5.0, 5.0}, StretchCurve::Asinh, grey);
    EXPECT_EQ(grey(0, 0), 0);
    EXPECT_EQ(grey(1, 0), 255);
    EXPECT_EQ(grey(2, 0), 0);
}

TEST(Stretch, PercentileLimitsMatchNumpy)
{
    if (!testsupport::requirePython("numpy"))
        return;
    TempDir dir;
    const SingleImage image = sampleImage();
    const std::string raw = saveRaw(image, dir);
    for (double percent : {99.5, 95.0, 100.0, 0.0}) {
        DisplayLimits limits;
        ASSERT_TRUE(percentileLimits(image, sampleWidth, sampleHeight, percent, limits));
        std::ostringstream script;
        script.precision(17);
        script << "import numpy as np\n"
               << "v = np.fromfile('" << raw << "', dtype=np.float32).astype(np.float64)\n"
               << "v = v[np.isfinite(v)]\n"
               << "lo, hi = np.percentile(v, [(100 - " << percent << ") / 2, (100 + " << percent << ") / 2])\n"
               << "print(repr(float(lo)), repr(float(hi)))\n";
        std::istringstream answer(testsupport::python(script.str(), dir));
        double low = 0, high = 0;
        answer >> low >> high;
        EXPECT_NEAR(limits.low, low, 1e-12 * std::abs(low)) << percent;
        EXPECT_NEAR(limits.high, high, 1e-12 * std::abs(high)) << percent;
    }
    // Nothing finite: no limits.
    SingleImage blank(2, 2);
    for (int i = 0; i < 4; ++i)
        blank(i % 2, i / 2) = std::numeric_limits<float>::quiet_NaN();
    DisplayLimits none;
    EXPECT_FALSE(percentileLimits(blank, 2, 2, 99.5, none));
}

TEST(ViewScale, MouseAndPictureAgreeAtEveryFactor)
{
    for (double factor : {1.0 / 32, 0.137, 0.5, 3.0 / 7, 1.0, 2.0, 2.5, 8.0}) {
        const ViewScale scale{factor};
        for (int image = -5; image < 300; ++image) {
            const int first = scale.screenOf(image), next = scale.screenOf(image + 1);
            // Every screen pixel from first on shows this pixel or a later one.
            EXPECT_GE(scale.imageOf(first), image) << factor;
            EXPECT_LT(scale.imageOf(first - 1), image) << factor;
            if (next > first) {
                EXPECT_EQ(scale.imageOf(first), image) << factor;
            }
        }
    }
    const ViewScale one{1.0};
    for (int p : {-3, 0, 7, 4095})
        EXPECT_EQ(one.imageOf(p), p);
    EXPECT_EQ(ViewScale{2.0}.screenSize(300), 600);
    // Halved, a screen pixel shows the second of its two image pixels.
    EXPECT_EQ(ViewScale{0.5}.screenSize(301), 150);
    EXPECT_EQ(ViewScale{0.5}.imageOf(149), 299);
}

TEST(ViewScale, WheelStepsArePowersOfTwo)
{
    EXPECT_EQ(steppedZoom(1.0, 1), 2.0);
    EXPECT_EQ(steppedZoom(1.0, -2), 0.25);
    EXPECT_EQ(steppedZoom(0.3, 1), 0.5);
    EXPECT_EQ(steppedZoom(0.3, -1), 0.25);
    EXPECT_EQ(steppedZoom(largestZoom, 1), largestZoom);
    EXPECT_EQ(steppedZoom(smallestZoom, -3), smallestZoom);
    EXPECT_DOUBLE_EQ(fitFactor(4096, 4096, 800, 600), 600.0 / 4096);
}
