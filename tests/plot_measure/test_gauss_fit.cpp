// Key k's measurement: a synthetic absorption line on a sloping continuum
// against the truth and scipy.optimize.curve_fit, the result lines, the
// overlay, and the failures with their exact texts.
#include "plot/GaussFit.h"

#include "MeasureFixtures.h"
#include "../support/TestSupport.h"
#include "numeric/OutsideLibrary.h"
#include "platform/BasicError.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

using namespace raylen;
using namespace measuretest;

namespace {

const SyntheticLine halpha{1000.0, 2.0, 6500.0, 400.0, 6562.8, 4.0};

double valueAfter(const std::string& line, const std::string& prefix)
{
    EXPECT_EQ(line.rfind(prefix, 0), 0u) << line;
    return std::stod(line.substr(prefix.size()));
}

} // namespace

TEST(GaussFit, AbsorptionOnSlopeMatchesTruthAndScipy)
{
    const double sigma = 5.0;
    const Spectrum s = sample(halpha, 6500.0, 0.5, 241, sigma, 20261208);
    // Marks on the continuum either side of the line, as a user puts the cursor.
    const MarkedPoints markX{6545.0f, 6580.25f};
    const MarkedPoints markY{float(halpha.continuum(6545.0)), float(halpha.continuum(6580.25))};
    RecordingWriter result;
    RecordingOverlay overlay;
    ASSERT_EQ(sfGaussFitPro(s.x, s.y, markX, markY, result, overlay), "");

    ASSERT_EQ(result.lines.size(), 3u);
    EXPECT_EQ(result.lines[2], "-ｶﾞｳｽﾌｨｯﾄ-");
    const double fwhm = valueAfter(result.lines[0], "半値幅 = ");
    const double centre = valueAfter(result.lines[1], "中心値 = ");
    // Two decimals exactly.
    EXPECT_EQ(result.lines[0].size() - result.lines[0].find('.'), 3u);
    EXPECT_EQ(result.lines[1].size() - result.lines[1].find('.'), 3u);
    EXPECT_NEAR(centre, halpha.centre, 0.05);
    EXPECT_NEAR(fwhm, halpha.fwhm, 0.1);

    // The window runs from the first point at or after the left mark to the
    // first point beyond the right one (6545.0 … 6580.5).
    ASSERT_EQ(overlay.calls, 1);
    ASSERT_EQ(overlay.x.size(), 72u);
    EXPECT_EQ(overlay.x.front(), 6545.0f);
    EXPECT_EQ(overlay.x.back(), 6580.5f);

    // The same continuum removal and model fitted independently.
    testsupport::TempDir dir;
    std::ostringstream data;
    data.precision(9);
    for (size_t i = 0; i < s.x.size(); ++i)
        data << s.x[i] << ' ' << s.y[i] << '\n';
    testsupport::writeAll(dir.file("spectrum.txt"), data.str());
    std::ostringstream script;
    script.precision(9);
    script << "import numpy as np\n"
              "from scipy.optimize import curve_fit\n"
              "x, y = np.loadtxt('" << dir.file("spectrum.txt") << "', unpack=True)\n"
              "x = x.astype(np.float32).astype(float); y = y.astype(np.float32).astype(float)\n"
              "mx = np.array([" << markX[0] << ", " << markX[1] << "]); my = np.array([" << markY[0] << ", " << markY[1] << "])\n"
              "a1 = (my[1] - my[0]) / (mx[1] - mx[0]); a0 = my[0] - a1 * mx[0]\n"
              "w = (x >= mx[0]) & (x <= 6580.5)\n"
              "xw = x[w]; r = (y[w] - (a0 + a1 * xw)).astype(np.float32).astype(float)\n"
              "f = lambda t, A, B, C, D: A * np.exp(-B * (t - C) ** 2) + D\n"
              "p, cov = curve_fit(f, xw, r, p0=[r.min(), 0.1, xw[np.argmin(r)], 0.0])\n"
              "print('%.9f %.9f' % (p[2], 2 * np.sqrt(np.log(2) / p[1])))\n"
              "print(' '.join('%.6f' % v for v in (a0 + a1 * xw + f(xw, *p))))\n";
    std::istringstream reference(testsupport::python(script.str(), dir));
    double scipyCentre = 0.0, scipyFwhm = 0.0;
    reference >> scipyCentre >> scipyFwhm;
    EXPECT_NEAR(centre, scipyCentre, 0.0051);
    EXPECT_NEAR(fwhm, scipyFwhm, 0.0051);
    // The overlay is continuum plus Gaussian at every window point.
    for (size_t i = 0; i < overlay.y.size(); ++i) {
        double expected = 0.0;
        ASSERT_TRUE(reference >> expected) << "point " << i;
        EXPECT_NEAR(overlay.y[i], expected, 1e-3 * std::fabs(expected)) << "point " << i;
    }
    // The overlay dips by the line's depth at the centre and meets the continuum at the ends.
    EXPECT_NEAR(overlay.y.front(), halpha.continuum(6545.0), 4 * sigma);
    const size_t centreIndex = size_t((6563.0 - 6545.0) / 0.5);
    EXPECT_NEAR(overlay.y[centreIndex], halpha.at(6563.0), 4 * sigma);
}

TEST(GaussFit, MarksInEitherOrderGiveTheSameResult)
{
    const Spectrum s = sample(halpha, 6500.0, 0.5, 241, 5.0, 7);
    const MarkedPoints x{6548.0f, 6577.0f};
    const MarkedPoints y{float(halpha.continuum(6548.0)), float(halpha.continuum(6577.0))};
    RecordingWriter forward, backward;
    RecordingOverlay overlayForward, overlayBackward;
    ASSERT_EQ(sfGaussFitPro(s.x, s.y, x, y, forward, overlayForward), "");
    ASSERT_EQ(sfGaussFitPro(s.x, s.y, {x[1], x[0]}, {y[1], y[0]}, backward, overlayBackward), "");
    EXPECT_EQ(forward.lines, backward.lines);
    EXPECT_EQ(overlayForward.y, overlayBackward.y);
}

