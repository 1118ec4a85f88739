// The added calibration choices driven through the windows: the response
// from a standard star and flux calibration with the atmosphere, the
// radial-velocity correction, the previous solution of the identification
// dialog and the plot window's coadd.
#include "../plot_gui/PlotHarness.h"

#include "files/ShareData.h"
#include "platform/Format.h"
#include "reduce/BaryCorr.h"
#include "reduce/CalibTables.h"
#include "reduce/Dispersion.h"
#include "reduce/gui/FrmCalib.h"
#include "reduce/gui/FrmIdent.h"
#include "fits/FitsSpectrum.h"
#include "spectrum/SpectrumCoadd.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

using namespace plottest;
using raylen::appState;

namespace {

constexpr double exposure = 90.0, airmass = 1.5;

double response(double l) { return 3.0e15 * std::exp(-std::pow((l - 5700.0) / 2300.0, 2)); }

// A star with Balmer absorption 8 Å wide.
double star(double l, double slope)
{
    double f = 2e-13 * std::pow(l / 5500.0, slope);
    for (double line : {4861.33, 6562.79})
        f *= 1.0 - 0.5 * std::exp(-0.5 * std::pow((l - line) / 8.0, 2));
    return f;
}

Spectrum observed(double slope)
{
    raylen::ExtinctionTable kpno;
    EXPECT_EQ(raylen::sfReadExtinctionTable(raylen::resolveShippedTable(raylen::extinctionFolder, "kpno"), kpno), "");
    Spectrum s;
    for (double l = 4000; l <= 7600; l += 3.0) {
        s.x.push_back(static_cast<float>(l));
        s.y.push_back(static_cast<float>(star(l, slope) * response(l) * exposure *
                                         raylen::atmosphericTransmission(kpno, l, airmass)));
    }
    return s;
}

bool inMask(double l)
{
    for (const raylen::WaveRange& m : raylen::defaultSensMasks())
        if (l >= m.lo && l <= m.hi)
            return true;
    return false;
}

struct TaskHarness : PlotHarness {
    TaskHarness(const Spectrum& s, QAction* (raylen::FrmPlot::*menu)) : PlotHarness(s, "star.txt")
    {
        (plot->*menu)->trigger();
        dialog = raylen::frmCalib();
    }
    ~TaskHarness()
    {
        raylen::unloadFrmCalib();
        QApplication::processEvents();
    }
    raylen::FrmCalib* dialog = nullptr;
};

} // namespace

