// The index window of an X interval, the extremes of a range, and key e's
// equivalent width on the worked example.
#include "plot/ContRegion.h"
#include "plot/EqWidth.h"
#include "plot/GaussFit.h"
#include "plot/SearchIndex.h"

#include "MeasureFixtures.h"
#include "platform/BasicError.h"

#include <gtest/gtest.h>

using namespace raylen;
using namespace measuretest;

TEST(SearchIndex, WindowEndsAtTheFirstPointBeyondTheInterval)
{
    const std::vector<float> x{1, 2, 3, 4, 5};
    int32_t i1 = -1, i2 = -1;
    ASSERT_EQ(sfSearchIndexX(x, 2.5f, 3.5f, i1, i2), "");
    EXPECT_EQ(i1, 2);
    EXPECT_EQ(i2, 3);
    // Beyond the data: the lower bound and the upper bound.
    ASSERT_EQ(sfSearchIndexX(x, 6.0f, 7.0f, i1, i2), "");
    EXPECT_EQ(i1, 0);
    EXPECT_EQ(i2, 4);
    // Exactly on points: the start is included, the end point is passed.
    ASSERT_EQ(sfSearchIndexX(x, 2.0f, 4.0f, i1, i2), "");
    EXPECT_EQ(i1, 1);
    EXPECT_EQ(i2, 4);
}

TEST(SearchIndex, IndicesReachPastTheSixteenBitRange)
{
    std::vector<float> x(100000);
    for (size_t i = 0; i < x.size(); ++i)
        x[i] = float(i);
    int32_t i1 = 0, i2 = 0;
    ASSERT_EQ(sfSearchIndexX(x, 70000.5f, 70010.0f, i1, i2), "");
    EXPECT_EQ(i1, 70001);
    EXPECT_EQ(i2, 70011);
    float lo = 0, hi = 0;
    ASSERT_EQ(sfMinMax(x, 99990, 99999, lo, hi), "");
    EXPECT_EQ(hi, 99999.0f);
    EXPECT_EQ(sfSearchIndexX({}, 0.0f, 1.0f, i1, i2),
              "sfSearchIndexX, 9" + platform::errorDescription(platform::errSubscript));
}

TEST(MinMax, StartsFromPlusAndMinusTenToTheTen)
{
    float lo = 0, hi = 0;
    ASSERT_EQ(sfMinMax({5, -3, 8, 1}, 1, 2, lo, hi), "");
    EXPECT_EQ(lo, -3.0f);
    EXPECT_EQ(hi, 8.0f);
    ASSERT_EQ(sfMinMax({2e10f, 3e10f}, 0, 1, lo, hi), "");
    EXPECT_EQ(lo, 1e10f);
    EXPECT_EQ(hi, 3e10f);
    EXPECT_EQ(sfMinMax({1, 2}, 0, 2, lo, hi), "sfMinMax, 9" + platform::errorDescription(platform::errSubscript));
}

namespace {

// Continuum 1.0 from 6555 to 6570, dipping to 0.5 at 6562 … 6564.
Spectrum workedExample()
{
    Spectrum s;
    for (int i = 6555; i <= 6570; ++i) {
        s.x.push_back(float(i));
        s.y.push_back(i >= 6562 && i <= 6564 ? 0.5f : 1.0f);
    }
    return s;
}

} // namespace

TEST(EqWidth, WorkedExampleInEitherOrder)
{
    const Spectrum s = workedExample();
    for (bool reversed : {false, true}) {
        RecordingWriter result;
        RecordingOverlay overlay;
        // The right mark lies before 6566, the first point beyond it.
        MarkedPoints x{6560.0f, 6565.5f}, y{1.0f, 1.0f};
        if (reversed)
            x = {6565.5f, 6560.0f};
        ASSERT_EQ(sfEqWidthPro(s.x, s.y, x, y, result, overlay), "");
        EXPECT_EQ(result.lines,
                  (std::vector<std::string>{"等価幅 = 1.50000", "波長幅 = 6559.50 : 6566.50", "-等価幅-"}));
        EXPECT_EQ(overlay.calls, 1);
        EXPECT_EQ(overlay.x, (std::vector<float>{6560, 6561, 6562, 6563, 6564, 6565, 6566}));
        EXPECT_EQ(overlay.y, std::vector<float>(7, 1.0f));
    }
}

