// The identification dialog's residual columns, row exclusion, automatic
// identification (button and key l) and rejection boxes.
#include "../plot_gui/PlotHarness.h"

#include "platform/BasicRuntime.h"
#include "platform/Format.h"
#include "reduce/gui/FrmIdent.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

using namespace plottest;
using raylen::FrmIdent;

namespace {

const std::vector<double> autoPixels{30.2, 80.6, 131.1, 182.4, 229.8, 270.5};

double autoWave(double p) { return 6000.0 + 1.5 * p + 0.0005 * p * p; }

Spectrum autoLamp() { return lampSpectrum(autoPixels); }

struct AutoHarness : PlotHarness {
    AutoHarness() : PlotHarness(autoLamp(), "lamp.txt")
    {
        std::string table;
        for (double p : autoPixels)
            table += platform::Format(autoWave(p), "0.000") + "\r\n";
        writeAll(dir.file("lamp.dat"), table);
        raylen::appState().strTableFileName = dir.file("lamp.dat");
        plot->mnuIdent_Click();
        dialog = raylen::frmIdent();
        dialog->cmdNext->click();
    }
    ~AutoHarness()
    {
        raylen::unloadFrmIdent();
        QApplication::processEvents();
    }
    void measure(int row)
    {
        dialog->setCurrentCell(row, 2);
        moveToData(autoPixels[static_cast<size_t>(row - 1)], 500.0);
        key('g');
        QApplication::processEvents();
    }
    std::string item(int row, int col) { return text(dialog->fg2->item(row - 1, col)->text()); }
    FrmIdent* dialog = nullptr;
};

} // namespace

TEST(IdentAuto, KeyLFindsTheRestAndFillsTheResidualColumns)
{
    AutoHarness h;
    FrmIdent* d = h.dialog;
    ASSERT_EQ(d->intPage(), 2);
    ASSERT_EQ(d->fg2->columnCount(), 4);
    EXPECT_EQ(text(d->fg2->horizontalHeaderItem(2)->text()), "ﾌｨｯﾄ波長");
    EXPECT_EQ(text(d->fg2->horizontalHeaderItem(3)->text()), "残差");
    EXPECT_EQ(text(d->cmdAuto->text()), "自動同定");
    EXPECT_EQ(text(d->txtTolerance->text()), "1");

    // Two rows are not enough.
    h.measure(1);
    h.measure(3);
    d->cmdAuto->click();
    EXPECT_EQ(h.ui.shown.back().prompt, "自動同定には3本以上の同定が必要です");
    h.measure(6);
    h.key('l');
    QApplication::processEvents();
    for (int row = 1; row <= 6; ++row) {
        ASSERT_FALSE(h.item(row, 1).empty()) << row;
        EXPECT_NEAR(std::stod(h.item(row, 1)), autoPixels[static_cast<size_t>(row - 1)], 0.1) << row;
        const double fitted = std::stod(h.item(row, 2));
        EXPECT_NEAR(fitted, autoWave(autoPixels[static_cast<size_t>(row - 1)]), 0.2) << row;
        // Residual against the grid's wavelength text, shown to 0.001.
        EXPECT_NEAR(std::stod(h.item(row, 3)), platform::leadingNumber(h.item(row, 0)) - fitted, 0.0011) << row;
    }

    // Row 4 left out: it keeps its pixel, and the fit uses five rows.
    d->setCurrentCell(4, 2);
    d->cmdExclude->click();
    EXPECT_EQ(h.item(4, 3), "除外");
    EXPECT_FALSE(h.item(4, 1).empty());
    d->cmdNext->click();
    ASSERT_EQ(d->intPage(), 3);
    d->cmdFit->click();
    EXPECT_NE(text(d->lblResidual->text()).find("(5本)"), std::string::npos) << text(d->lblResidual->text());
    EXPECT_EQ(text(d->lblResidual->text()).rfind("RMS=", 0), 0u);
    EXPECT_NE(h.item(4, 3).find(" 除外"), std::string::npos);

    // Rejection boxes: a bad value is refused, good ones fit.
    d->reject.boxes[0]->setText("x");
    d->reject.boxes[1]->setText("3");
    d->cmdFit->click();
    EXPECT_EQ(h.ui.shown.back().prompt, "棄却の値が正しくありません");
    d->reject.boxes[0]->setText("3");
    const size_t shown = h.ui.shown.size();
    d->cmdFit->click();
    EXPECT_EQ(h.ui.shown.size(), shown);
    EXPECT_TRUE(d->cmdNext->isEnabled());

    // Included again from page 2.
    d->cmdReturn->click();
    ASSERT_EQ(d->intPage(), 2);
    d->setCurrentCell(4, 2);
    d->cmdExclude->click();
    EXPECT_EQ(h.item(4, 3), "");
    EXPECT_TRUE(d->excludedRows().empty());
}