TEST(CalibAdded, ResponseThroughTheDialogThenASecondStarWithinTwoPercent)
{
    TempDir kept; // the .sns outlives the first plot window
    const std::string sns = kept.file("night.sns");
    {
        TaskHarness h(observed(-2.0), &raylen::FrmPlot::mnuSensFunc);
        raylen::FrmCalib* d = h.dialog;
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(text(d->windowTitle()), "感度曲線 [ star.txt ]");
        EXPECT_TRUE(d->sens.page->isVisible());
        EXPECT_GE(d->cmdNext->geometry().top(), d->sens.page->geometry().bottom()) << "buttons below the page";
        std::string table = "# unit erg.s-1.cm-2.Angstrom-1\n";
        for (double l = 3900; l <= 7700; l += 10.0)
            table += std::to_string(l) + " " + std::to_string(star(l, -2.0) * 1e13) + "e-13\n";
        writeAll(h.dir.file("std.dat"), table);
        h.ui.answerDialog(h.dir.file("std.dat"));
        d->sens.cmdStandard->click();
        EXPECT_EQ(h.ui.dialogs.back().dialog.DialogTitle, "標準星ﾌｧｲﾙを開く");
        d->sens.atmosphere.txtExptime->setText("90");
        d->sens.atmosphere.txtAirmass->setText("1.5");
        d->sens.atmosphere.cboExtinction->setCurrentText("kpno");
        d->cmdNext->click();
        ASSERT_EQ(d->intPage(), 2) << (h.ui.shown.empty() ? "" : h.ui.shown.back().prompt);
        double worst = 0;
        const raylen::SensFuncResult& r = d->sensResult();
        for (size_t i = 0; i < r.sensX.size(); ++i)
            if (r.sensX[i] >= 4500 && r.sensX[i] <= 7000 && !inMask(r.sensX[i]))
                worst = std::max(worst, std::fabs(r.sensY[i] / response(r.sensX[i]) - 1.0));
        EXPECT_LT(worst, 0.02);
        // The plot window shows the fit as its second line over the whole
        // spectrum, within 2 % of the truth between the masks.
        const raylen::ChartObject& fit = h.plot->chart.objCloneData;
        const platform::com::Variant fx =
            platform::com::call(fit.get(), dsp::data::GetData, {platform::com::Variant::fromI2(1)});
        const platform::com::Variant fy =
            platform::com::call(fit.get(), dsp::data::GetData, {platform::com::Variant::fromI2(2)});
        ASSERT_TRUE(fx.isArray());
        ASSERT_EQ(fx.elementCount(), observed(-2.0).x.size());
        for (size_t i = 0; i < fx.elementCount(); ++i) {
            const double l = *fx.at(i).toDouble();
            if (l >= 4500 && l <= 7000 && !inMask(l)) {
                EXPECT_NEAR(*fy.at(i).toDouble() / response(l), 1.0, 0.02) << l;
            }
        }
        EXPECT_TRUE(*h.get(h.plot->chart.objCloneLine, dsp::line::Visible).toBool());
        // The residuals: one line a standard point in the spectrum, masked
        // points marked, then the RMS, in the result window.
        ASSERT_EQ(h.result.lines.size(), r.points.size() + 1);
        size_t masked = 0;
        for (size_t i = 0; i < r.points.size(); ++i) {
            const std::string& line = h.result.lines[i];
            EXPECT_NEAR(std::stod(line), r.points[i].wave, 0.006) << line;
            masked += line.find("マスク") != std::string::npos ? 1 : 0;
        }
        EXPECT_GT(masked, 0u);
        EXPECT_EQ(h.result.lines.back().substr(0, 4), "RMS=");

        h.ui.answerDialog(sns);
        d->cmdNext->click();
        QApplication::processEvents();
        EXPECT_EQ(raylen::frmCalib(), nullptr);
        EXPECT_EQ(h.ui.dialogs.back().dialog.DialogTitle, "感度ﾌｧｲﾙの保存");
        EXPECT_EQ(readAll(sns).substr(0, 32), "# unit erg.s-1.cm-2.Angstrom-1\r\n");
        EXPECT_EQ(h.plot->plotY(), observed(-2.0).y) << "the star's spectrum is shown again";
    }
    // A second star through flux calibration with the atmosphere.
    const Spectrum second = observed(-1.1);
    TaskHarness h(second, &raylen::FrmPlot::mnuFluxCalib);
    raylen::FrmCalib* d = h.dialog;
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->picAtmosphere->isVisible());
    EXPECT_FALSE(d->atmosphere.chkApply->isChecked()) << "off until asked: flux calibration as before";
    EXPECT_FALSE(d->atmosphere.txtExptime->isEnabled());
    h.ui.answerDialog(sns);
    d->cmdCalibFile->click();
    d->atmosphere.chkApply->click();
    EXPECT_TRUE(d->atmosphere.txtExptime->isEnabled());
    d->atmosphere.txtExptime->setText("90");
    d->atmosphere.txtAirmass->setText("1.5");
    d->atmosphere.cboExtinction->setCurrentText("kpno");
    d->cmdNext->click();
    ASSERT_EQ(d->intPage(), 2) << (h.ui.shown.empty() ? "" : h.ui.shown.back().prompt);
    const std::vector<float> y = h.plot->plotY();
    double worst = 0;
    for (size_t i = 0; i < second.x.size(); ++i)
        if (second.x[i] >= 4500 && second.x[i] <= 7000)
            worst = std::max(worst, std::fabs(y[i] / star(second.x[i], -1.1) - 1.0));
    EXPECT_LT(worst, 0.02);
}