TEST(GaussFit, EmissionLineIsFittedToo)
{
    const SyntheticLine emission{50.0, 0.0, 0.0, -30.0, 120.0, 6.0};
    const Spectrum s = sample(emission, 80.0, 1.0, 81, 0.5, 3);
    RecordingWriter result;
    RecordingOverlay overlay;
    ASSERT_EQ(sfGaussFitPro(s.x, s.y, {95.0f, 145.0f}, {50.0f, 50.0f}, result, overlay), "");
    EXPECT_NEAR(valueAfter(result.lines[1], "中心値 = "), 120.0, 0.1);
    EXPECT_NEAR(valueAfter(result.lines[0], "半値幅 = "), 6.0, 0.2);
}

TEST(GaussFit, FailuresReportTheirTextsAndWriteNothing)
{
    const Spectrum s = sample(halpha, 6500.0, 0.5, 241, 0.0, 1);
    RecordingWriter result;
    RecordingOverlay overlay;
    EXPECT_EQ(sfGaussFitPro(s.x, s.y, {6550.0f, 6550.0f}, {1100.0f, 1200.0f}, result, overlay),
              "sfGaussFitPro 領域が指定されていません");

    // An emission line rising to the right edge of the window never falls
    // back to half its height.
    std::vector<float> x, y;
    for (int i = 0; i < 20; ++i) {
        x.push_back(float(i));
        y.push_back(i < 10 ? 0.0f : float(i - 9));
    }
    EXPECT_EQ(sfGaussFitPro(x, y, {0.0f, 19.0f}, {0.0f, 0.0f}, result, overlay), "sfGaussFitPro, sngIniHPFW is zero");

    // The extremum on the window's first point is not found from index 1.
    std::vector<float> edgeY(20, 0.0f);
    edgeY[0] = -5.0f;
    EXPECT_EQ(sfGaussFitPro(x, edgeY, {0.0f, 19.0f}, {0.0f, 0.0f}, result, overlay),
              "sfGaussFitInit, 9" + platform::errorDescription(platform::errSubscript));

    // Marks between two samples leave a window of one point.
    EXPECT_EQ(sfGaussFitPro(x, y, {3.2f, 3.6f}, {0.0f, 0.0f}, result, overlay),
              "sfGaussFitInit, 9" + platform::errorDescription(platform::errSubscript));

    EXPECT_TRUE(result.lines.empty());
    EXPECT_EQ(overlay.calls, 0);
}

TEST(GaussFit, SinkMessagesAreReturned)
{
    const Spectrum s = sample(halpha, 6500.0, 0.5, 241, 0.0, 1);
    const MarkedPoints x{6545.0f, 6580.0f};
    const MarkedPoints y{float(halpha.continuum(6545.0)), float(halpha.continuum(6580.0))};
    RecordingWriter result;
    RecordingOverlay overlay;
    result.answer = "w;";
    EXPECT_EQ(sfGaussFitPro(s.x, s.y, x, y, result, overlay), "w;w;w;");
    EXPECT_EQ(overlay.calls, 0);
    result.answer.clear();
    overlay.answer = "sfPlotLinClone, 91" + platform::errorDescription(platform::errObjectNotSet);
    EXPECT_EQ(sfGaussFitPro(s.x, s.y, x, y, result, overlay), overlay.answer);
}

TEST(GaussFit, HourglassWrapsTheFitAndIsRestoredOnFailure)
{
    const Spectrum s = sample(halpha, 6500.0, 0.5, 241, 0.0, 1);
    const MarkedPoints x{6545.0f, 6580.0f};
    const MarkedPoints y{float(halpha.continuum(6545.0)), float(halpha.continuum(6580.0))};
    RecordingWriter result;
    RecordingOverlay overlay;
    ASSERT_EQ(sfGaussFitPro(s.x, s.y, x, y, result, overlay), "");
    EXPECT_EQ(overlay.busy, (std::vector<bool>{true, false}));

    overlay.busy.clear();
    setOutsideLibraryPath("");
    EXPECT_EQ(sfGaussFitPro(s.x, s.y, x, y, result, overlay),
              "sfGaussFitPro, 48" + platform::errorDescription(platform::errDllLoad));
    setOutsideLibraryPath(nullptr);
    EXPECT_EQ(overlay.busy, (std::vector<bool>{true, false}));
}

TEST(GaussFitInit, TieCountsAsAbsorptionAndSearchStartsAtIndexOne)
{
    // |min| = |max|: the minimum at x = 4 is taken; the half level −1 is
    // first exceeded at x = 5.
    const std::vector<float> x{0, 1, 2, 3, 4, 5, 6, 7};
    const std::vector<float> y{0, 2, 0, 0, -2, 0, 0, 0};
    float centre = 0.0f, width = 0.0f;
    ASSERT_EQ(sfGaussFitInit(x, y, 2.0f, -2.0f, centre, width), "");
    EXPECT_EQ(centre, 4.0f);
    EXPECT_EQ(width, 2.0f);

    int32_t index = 0;
    ASSERT_EQ(sfValueIndex(y, 2, 7, 2.0f, index), "");
    EXPECT_EQ(index, 8); // not found: intEnd + 1
    ASSERT_EQ(sfValueIndex(y, 0, 7, -2.0f, index), "");
    EXPECT_EQ(index, 4);
}
