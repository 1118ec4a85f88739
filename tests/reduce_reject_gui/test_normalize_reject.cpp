// The normalisation dialog's rejection boxes on the real plot window: a
// continuum with one deep absorption line inside its region, against the
// core with the same settings, the marks held and drawn, and the plain fit
// when the boxes are empty.
#include "RejectMarks.h"

#include "numeric/Polynomial.h"
#include "reduce/Normalize.h"
#include "reduce/gui/FrmCalib.h"

#include <random>

using namespace rejecttest;
using raylen::appState;

namespace {

constexpr int points = 400;
constexpr int lineCentre = 250;

Spectrum continuumWithLine()
{
    std::mt19937 random(3);
    std::normal_distribution<double> noise(0.0, 3.0);
    Spectrum s;
    for (int i = 0; i < points; ++i) {
        const double continuum = 1000.0 + 0.5 * i - 0.001 * i * i;
        const double line = 1.0 - 0.8 * std::exp(-0.5 * std::pow((i - lineCentre) / 5.0, 2));
        s.x.push_back(5000.0f + 2.0f * static_cast<float>(i));
        s.y.push_back(static_cast<float>(continuum * line + noise(random)));
    }
    return s;
}

struct NormalizeHarness : PlotHarness {
    NormalizeHarness() : PlotHarness(continuumWithLine(), "star.txt"), s(continuumWithLine())
    {
        plot->mnuCalib_Click(raylen::taskNormalize);
        dialog = raylen::frmCalib();
    }
    ~NormalizeHarness()
    {
        raylen::unloadFrmCalib();
        QApplication::processEvents();
    }
    // The continuum the plot window shows as its clone line.
    std::vector<float> shownContinuum() { return dataColumn(plot->chart.objCloneData, 2); }
    std::vector<float> continuumOf(const std::vector<double>& c) const
    {
        std::vector<float> y;
        for (float x : s.x)
            y.push_back(raylen::evalPolynomial(c, x));
        return y;
    }
    Spectrum s;
    raylen::FrmCalib* dialog = nullptr;
};

} // namespace

TEST(NormalizeReject, ContinuumFitMarksTheLineAndEmptyBoxesFitPlainly)
{
    NormalizeHarness h;
    raylen::FrmCalib* d = h.dialog;
    ASSERT_NE(d, nullptr);
    // s twice over the whole spectrum: every point is in the region.
    h.twice('s', 4999.0, 1000.0, 5800.0, 1000.0);
    const std::vector<int32_t> region = appState().lngContRegion;
    ASSERT_EQ(region.size(), static_cast<size_t>(points));
    typeInto(d->txtOrder, "3");

    // Boxes empty: the plain fit, and no chart for marks is ever made.
    clickOn(d->cmdFit);
    ASSERT_TRUE(d->cmdNext->isEnabled()) << (h.ui.shown.empty() ? "" : h.ui.shown.back().prompt);
    std::vector<double> plain;
    ASSERT_EQ(raylen::sfContinuumFit(h.s.x, h.s.y, region, 3, plain), "");
    EXPECT_EQ(h.shownContinuum(), h.continuumOf(plain));
    EXPECT_FALSE(h.plot->chart.objReject);
    EXPECT_EQ(markPixels(drawn(*h.plot)), 0);

    // 4σ both ways, 10 passes: the core's continuum and flags.
    typeReject(d->reject, "4", "4", "10");
    clickOn(d->cmdFit);
    std::vector<double> core;
    std::vector<char> flags;
    ASSERT_EQ(raylen::sfContinuumFit(h.s.x, h.s.y, region, 3, core, {4, 4, 10}, &flags), "");
    const std::vector<float> coreCurve = h.continuumOf(core);
    EXPECT_EQ(h.shownContinuum(), coreCurve);
    EXPECT_NE(coreCurve, h.continuumOf(plain));
    // Under the line the rejected fit stays on the true continuum.
    const double truthAtLine = 1000.0 + 0.5 * lineCentre - 0.001 * lineCentre * lineCentre;
    EXPECT_NEAR(coreCurve[lineCentre], truthAtLine, 3.0);
    EXPECT_GT(truthAtLine - h.continuumOf(plain)[lineCentre], 3.0);

    const Spectrum marks = marksOf(*h.plot);
    std::vector<float> flaggedX, flaggedY;
    for (size_t i = 0; i < flags.size(); ++i)
        if (flags[i]) {
            flaggedX.push_back(h.s.x[static_cast<size_t>(region[i])]);
            flaggedY.push_back(h.s.y[static_cast<size_t>(region[i])]);
        }
    EXPECT_EQ(marks.x, flaggedX);
    EXPECT_EQ(marks.y, flaggedY);
    // The line's core, and only points near the line, are left out.
    ASSERT_FALSE(marks.x.empty());
    EXPECT_NE(std::find(marks.x.begin(), marks.x.end(), h.s.x[lineCentre]), marks.x.end());
    for (float x : marks.x)
        EXPECT_NEAR(x, h.s.x[lineCentre], 2.0f * 25) << x;
    EXPECT_EQ(marksDrawnAtTheirPoints(*h.plot, marks), static_cast<int>(marks.x.size()));

    // Boxes emptied again: the plain continuum, the marks gone.
    typeReject(d->reject, "", "", "");
    clickOn(d->cmdFit);
    EXPECT_EQ(h.shownContinuum(), h.continuumOf(plain));
    EXPECT_TRUE(marksOf(*h.plot).x.empty());
    EXPECT_EQ(markPixels(drawn(*h.plot)), 0);

    // With rejection again, "次へ" divides by the rejected continuum and
    // the marks leave with the continuum line.
    typeReject(d->reject, "4", "4", "10");
    clickOn(d->cmdFit);
    clickOn(d->cmdNext);
    ASSERT_EQ(d->intPage(), 2);
    std::vector<float> normalised;
    raylen::NullSpectrumView none;
    ASSERT_EQ(raylen::sfNormalizePlot(h.s.x, h.s.y, core, normalised, none), "");
    EXPECT_EQ(h.plot->plotY(), normalised);
    EXPECT_TRUE(marksOf(*h.plot).x.empty());
    EXPECT_EQ(markPixels(drawn(*h.plot)), 0);
}

TEST(NormalizeReject, EveryBoxOfTheFitPageTakesAClick)
{
    NormalizeHarness h;
    ASSERT_NE(h.dialog, nullptr);
    // The page is worked with s and d on the plot: the plot has the keys.
    EXPECT_EQ(QApplication::focusWidget(), h.plot->Lumigra1);
    EXPECT_EQ(boxesMissingTheirClick(h.dialog), std::vector<std::string>{});
    // A fit before any region is marked, or over too few points, is refused
    // with what to do.
    clickOn(h.dialog->cmdFit);
    ASSERT_FALSE(h.ui.shown.empty());
    EXPECT_EQ(h.ui.shown.back().prompt, "連続スペクトル領域を指定して下さい");
    h.twice('s', 5000.0, 1000.0, 5002.0, 1000.0);
    typeInto(h.dialog->txtOrder, "5");
    clickOn(h.dialog->cmdFit);
    EXPECT_EQ(h.ui.shown.back().prompt, "連続スペクトル領域の点が足りません (次数 + 1 点以上)");
    EXPECT_FALSE(h.dialog->cmdNext->isEnabled());
}