TEST(CalibAdded, RadialVelocityCorrectionShownAndTakenOver)
{
    Spectrum s{{6500.0f, 6501.0f, 6502.0f}, {1.0f, 2.0f, 3.0f}};
    TaskHarness h(s, &raylen::FrmPlot::mnuBaryCorr);
    raylen::FrmCalib* d = h.dialog;
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(text(d->windowTitle()), "視線速度補正 [ star.txt ]");
    d->bary.txtRa->setText("05:35:17.3");
    d->bary.txtDec->setText("-05:23:28");
    d->bary.txtSite->setText("-111.6,31.96,2120");
    d->bary.txtDateObs->setText("2026-11-20T21:14:05");
    d->bary.txtExptime->setText("600");
    d->bary.txtDateObs->setText("2026-13-20");
    d->cmdNext->click();
    EXPECT_EQ(h.ui.shown.back().prompt, "観測日時が正しくありません");
    EXPECT_EQ(d->intPage(), 1);
    d->bary.txtDateObs->setText("2026-11-20T21:14:05");
    d->cmdNext->click();
    ASSERT_EQ(d->intPage(), 2);
    const double v = d->velocity();
    EXPECT_GT(std::fabs(v), 1.0);
    ASSERT_FALSE(h.result.lines.empty());
    EXPECT_EQ(h.result.lines.front(), "v=" + platform::Format(v, "0.0000") + " km/s");
    EXPECT_EQ(h.plot->plotX(), raylen::shiftWavelengths(s.x, v));
    d->cmdNext->click();
    QApplication::processEvents();
    EXPECT_EQ(appState().sngSpecX, raylen::shiftWavelengths(s.x, v));
}

TEST(CalibAdded, PreviousSolutionIdentifiesTheMovedLampWithoutMarks)
{
    // Yesterday: λ = 5000 + 2p; today the lines sit 7.3 pixels further on.
    const std::vector<double> yesterday{30.2, 80.5, 122.9, 171.3, 215.8, 251.1};
    std::vector<double> today;
    for (double p : yesterday)
        today.push_back(p + 7.3);
    PlotHarness h(lampSpectrum(today), "comp.txt");
    std::string table;
    for (double p : yesterday)
        table += platform::Format(5000.0 + 2.0 * p, "0.00") + "  Ne I\r\n";
    writeAll(h.dir.file("lamp.dat"), table);
    ASSERT_EQ(raylen::sfWriteDispFactor(h.dir.file("old.dip"), 1, {5000.0, 2.0}), "");
    appState().strTableFileName = h.dir.file("lamp.dat");
    h.plot->mnuIdent_Click();
    raylen::FrmIdent* d = raylen::frmIdent();
    ASSERT_NE(d, nullptr);
    d->cmdNext->click();
    ASSERT_EQ(d->intPage(), 2);
    d->txtOrder->setText("1");
    h.ui.answerDialog(h.dir.file("old.dip"));
    h.ui.cancelDialog();
    d->cmdPrevious->click();
    EXPECT_EQ(h.ui.dialogs.back().dialog.DialogTitle, "前回の比較光源を開く（省略可）");
    EXPECT_NEAR(d->lampShift().shift, 7.3, 0.3);
    for (int row = 1; row <= static_cast<int>(today.size()); ++row)
        EXPECT_NEAR(std::stod(text(d->fg2->item(row - 1, 1)->text())), today[static_cast<size_t>(row - 1)], 0.1);
    ASSERT_FALSE(h.result.lines.empty());
    EXPECT_EQ(h.result.lines.front().substr(0, 8), "shift=7.");
    raylen::unloadFrmIdent();
    QApplication::processEvents();
}

TEST(CalibAdded, CoaddOfTheShownSpectrumWithAnother)
{
    Spectrum a{{10, 11, 12, 13}, {1, 1, 1, 1}}, b{{10, 11, 12, 13}, {3, 3, 3, 3}};
    PlotHarness h(a, "a.txt");
    writeAll(h.dir.file("b.txt"), spectrumText(b));
    h.ui.answerDialog(h.dir.file("b.txt"));
    h.ui.cancelDialog();
    h.plot->mnuCoadd->trigger();
    EXPECT_EQ(h.ui.dialogs.back().dialog.DialogTitle, "合成するスペクトルを開く");
    EXPECT_EQ(appState().sngSpecY, std::vector<float>(4, 2.0f));
    EXPECT_EQ(h.plot->plotY(), std::vector<float>(4, 2.0f));
    EXPECT_NE(h.caption().find(" 変更"), std::string::npos);
    EXPECT_EQ(h.result.lines.front(), "合成 2 本 刻み=1.0");
}

