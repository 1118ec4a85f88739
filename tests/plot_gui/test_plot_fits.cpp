// FITS spectra in the plot window: the save dialog's second filter and
// opening a one-dimensional FITS file as a spectrum.
#include "PlotHarness.h"

#include "fits/FitsSpectrum.h"
#include "state/AppState.h"

using namespace plottest;

TEST(PlotFits, SaveDialogSecondFilterWritesAFitsSpectrum)
{
    Spectrum s;
    for (int i = 0; i < 64; ++i) {
        s.x.push_back(6000.0f + 0.5f * static_cast<float>(i));
        s.y.push_back(static_cast<float>(100 + i % 7));
    }
    PlotHarness h(s);
    const std::string target = h.dir.file("out.fits");
    h.ui.answerDialog(target, 2);
    h.plot->mnuSaveAs->trigger();
    EXPECT_EQ(h.ui.dialogs.back().dialog.Filter, "ﾃｷｽﾄﾌｧｲﾙ(*.txt)|*.txt|FITSｽﾍﾟｸﾄﾙ(*.fits)|*.fits|");
    const std::string bytes = readAll(target);
    ASSERT_EQ(bytes.size(), 2u * 2880u);
    EXPECT_EQ(bytes.substr(160, 80), testsupport::card("NAXIS   =                    1"));
    EXPECT_NE(bytes.find(testsupport::card("CTYPE1  = 'AWAV    '")), std::string::npos);
    std::vector<float> x, y;
    ASSERT_EQ(raylen::sfOpenFitsSpectrum(target, x, y), "");
    EXPECT_EQ(x, s.x);
    EXPECT_EQ(y, s.y);
}

TEST(PlotFits, FitsSpectraOpenInThePlotWindow)
{
    Spectrum s;
    s.x = {0, 1, 2, 3};
    s.y = {1, 2, 3, 4};
    PlotHarness h(s);
    // The table form with an uneven wavelength scale.
    const std::string table = h.dir.file("table.fits");
    std::vector<float> x{4000.0f, 4001.5f, 4003.25f, 4006.0f}, y{5, 6, 7, 8};
    ASSERT_EQ(raylen::sfSaveFitsSpectrum(table, x, y), "");
    h.openThroughDialog(table);
    EXPECT_EQ(raylen::appState().sngSpecX, x);
    EXPECT_EQ(raylen::appState().sngSpecY, y);
    EXPECT_EQ(raylen::loadedFrmPlot()->plotX(), x);
    ASSERT_NE(raylen::loadedFrmPlot(), nullptr);
    EXPECT_TRUE(h.ui.shown.empty() || h.ui.shown.back().prompt.empty()) << h.ui.shown.back().prompt;
}

