// Real mouse moves and key presses on the chart: the cursor read-out, the
// two-press commands, the Gaussian fit and equivalent width, and the
// continuum regions of the normalisation task.
#include "PlotHarness.h"

#include "lumigra/Constants.h"
#include "platform/Format.h"

#include <QLabel>

namespace plottest {
namespace {

TEST(PlotKeys, CursorReadOutOverAKnownPointIsThatPoint)
{
    Spectrum s = ramp(101, 6500, 1, 0, 0);
    for (int i = 0; i <= 100; ++i)
        s.y[i] = 2000 + 10 * std::sin(i * 0.3);
    PlotHarness h(s);
    const raylen::PlotFrame f = h.plot->chart.frame();
    const double perPixelX = (f.xMax - f.xMin) / f.width * 25.4 / h.plot->Lumigra1->logicalDpiX();
    const double perPixelY = (f.yMax - f.yMin) / f.height * 25.4 / h.plot->Lumigra1->logicalDpiY();
    for (int i : {7, 50, 93}) {
        const QPointF at = h.pixelOf(s.x[i], s.y[i]);
        h.moveTo(QPointF(std::round(at.x()), std::round(at.y())));
        EXPECT_NEAR(h.plot->cursor().sngCursorX, s.x[i], perPixelX) << i;
        EXPECT_NEAR(h.plot->cursor().sngCursorY, s.y[i], perPixelY) << i;
        EXPECT_EQ(text(h.main->lblX->text()), "x " + platform::Format(h.plot->cursor().sngCursorX, "0.0"));
        EXPECT_EQ(text(h.main->lblY->text()), "y " + platform::Format(h.plot->cursor().sngCursorY, "0.0####"));
        EXPECT_EQ(text(h.main->lblCount->text()), "");
    }
    // Tiny intensities read out in the exponent form.
    std::vector<float> y(s.y.size());
    for (size_t i = 0; i < y.size(); ++i)
        y[i] = 1E-6f + 4E-8f * i;
    ASSERT_EQ(h.plot->sfPlotLin(s.x, y), "");
    // The chart reports the automatic range it has drawn.
    h.plot->Lumigra1->repaint();
    h.moveToData(6550, 3E-6);
    EXPECT_EQ(text(h.main->lblY->text()).substr(0, 3), "y 3");
    const std::string readOut = text(h.main->lblY->text());
    EXPECT_EQ(readOut.substr(readOut.size() - 3), "E-6") << readOut;
}

TEST(PlotKeys, DegenerateAxesLeaveTheCursorAsItWas)
{
    PlotHarness h(ramp(10, 1, 1, 5, 0));
    h.plot->dsSetRangeAxisX(false, 3, 3);
    h.moveTo({100, 100});
    h.plot->dsSetRangeAxisX(false, 1e38f, -1e38f);
    h.moveTo({300, 100});
    EXPECT_TRUE(std::isfinite(h.plot->cursor().sngCursorX));
    EXPECT_TRUE(h.ui.shown.empty());
}

TEST(PlotKeys, UpperCaseIsIgnoredAndTwoLowerCasePressesTrim)
{
    PlotHarness h(ramp(1000, 0, 1, 0, 1));
    h.moveToData(200, 100);
    h.key('a');
    h.moveToData(900, 100);
    h.key('A');
    EXPECT_EQ(h.plot->keyState('a').state, 2);
    h.moveToData(400, 100);
    h.key('a');
    EXPECT_EQ(h.plot->keyState('a').state, 1);
    bool automatic = false;
    float maximum = 0, minimum = 0;
    h.plot->dsGetRangeAxisX(automatic, maximum, minimum);
    EXPECT_NEAR(minimum, 200, 3);
    EXPECT_NEAR(maximum, 400, 3);
    // c: automatic again.
    h.key('c');
    EXPECT_EQ(*h.get(h.plot->chart.objAxisX, dsp::xyAxis::MaximumSelection).toI2(), lumigra::lgSelectionAutomatic);
}

// A sloping continuum with an absorption line and a little fixed noise.
Spectrum absorption(double centre, double sigma, double depth)
{
    Spectrum s;
    uint32_t seed = 12345;
    for (int i = 0; i < 400; ++i) {
        const double x = 6500 + 0.25 * i;
        seed = seed * 1664525u + 1013904223u;
        const double noise = (static_cast<double>(seed >> 8) / (1 << 24) - 0.5) * 0.2;
        const double continuum = 100 + 0.5 * (x - 6500);
        s.x.push_back(static_cast<float>(x));
        s.y.push_back(static_cast<float>(continuum - depth * std::exp(-0.5 * std::pow((x - centre) / sigma, 2)) + noise));
    }
    return s;
}

double leadingValue(const std::string& line)
{
    return std::stod(line.substr(line.find('=') + 1));
}

TEST(PlotKeys, KTwiceFitsTheLineAndDrawsContinuumPlusGaussian)
{
    const double centre = 6550.3, sigma = 1.6, fwhm = 2 * std::sqrt(2 * std::log(2.0)) * sigma;
    Spectrum s = absorption(centre, sigma, 40);
    PlotHarness h(s);
    auto continuum = [](double x) { return 100 + 0.5 * (x - 6500); };
    // Right side first: the order of the marks does not matter.
    h.twice('k', 6560, continuum(6560), 6541, continuum(6541));
    ASSERT_EQ(h.result.lines.size(), 3u);
    EXPECT_EQ(h.result.lines[0], "-ｶﾞｳｽﾌｨｯﾄ-");
    EXPECT_EQ(h.result.lines[1].rfind("中心値 = ", 0), 0u);
    EXPECT_EQ(h.result.lines[2].rfind("半値幅 = ", 0), 0u);
    EXPECT_NEAR(leadingValue(h.result.lines[1]), centre, 0.02);
    EXPECT_NEAR(leadingValue(h.result.lines[2]), fwhm, 0.05);
    // The overlay: continuum plus Gaussian over the fit window.
    const raylen::ChartObject& data = h.plot->chart.objCloneData;
    platform::com::Variant xs = platform::com::call(data.get(), dsp::data::GetData, {platform::com::Variant::fromI2(1)});
    platform::com::Variant ys = platform::com::call(data.get(), dsp::data::GetData, {platform::com::Variant::fromI2(2)});
    ASSERT_TRUE(xs.isArray());
    ASSERT_GT(xs.elementCount(), 50u);
    for (size_t i = 0; i < xs.elementCount(); ++i) {
        const double x = *xs.at(i).toDouble();
        const double truth = continuum(x) - 40 * std::exp(-0.5 * std::pow((x - centre) / sigma, 2));
        EXPECT_NEAR(*ys.at(i).toDouble(), truth, 0.6) << x;
    }
    EXPECT_TRUE(*h.get(h.plot->chart.objCloneLine, dsp::line::Visible).toBool());
    EXPECT_EQ(h.plot->keyState('k').state, 1);
}

// A Y range of round ends, drawn as set, and the (fractional) pixel row at
// which the cursor reads 1.
double rowOfOne(PlotHarness& h)
{
    h.plot->dsSetRangeAxisY(false, 2, 0, 1);
    return h.pixelOf(6560, 1).y();
}

TEST(PlotKeys, ETwiceGivesTheWorkedEquivalentWidth)
{
    Spectrum s = ramp(21, 6555, 1, 1, 0);
    s.y[7] = s.y[8] = s.y[9] = 0.5f; // 6562 … 6564
    PlotHarness h(s);
    h.plot->dsSetRangeAxisX(false, 6575, 6555);
    const double row = rowOfOne(h);
    auto at = [&](double x) { return QPointF(std::round(h.pixelOf(x, 1).x()), row); };
    h.moveTo(at(6565.6));
    h.key('e');
    h.moveTo(at(6559.8));
    h.key('e');
    ASSERT_EQ(h.result.lines.size(), 3u);
    EXPECT_EQ(h.result.lines[0], "-等価幅-");
    EXPECT_EQ(h.result.lines[1], "波長幅 = 6559.50 : 6566.50");
    EXPECT_EQ(h.result.lines[2], "等価幅 = 1.50000");
}

// The points of the region list as X values.
std::vector<int32_t> regions() { return raylen::appState().lngContRegion; }

std::vector<int32_t> range(int from, int to)
{
    std::vector<int32_t> r;
    for (int i = from; i <= to; ++i)
        r.push_back(i);
    return r;
}

TEST(PlotKeys, ContinuumRegionsUnderNormalisation)
{
    PlotHarness h(ramp(60, 0, 1, 10, 0.5f));
    // Without the normalisation task s and d do nothing.
    h.twice('s', 10, 15, 13.5, 15);
    EXPECT_EQ(h.plot->keyState('s').state, 1);
    EXPECT_TRUE(regions().empty());

    h.plot->mnuNormalize->trigger();
    ASSERT_EQ(raylen::appState().intTaskMode, raylen::taskNormalize);
    EXPECT_EQ(regions(), std::vector<int32_t>{0});
    // Index window 10 … 14 (14 is the first point beyond 13.5), twice.
    h.twice('s', 9.8, 15, 13.5, 15);
    EXPECT_EQ(regions(), range(10, 14));
    h.twice('s', 9.8, 15, 13.5, 15);
    EXPECT_EQ(regions(), range(10, 14));
    EXPECT_TRUE(h.plot->chart.blnCloneSymbol);
    // 12 … 20 adds 15 … 20.
    h.twice('s', 11.8, 15, 19.5, 15);
    EXPECT_EQ(regions(), range(10, 20));
    // d over 15.8 … 17.5 removes its index window 16 … 18.
    h.twice('d', 15.8, 15, 17.5, 15);
    std::vector<int32_t> left = range(10, 15);
    left.push_back(19);
    left.push_back(20);
    EXPECT_EQ(regions(), left);
    // d over everything: the subscript error, the list stays.
    h.twice('d', 0, 15, 50, 15);
    ASSERT_FALSE(h.ui.shown.empty());
    EXPECT_EQ(h.ui.shown.back().prompt.rfind("sfDeleteContRegion, 9", 0), 0u) << h.ui.shown.back().prompt;
    EXPECT_EQ(h.ui.shown.back().icon(), platform::vbCritical);
    EXPECT_EQ(regions(), left);
    // r hides the marks of the overlay.
    h.key('r');

    // A single-point first region is forgotten by the next s.
    h.plot->mnuNormalize->trigger();
    h.twice('s', 29.6, 15, 29.7, 15); // index window 30 … 30
    EXPECT_EQ(regions(), std::vector<int32_t>{30});
    h.twice('s', 39.8, 15, 41.5, 15);
    EXPECT_EQ(regions(), range(40, 42));
    raylen::appState().intTaskMode = raylen::taskNone;
}

TEST(PlotKeys, IdentificationKeysWaitForTheDialog)
{
    PlotHarness h(ramp(60, 0, 1, 10, 0.5f));
    raylen::appState().intTaskMode = raylen::taskIdent;
    // No identification dialog registered: nothing happens.
    h.moveToData(20, 20);
    h.key('n');
    h.key('g');
    h.key('m');
    EXPECT_TRUE(h.ui.shown.empty());
    struct Target : raylen::IdentKeyTarget {
        std::vector<std::string> calls;
        std::string sfSearchGaussPeakPos(float x, const std::vector<float>&, const std::vector<float>&) override
        {
            calls.push_back("g " + platform::Format(x, "0"));
            return {};
        }
        std::string sfSearchPeakPos(float, const std::vector<float>&, const std::vector<float>&) override
        {
            return "peak message";
        }
        void setCurrentPixelCell(const std::string& text) override { calls.push_back("n " + text); }
    } target;
    struct IdentTasks : ForwardingTasks {
        explicit IdentTasks(raylen::IdentKeyTarget& t) : to(t) {}
        raylen::IdentKeyTarget* identKeyTarget() override { return &to; }
        raylen::IdentKeyTarget& to;
    } tasks(target);
    {
        raylen::ServiceOverride<raylen::PlotTasks> installed(tasks);
        h.moveToData(20, 20);
        h.key('g');
        h.key('n');
        h.key('m');
    }
    ASSERT_EQ(target.calls.size(), 2u);
    EXPECT_EQ(target.calls[0], "g 20");
    EXPECT_EQ(target.calls[1].substr(0, 5), "n 20.");
    EXPECT_TRUE(*h.get(h.plot->chart.objMarkLine[0], dsp::line::Visible).toBool());
    EXPECT_EQ(h.ui.shown.back().prompt, "peak message");
    h.key('r');
    EXPECT_FALSE(*h.get(h.plot->chart.objMarkLine[0], dsp::line::Visible).toBool());
    raylen::appState().intTaskMode = raylen::taskNone;
}

} // namespace
} // namespace plottest
