// The identification's rejected rows are marked beside the dispersion
// curve, which stays drawn whole, in the same marks as the other fits.
#include "RejectMarks.h"

#include "platform/Format.h"
#include "reduce/Dispersion.h"
#include "reduce/gui/FrmIdent.h"

#include <QScrollBar>
#include <QTableWidget>

using namespace rejecttest;

namespace {

const std::vector<double> linePixels{25.3, 61.0, 98.7, 140.2, 177.9, 214.4, 250.8, 281.1};
constexpr size_t wrongRow = 4; // 0-based: its table wavelength is 8 Å off

double truthWave(double p) { return 6000.0 + 1.5 * p + 0.0005 * p * p; }

Spectrum lamp() { return lampSpectrum(linePixels); }

struct IdentHarness : PlotHarness {
    IdentHarness() : PlotHarness(lamp(), "lamp.txt")
    {
        std::string table;
        for (size_t i = 0; i < linePixels.size(); ++i)
            table += platform::Format(truthWave(linePixels[i]) + (i == wrongRow ? 8.0 : 0.0), "0.000") + "\r\n";
        writeAll(dir.file("lamp.dat"), table);
        raylen::appState().strTableFileName = dir.file("lamp.dat");
        plot->mnuIdent_Click();
        dialog = raylen::frmIdent();
        clickOn(dialog->cmdNext);
    }
    ~IdentHarness()
    {
        raylen::unloadFrmIdent();
        QApplication::processEvents();
    }
    std::vector<float> cloneData(int16_t index) { return dataColumn(plot->chart.objCloneData, index); }
    raylen::FrmIdent* dialog = nullptr;
};

} // namespace

TEST(IdentReject, RejectedRowIsMarkedAndTheCurveStays)
{
    IdentHarness h;
    raylen::FrmIdent* d = h.dialog;
    ASSERT_NE(d, nullptr);
    ASSERT_EQ(d->intPage(), 2);
    for (size_t i = 0; i < linePixels.size(); ++i) {
        d->setCurrentCell(static_cast<int>(i) + 1, 2);
        h.moveToData(linePixels[i], 500.0);
        h.key('g');
        QApplication::processEvents();
    }
    clickOn(d->cmdNext);
    ASSERT_EQ(d->intPage(), 3);

    // Plain fit: the curve through every row, no marks chart.
    clickOn(d->cmdFit);
    EXPECT_EQ(h.cloneData(1).size(), linePixels.size());
    EXPECT_FALSE(h.plot->chart.objReject);
    EXPECT_EQ(markPixels(drawn(*h.plot)), 0);

    // 2σ, one pass: the wrong row alone is left out and marked at its
    // measured pixel and table wavelength; the curve keeps every row.
    typeReject(d->reject, "2", "2", "1");
    clickOn(d->cmdFit);
    const Spectrum marks = marksOf(*h.plot);
    ASSERT_EQ(marks.x.size(), 1u);
    EXPECT_NEAR(marks.x[0], linePixels[wrongRow], 0.1);
    EXPECT_NEAR(marks.y[0], truthWave(linePixels[wrongRow]) + 8.0, 0.01);
    const std::vector<float> curveX = h.cloneData(1), curveY = h.cloneData(2);
    ASSERT_EQ(curveX.size(), linePixels.size());
    // Without the wrong row the curve is the truth.
    for (size_t i = 0; i < curveX.size(); ++i)
        EXPECT_NEAR(curveY[i], truthWave(curveX[i]), 0.05) << i;
    EXPECT_TRUE(*platform::com::get(h.plot->chart.objCloneLine.get(), dsp::line::Visible).toBool());
    EXPECT_EQ(marksDrawnAtTheirPoints(*h.plot, marks), 1);

    // Boxes emptied: the marks go.
    typeReject(d->reject, "", "", "");
    clickOn(d->cmdFit);
    EXPECT_TRUE(marksOf(*h.plot).x.empty());
    EXPECT_EQ(markPixels(drawn(*h.plot)), 0);
}

TEST(IdentReject, KeysGoToThePlotAndEveryBoxAndResidualIsInView)
{
    IdentHarness h;
    raylen::FrmIdent* d = h.dialog;
    ASSERT_NE(d, nullptr);
    // The marking page hands the keys to the plot.
    EXPECT_EQ(QApplication::focusWidget(), h.plot->Lumigra1);
    EXPECT_FALSE(d->fg2->horizontalScrollBar()->isVisible());
    EXPECT_EQ(boxesMissingTheirClick(d), std::vector<std::string>{});
    for (size_t i = 0; i < linePixels.size(); ++i) {
        d->setCurrentCell(static_cast<int>(i) + 1, 2);
        h.moveToData(linePixels[i], 500.0);
        h.key('g');
    }
    clickOn(d->cmdNext);
    ASSERT_EQ(d->intPage(), 3);
    EXPECT_EQ(boxesMissingTheirClick(d), std::vector<std::string>{});

    // The residual plot holds every line; the wrong one drawn as a red cross.
    typeReject(d->reject, "2", "2", "1");
    clickOn(d->cmdFit);
    const std::vector<raylen::ResidualRow>& rows = d->picResidual->rows();
    ASSERT_EQ(rows.size(), linePixels.size());
    const QImage drawnResiduals = d->picResidual->grab().toImage();
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].rejected, i == wrongRow) << i;
        EXPECT_NEAR(rows[i].residual, i == wrongRow ? 8.0 : 0.0, i == wrongRow ? 0.5 : 0.05) << i;
        const QPoint at = d->picResidual->place(rows[i].pixel, rows[i].residual).toPoint();
        const QColor colour = drawnResiduals.pixelColor(at);
        if (i == wrongRow)
            EXPECT_TRUE(colour.red() > 200 && colour.green() < 80) << colour.name().toStdString();
        else
            EXPECT_LT(colour.lightness(), 60) << i << " " << colour.name().toStdString();
    }
}
