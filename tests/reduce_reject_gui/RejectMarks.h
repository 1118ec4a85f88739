#pragma once
// The rejected-point marks as the plot window holds them (the data of their
// chart) and as it draws them (pixels of the marks' own red).
#include "../plot_gui/PlotHarness.h"

#include "reduce/gui/RejectFields.h"

#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace rejecttest {

using namespace plottest;

// Clicks every box the dialog shows where it is drawn, through the window
// as a user's click goes, and names each box that did not take the focus.
inline std::vector<std::string> boxesMissingTheirClick(QWidget* dialog)
{
    dialog->activateWindow();
    QApplication::setActiveWindow(dialog);
    QApplication::processEvents();
    std::vector<std::string> missed;
    for (QLineEdit* box : dialog->findChildren<QLineEdit*>()) {
        if (!box->isVisible() || !box->isEnabled())
            continue;
        const QPoint at = box->mapTo(dialog, box->rect().center());
        QTest::mouseClick(dialog->windowHandle(), Qt::LeftButton, {}, at);
        QApplication::processEvents();
        if (QApplication::focusWidget() != box)
            missed.push_back(box->objectName().toStdString());
    }
    return missed;
}

// The marks' pen; the fitted line's dashes are 255, 0, 0.
inline constexpr QRgb markRed = qRgb(254, 0, 0);

// One column (1 X, 2 Y) of a chart's data; empty when it holds none.
inline std::vector<float> dataColumn(const raylen::ChartObject& data, int16_t index)
{
    namespace com = platform::com;
    std::vector<float> values;
    if (!data)
        return values;
    const com::Variant v = com::call(data.get(), dsp::data::GetData, {com::Variant::fromI2(index)});
    for (size_t i = 0; v.isArray() && i < v.elementCount(); ++i)
        values.push_back(static_cast<float>(*v.at(i).toDouble()));
    return values;
}

// The points on the marks' chart; none while that chart was never made.
inline Spectrum marksOf(raylen::FrmPlot& plot)
{
    return {dataColumn(plot.chart.objRejectData, 1), dataColumn(plot.chart.objRejectData, 2)};
}

inline int markPixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == markRed ? 1 : 0;
    return count;
}

inline bool markNear(const QImage& image, QPointF at, int radius)
{
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx) {
            const QPoint p(int(at.x()) + dx, int(at.y()) + dy);
            if (image.valid(p) && image.pixel(p) == markRed)
                return true;
        }
    return false;
}

inline QImage drawn(raylen::FrmPlot& plot)
{
    plot.Lumigra1->repaint();
    return plot.Lumigra1->grab().toImage();
}

// Every mark drawn at its point, within a few pixels.
inline int marksDrawnAtTheirPoints(raylen::FrmPlot& plot, const Spectrum& marks)
{
    const QImage image = drawn(plot);
    int found = 0;
    for (size_t i = 0; i < marks.x.size(); ++i)
        found += markNear(image, pixelOf(plot, marks.x[i], marks.y[i]), 3) ? 1 : 0;
    return found;
}

// Typed key by key over whatever the box held.
inline void typeInto(QLineEdit* box, const char* text)
{
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, QString::fromUtf8(text));
}

inline void typeReject(raylen::RejectFields& fields, const char* low, const char* high, const char* iterations)
{
    typeInto(fields.boxes[0], low);
    typeInto(fields.boxes[1], high);
    typeInto(fields.boxes[2], iterations);
}

inline void clickOn(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

} // namespace rejecttest