TEST(PlotFits, UncertaintyBandIsOffUntilToggledAndTravelsWithTheSpectrum)
{
    Spectrum start;
    start.x = {0, 1};
    start.y = {0, 1};
    PlotHarness h(start);
    // A flat spectrum of 100 with σ 30: the band lies well clear of the line.
    raylen::Spectrum withError;
    for (int i = 0; i < 200; ++i) {
        withError.x.push_back(5000.0f + static_cast<float>(i));
        withError.y.push_back(100.0f + static_cast<float>(i % 2));
        withError.sigma.push_back(30.0f);
    }
    withError.meta.cards = {testsupport::card("OBJECT  = 'Vega'")};
    const std::string path = h.dir.file("err.fits");
    ASSERT_EQ(raylen::sfSaveFitsSpectrum(path, withError), "");
    h.openThroughDialog(path);
    raylen::FrmPlot* plot = raylen::loadedFrmPlot();
    ASSERT_NE(plot, nullptr);
    h.plot = plot;
    EXPECT_EQ(plot->plotSigma(), withError.sigma);
    ASSERT_NE(plot->mnuErrorBand, nullptr);
    EXPECT_FALSE(plot->mnuErrorBand->isChecked());
    plot->Lumigra1->repaint();
    const QImage without = plot->Lumigra1->grab().toImage();
    // Zoomed to leave room for the band, then shown: dark pixels at y ± σ.
    h.key('a');
    ASSERT_TRUE(clickMenuItem(plot->mnuErrorBand));
    EXPECT_TRUE(plot->mnuErrorBand->isChecked());
    plot->Lumigra1->repaint();
    const QImage with = plot->Lumigra1->grab().toImage();
    int onEdges = 0;
    for (int i = 20; i < 180; i += 20) {
        const QPointF upper = h.pixelOf(withError.x[static_cast<size_t>(i)], 130.5);
        const QPointF lower = h.pixelOf(withError.x[static_cast<size_t>(i)], 70.5);
        for (QPointF p : {upper, lower}) {
            const QPoint q = p.toPoint();
            bool dark = false;
            // The band is dashed: a gap may fall on the column itself.
            for (int dx = -4; dx <= 4; ++dx)
                for (int dy = -2; dy <= 2; ++dy)
                    dark = dark || (with.valid(q.x() + dx, q.y() + dy) &&
                                    qGray(with.pixel(q.x() + dx, q.y() + dy)) < 128);
            onEdges += dark ? 1 : 0;
        }
    }
    EXPECT_GE(onEdges, 14);
    EXPECT_NE(with, without);
    // Off again: the band is gone.
    ASSERT_TRUE(clickMenuItem(plot->mnuErrorBand));
    plot->Lumigra1->repaint();
    const QImage off = plot->Lumigra1->grab().toImage();
    int leftOver = 0;
    for (int i = 20; i < 180; i += 20) {
        const QPoint q = h.pixelOf(withError.x[static_cast<size_t>(i)], 130.5).toPoint();
        leftOver += off.valid(q) && qGray(off.pixel(q)) < 128 ? 1 : 0;
    }
    EXPECT_EQ(leftOver, 0);
    // Saved again as FITS: the uncertainty and the cards go with it.
    const std::string target = h.dir.file("again.fits");
    h.ui.answerDialog(target, 2);
    plot->mnuSaveAs->trigger();
    raylen::Spectrum back;
    ASSERT_EQ(raylen::sfOpenFitsSpectrum(target, back), "");
    EXPECT_EQ(back.sigma, withError.sigma);
    ASSERT_FALSE(back.meta.cards.empty());
    EXPECT_EQ(back.meta.cards.front(), testsupport::card("OBJECT  = 'Vega'"));
}