TEST(EqWidth, FirstPointBeyondTheRightMarkIsSummedAndSlopeIsUsed)
{
    // Continuum 2 + 0.1·x through the marks; a dip only on the point past the right mark.
    std::vector<float> x, y;
    for (int i = 0; i <= 10; ++i) {
        x.push_back(float(i));
        y.push_back(float(2.0 + 0.1 * i));
    }
    y[6] = float(0.5 * (2.0 + 0.6));
    RecordingWriter result;
    RecordingOverlay overlay;
    ASSERT_EQ(sfEqWidthPro(x, y, {2.0f, 5.5f}, {2.2f, 2.55f}, result, overlay), "");
    EXPECT_EQ(result.lines[0], "等価幅 = 0.50000");
    EXPECT_EQ(result.lines[1], "波長幅 = 1.50 : 6.50");
    EXPECT_NEAR(overlay.y.back(), 2.6f, 1e-5f);
}

TEST(EqWidth, EmissionIsNegativeAndFailuresKeepTheirTexts)
{
    Spectrum s = workedExample();
    for (float& v : s.y)
        v = 2.0f - v; // the dip becomes a peak of 1.5
    RecordingWriter result;
    RecordingOverlay overlay;
    ASSERT_EQ(sfEqWidthPro(s.x, s.y, {6560.0f, 6565.5f}, {1.0f, 1.0f}, result, overlay), "");
    EXPECT_EQ(result.lines[0], "等価幅 = -1.50000");

    result.lines.clear();
    overlay.calls = 0;
    const std::string divisionByZero = platform::errorDescription(platform::errDivisionByZero);
    // Both marks between the same two samples: one window point.
    EXPECT_EQ(sfEqWidthPro(s.x, s.y, {6560.2f, 6560.6f}, {1.0f, 1.0f}, result, overlay),
              "sfEqWidthPro, 11" + divisionByZero);
    // Both marks at the same X: the continuum has no unique line.
    EXPECT_EQ(sfEqWidthPro(s.x, s.y, {6560.0f, 6560.0f}, {1.0f, 2.0f}, result, overlay),
              "sfLst2Fit, 11" + divisionByZero);
    // A continuum through zero inside the window.
    EXPECT_EQ(sfEqWidthPro(s.x, s.y, {6560.0f, 6564.0f}, {-1.0f, 1.0f}, result, overlay),
              "sfEqWidthPro, 11" + divisionByZero);
    EXPECT_TRUE(result.lines.empty());
    EXPECT_EQ(overlay.calls, 0);
}

TEST(EqWidth, OnlyTheFirstResultLineStatusStopsTheOverlay)
{
    const Spectrum s = workedExample();
    RecordingWriter result;
    RecordingOverlay overlay;
    result.answer = "sfMessage, 7" + platform::errorDescription(platform::errOutOfMemory);
    EXPECT_EQ(sfEqWidthPro(s.x, s.y, {6560.0f, 6565.5f}, {1.0f, 1.0f}, result, overlay), result.answer);
    EXPECT_EQ(result.lines.size(), 3u);
    EXPECT_EQ(overlay.calls, 0);
}

namespace {

struct NoMarks : NullSpectrumView {
    std::string sfPlotSymClone(const std::vector<float>&, const std::vector<float>&) override { return {}; }
};

} // namespace

TEST(LongSpectrum, MeasuresPastPoint32767MatchTheSameLineInAShortSpectrum)
{
    // A resampled 100 000-point spectrum with a line near point 80 000, and
    // the same 200 points alone.
    const SyntheticLine line{1000.0, 0.01, 80000.0, 400.0, 80000.3, 6.0};
    const Spectrum whole = sample(line, 0.0, 1.0, 100000, 0.0, 1);
    Spectrum part;
    part.x.assign(whole.x.begin() + 79900, whole.x.begin() + 80100);
    part.y.assign(whole.y.begin() + 79900, whole.y.begin() + 80100);
    const MarkedPoints x{79980.0f, 80020.5f};
    const MarkedPoints y{float(line.continuum(79980.0)), float(line.continuum(80020.5))};
    for (auto measure : {sfGaussFitPro, sfEqWidthPro}) {
        RecordingWriter longResult, shortResult;
        RecordingOverlay longOverlay, shortOverlay;
        ASSERT_EQ(measure(whole.x, whole.y, x, y, longResult, longOverlay, nullptr), "");
        ASSERT_EQ(measure(part.x, part.y, x, y, shortResult, shortOverlay, nullptr), "");
        EXPECT_EQ(longResult.lines, shortResult.lines);
        EXPECT_EQ(longOverlay.y, shortOverlay.y);
    }
    // Continuum regions (normalisation) list indices beyond 32767.
    std::vector<int32_t> regions{0};
    NoMarks marks;
    ASSERT_EQ(sfSetContRegion(whole.x, whole.y, 99000.0f, 99002.0f, regions, marks), "");
    EXPECT_EQ(regions, (std::vector<int32_t>{99000, 99001, 99002, 99003}));
}
