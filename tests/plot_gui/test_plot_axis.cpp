// The axis dialog against the plot window's chart.
#include "PlotHarness.h"

#include "lumigra/Constants.h"
#include "plot/gui/FrmPlotAxis.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace plottest {
namespace {

using raylen::frmPlotAxis;

TEST(PlotAxisDialog, ShowsTheRangesDrawnAndAppliesTypedOnes)
{
    PlotHarness h(ramp(100, 6500, 1, 1.5E-15f, 1.7E-17f));
    h.plot->dsSetRangeAxisY(false, 3.2E-15f, 1.5E-15f, 1);
    h.plot->Lumigra1->repaint();
    h.plot->mnuAxis->trigger();
    raylen::FrmPlotAxis* d = frmPlotAxis();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(text(d->windowTitle()), "座標");
    // X automatic, Y manual: only chkAutoX is ticked; the boxes of X are off.
    EXPECT_TRUE(d->chkAutoX->isChecked());
    EXPECT_FALSE(d->txtMaxX->isEnabled());
    EXPECT_FALSE(d->chkAutoY->isChecked());
    EXPECT_TRUE(d->txtMaxY->isEnabled());
    EXPECT_EQ(text(d->txtMaxX->text()), "6600");
    EXPECT_EQ(text(d->txtMinX->text()), "6500");
    EXPECT_EQ(text(d->txtMaxY->text()), "0");
    EXPECT_EQ(text(d->txtMinY->text()), "0");
    EXPECT_FALSE(d->chkLogY->isChecked());

    // OK with the rounded boxes sets the Y range 0 … 0.
    QTest::mouseClick(d->cmdOK, Qt::LeftButton);
    bool automatic = false;
    float maximum = -1, minimum = -1;
    int16_t style = 0;
    h.plot->dsGetRangeAxisY(automatic, maximum, minimum, style);
    EXPECT_FALSE(automatic);
    EXPECT_EQ(maximum, 0);
    EXPECT_EQ(minimum, 0);

    // Unticking X and typing a range; Enter in a box applies it.
    QTest::mouseClick(d->chkAutoX, Qt::LeftButton, {}, QPoint(5, d->chkAutoX->height() / 2));
    EXPECT_TRUE(d->txtMaxX->isEnabled());
    d->txtMaxX->setText("6570abc");
    d->txtMinX->setText("x");
    QTest::keyClick(d->txtMinX, Qt::Key_Return);
    h.plot->dsGetRangeAxisX(automatic, maximum, minimum);
    EXPECT_EQ(maximum, 6570);
    EXPECT_EQ(minimum, 0);

    // Logarithmic Y keeps the manual selection.
    QTest::mouseClick(d->chkLogY, Qt::LeftButton, {}, QPoint(5, d->chkLogY->height() / 2));
    d->txtMaxY->setText("100");
    d->txtMinY->setText("1");
    QTest::mouseClick(d->cmdOK, Qt::LeftButton);
    EXPECT_EQ(*h.get(h.plot->chart.objAxisY, dsp::xyAxis::Style).toI2(), lumigra::lgXyAxisNumericLog10);
    EXPECT_EQ(h.selection(h.plot->chart.objAxisY, true), lumigra::lgSelectionManual);

    // Both automatic again.
    QTest::mouseClick(d->chkAutoX, Qt::LeftButton, {}, QPoint(5, d->chkAutoX->height() / 2));
    QTest::mouseClick(d->chkAutoY, Qt::LeftButton, {}, QPoint(5, d->chkAutoY->height() / 2));
    QTest::mouseClick(d->cmdOK, Qt::LeftButton);
    EXPECT_EQ(h.selection(h.plot->chart.objAxisX, true), lumigra::lgSelectionAutomatic);
    EXPECT_EQ(h.selection(h.plot->chart.objAxisY, false), lumigra::lgSelectionAutomatic);
    EXPECT_TRUE(h.ui.shown.empty());

    QTest::mouseClick(d->cmdCancel, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(frmPlotAxis(), nullptr);
}

TEST(PlotAxisDialog, GoesWithThePlotWindow)
{
    PlotHarness h(ramp(10, 0, 1, 0, 1));
    h.plot->mnuAxis->trigger();
    ASSERT_NE(frmPlotAxis(), nullptr);
    EXPECT_TRUE(raylen::unloadFrmPlot());
    QApplication::processEvents();
    EXPECT_EQ(frmPlotAxis(), nullptr);
}

} // namespace
} // namespace plottest