TEST(PlotFits, TrimKeepsTheShownBandInView)
{
    Spectrum start;
    start.x = {0, 1};
    start.y = {0, 1};
    PlotHarness h(start);
    // A ramp with σ growing along it: the band reaches beyond the data.
    raylen::Spectrum withError;
    for (int i = 0; i < 100; ++i) {
        withError.x.push_back(6000.0f + static_cast<float>(i));
        withError.y.push_back(50.0f + static_cast<float>(i));
        withError.sigma.push_back(5.0f + 0.2f * static_cast<float>(i));
    }
    const std::string path = h.dir.file("band.fits");
    ASSERT_EQ(raylen::sfSaveFitsSpectrum(path, withError), "");
    h.openThroughDialog(path);
    h.plot = raylen::loadedFrmPlot();
    ASSERT_NE(h.plot, nullptr);
    // The Y range the trim should give over the marked interval (its index
    // window: from the first X at or past the start to the first past the end).
    auto expectRange = [&](bool band) {
        const raylen::TwoPress& marks = h.plot->keyState('a');
        const float x1 = std::min(marks.x[0], marks.x[1]), x2 = std::max(marks.x[0], marks.x[1]);
        size_t first = 0, beyond = withError.x.size() - 1;
        while (withError.x[first] < x1)
            ++first;
        for (size_t i = 0; i < withError.x.size(); ++i)
            if (withError.x[i] > x2) {
                beyond = i;
                break;
            }
        float lo = 1e10f, hi = -1e10f;
        for (size_t i = first; i <= beyond; ++i) {
            const float s = band ? withError.sigma[i] : 0.0f;
            lo = std::min(lo, withError.y[i] - s);
            hi = std::max(hi, withError.y[i] + s);
        }
        // The axis draws from round numbers around the range it is given.
        const raylen::PlotFrame f = h.plot->chart.frame();
        EXPECT_LE(f.yMin, lo) << band;
        EXPECT_GE(f.yMax, hi) << band;
        return std::pair{lo, hi};
    };
    // Without the band the trim is as always: Y to the data in the interval.
    h.twice('a', 6020.0, 80.0, 6060.0, 80.0);
    expectRange(false);
    const float plainTop = h.plot->chart.frame().yMax;
    // With it, Y covers y ± σ over the interval, so the band is not cut off
    // (the data's range alone would cut its top).
    ASSERT_TRUE(clickMenuItem(h.plot->mnuErrorBand));
    h.twice('a', 6020.0, 80.0, 6060.0, 80.0);
    EXPECT_LT(plainTop, expectRange(true).second);
    EXPECT_EQ(h.plot->plotSigma(), withError.sigma);
    h.plot->Lumigra1->repaint();
    const QImage picture = h.plot->Lumigra1->grab().toImage();
    int dark = 0;
    for (double x : {6030.0, 6040.0, 6050.0})
        for (double y : {50.0 + (x - 6000) + 5 + 0.2 * (x - 6000), 50.0 + (x - 6000) - 5 - 0.2 * (x - 6000)}) {
            const QPoint q = h.pixelOf(x, y).toPoint();
            bool found = false;
            for (int dx = -4; dx <= 4; ++dx)
                for (int dy = -2; dy <= 2; ++dy)
                    found = found || (picture.valid(q.x() + dx, q.y() + dy) &&
                                      qGray(picture.pixel(q.x() + dx, q.y() + dy)) < 128);
            dark += found ? 1 : 0;
        }
    EXPECT_EQ(dark, 6);
    ASSERT_TRUE(clickMenuItem(h.plot->mnuErrorBand));
}

TEST(PlotFits, KeyEAddsTheUncertaintyLineOnlyWithAnUncertainty)
{
    // An absorption line on a continuum of 1000 with σ 20 a point every 1 Å.
    raylen::Spectrum line;
    for (int i = 0; i < 200; ++i) {
        const double x = 6000.0 + i;
        line.x.push_back(static_cast<float>(x));
        line.y.push_back(static_cast<float>(1000 * (1 - 0.4 * std::exp(-0.5 * std::pow((x - 6100) / 3, 2)))));
        line.sigma.push_back(20.0f);
    }
    Spectrum start;
    start.x = {0, 1};
    start.y = {0, 1};
    PlotHarness h(start);
    const std::string path = h.dir.file("line.fits");
    ASSERT_EQ(raylen::sfSaveFitsSpectrum(path, line), "");
    h.openThroughDialog(path);
    h.plot = raylen::loadedFrmPlot();
    ASSERT_NE(h.plot, nullptr);
    h.twice('e', 6080.0, 1000.0, 6120.0, 1000.0);
    ASSERT_EQ(h.result.lines.size(), 4u);
    // σ·Δλ/F_c = 0.02 for each of the 40 or so points between the marks.
    const std::string& last = h.result.lines.back(); // below the three, as raylen-cli prints it
    ASSERT_EQ(last.rfind("誤差: 等価幅 ±", 0), 0u) << last;
    EXPECT_NEAR(std::stod(last.substr(std::string("誤差: 等価幅 ±").size())), 0.02 * std::sqrt(41.0), 0.005);
    // Without the uncertainty: the three lines only.
    raylen::Spectrum plain = line;
    plain.sigma.clear();
    ASSERT_EQ(raylen::sfSaveFitsSpectrum(h.dir.file("plain.fits"), plain), "");
    h.openThroughDialog(h.dir.file("plain.fits"));
    h.plot = raylen::loadedFrmPlot();
    h.result.lines.clear();
    h.twice('e', 6080.0, 1000.0, 6120.0, 1000.0);
    EXPECT_EQ(h.result.lines.size(), 3u);
}