namespace {

// 200 points every 2 Å with a known σ and the cards of an observation.
raylen::Spectrum observationWithError(double scale)
{
    raylen::Spectrum s;
    for (int i = 0; i < 200; ++i) {
        s.x.push_back(static_cast<float>(5000.0 + 2.0 * i));
        s.y.push_back(static_cast<float>(scale * (100.0 + 10.0 * std::sin(i / 9.0))));
        s.sigma.push_back(static_cast<float>(scale * (2.0 + 0.5 * std::cos(i / 13.0))));
    }
    for (const char* c : {"OBJECT  = 'HD-1'", "EXPTIME =                 60.0", "AIRMASS =                  1.3",
                          "DATE-OBS= '2026-11-20T21:14:05'"})
        s.meta.cards.push_back(testsupport::card(c));
    return s;
}

std::vector<std::string> keywordsOf(const raylen::SpectrumMeta& meta)
{
    std::vector<std::string> keys;
    for (const std::string& c : meta.cards)
        keys.push_back(c.substr(0, 8));
    return keys;
}

} // namespace

TEST(CalibAdded, VelocityAndAtmosphereInTheWindowsCarryTheUncertaintyAndTheCards)
{
    const raylen::Spectrum in = observationWithError(1.0);
    PlotHarness h(Spectrum{{0, 1}, {0, 1}}, "start.txt");
    ASSERT_EQ(raylen::sfSaveFitsSpectrum(h.dir.file("obs.fits"), in), "");
    h.openThroughDialog(h.dir.file("obs.fits"));
    h.plot = raylen::loadedFrmPlot();
    ASSERT_NE(h.plot, nullptr);

    ASSERT_TRUE(clickMenuItem(h.plot->mnuBaryCorr));
    raylen::FrmCalib* d = raylen::frmCalib();
    ASSERT_NE(d, nullptr);
    d->bary.txtRa->setText("05:35:17.3");
    d->bary.txtDec->setText("-05:23:28");
    d->bary.txtSite->setText("-111.6,31.96,2120");
    d->bary.txtDateObs->setText("2026-11-20T21:14:05");
    d->bary.txtExptime->setText("60");
    d->cmdNext->click();
    ASSERT_EQ(d->intPage(), 2) << (h.ui.shown.empty() ? "" : h.ui.shown.back().prompt);
    const double v = d->velocity();
    EXPECT_EQ(h.plot->plotSigma(), in.sigma) << "the preview keeps the band";
    d->cmdNext->click();
    QApplication::processEvents();
    EXPECT_EQ(appState().sngSpecX, raylen::shiftWavelengths(in.x, v));
    EXPECT_EQ(appState().sngSpecSigma, in.sigma);
    const std::vector<std::string> keys = keywordsOf(appState().specMeta);
    EXPECT_NE(std::find(keys.begin(), keys.end(), "VHELIO  "), keys.end());
    EXPECT_NE(std::find(keys.begin(), keys.end(), "OBJECT  "), keys.end());
    ASSERT_EQ(raylen::historyTexts(appState().specMeta).size(), 1u);
    EXPECT_EQ(raylen::historyTexts(appState().specMeta)[0].substr(0, 23), "barycorr barycentric v=");

    // Flux with exposure and atmosphere: σ divided by the same factor as Y.
    writeAll(h.dir.file("flat.sns"), "# unit erg.s-1.cm-2.Angstrom-1\r\n4000,2e14\r\n6000,4e14\r\n");
    // The changed data is saved first when asked, as FITS: it holds the correction.
    h.ui.answers.push_back(platform::vbYes);
    h.ui.answerDialog(h.dir.file("bary.fits"), 2);
    ASSERT_TRUE(clickMenuItem(h.plot->mnuFluxCalib));
    d = raylen::frmCalib();
    ASSERT_NE(d, nullptr) << (h.ui.shown.empty() ? "" : h.ui.shown.back().prompt);
    raylen::Spectrum corrected;
    ASSERT_EQ(raylen::sfOpenFitsSpectrum(h.dir.file("bary.fits"), corrected), "");
    EXPECT_EQ(corrected.sigma, in.sigma);
    ASSERT_EQ(corrected.x.size(), in.x.size());
    for (size_t i = 0; i < in.x.size(); ++i)
        EXPECT_NEAR(corrected.x[i], in.x[i] * (1 + v / 299792.458), 1e-3) << i; // the image form's scale
    EXPECT_EQ(keywordsOf(corrected.meta), keys);
    h.ui.answerDialog(h.dir.file("flat.sns"));
    d->cmdCalibFile->click();
    d->atmosphere.chkApply->click();
    d->atmosphere.txtExptime->setText("60");
    d->atmosphere.txtAirmass->setText("1.3");
    d->atmosphere.cboExtinction->setCurrentText("kpno");
    const std::vector<float> shiftedX = appState().sngSpecX;
    d->cmdNext->click();
    ASSERT_EQ(d->intPage(), 2) << (h.ui.shown.empty() ? "" : h.ui.shown.back().prompt);
    d->cmdNext->click();
    QApplication::processEvents();
    raylen::ExtinctionTable kpno;
    ASSERT_EQ(raylen::sfReadExtinctionTable(raylen::resolveShippedTable(raylen::extinctionFolder, "kpno"), kpno), "");
    ASSERT_EQ(appState().sngSpecSigma.size(), in.sigma.size());
    double worst = 0;
    for (size_t i = 0; i < in.sigma.size(); ++i) {
        const double l = shiftedX[i];
        const double factor = (2e14 + (l - 4000) * 1e11) * 60.0 * raylen::atmosphericTransmission(kpno, l, 1.3);
        worst = std::max(worst, std::fabs(appState().sngSpecSigma[i] * factor / in.sigma[i] - 1.0));
        worst = std::max(worst, std::fabs(appState().sngSpecY[i] * factor / in.y[i] - 1.0));
    }
    EXPECT_LT(worst, 1e-5);
    EXPECT_EQ(appState().specMeta.fluxUnit, "erg.s-1.cm-2.Angstrom-1");
    const std::vector<std::string> history = raylen::historyTexts(appState().specMeta);
    ASSERT_EQ(history.size(), 2u);
    EXPECT_EQ(history[1], "fluxcal flat.sns T=60 X=1.3 ext=kpno unit=erg.s-1.cm-2.Angstrom-1");

    // Saved as FITS, the file holds them.
    h.ui.answerDialog(h.dir.file("out.fits"), 2);
    h.plot->mnuSaveAs->trigger();
    raylen::Spectrum back;
    ASSERT_EQ(raylen::sfOpenFitsSpectrum(h.dir.file("out.fits"), back), "");
    EXPECT_EQ(back.sigma, appState().sngSpecSigma);
    EXPECT_EQ(raylen::historyTexts(back.meta), history);
    EXPECT_EQ(back.meta.cards.front(), testsupport::card("OBJECT  = 'HD-1'"));
}

TEST(CalibAdded, CoaddInTheWindowWeighsByTheUncertaintyAndKeepsIt)
{
    const raylen::Spectrum a = observationWithError(1.0), b = observationWithError(1.5);
    PlotHarness h(Spectrum{{0, 1}, {0, 1}}, "start.txt");
    ASSERT_EQ(raylen::sfSaveFitsSpectrum(h.dir.file("a.fits"), a), "");
    ASSERT_EQ(raylen::sfSaveFitsSpectrum(h.dir.file("b.fits"), b), "");
    h.openThroughDialog(h.dir.file("a.fits"));
    h.plot = raylen::loadedFrmPlot();
    ASSERT_NE(h.plot, nullptr);
    h.ui.answerDialog(h.dir.file("b.fits"), 2);
    h.ui.cancelDialog();
    ASSERT_TRUE(clickMenuItem(h.plot->mnuCoadd));
    // The window's result is the core's inverse-variance coadd of the two files.
    raylen::Spectrum expected;
    raylen::EvenScale scale;
    ASSERT_EQ(raylen::coaddSpectra({a, b}, 0.0, expected, scale), "");
    ASSERT_FALSE(expected.sigma.empty());
    EXPECT_EQ(appState().sngSpecY, expected.y);
    EXPECT_EQ(appState().sngSpecSigma, expected.sigma);
    EXPECT_EQ(h.plot->plotSigma(), expected.sigma);
    EXPECT_EQ(raylen::historyTexts(appState().specMeta), raylen::historyTexts(expected.meta));
    // b is a × 1.5 with σ × 1.5: the weighted mean is a × (1 + 1.5/1.5²) / (1 + 1/1.5²).
    const double weighted = (1 + 1.5 / 2.25) / (1 + 1 / 2.25);
    for (size_t i : {size_t(0), size_t(50), size_t(199)})
        EXPECT_NEAR(appState().sngSpecY[i], weighted * a.y[i], 1e-5 * a.y[i]) << i;
}
