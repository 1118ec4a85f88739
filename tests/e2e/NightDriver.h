#pragma once
// Drives the program's windows the way an observer does: the main window's
// File menu, the image window's menus and mouse, the dialogs' buttons, and
// real mouse moves and keys on the plot window's chart. Every file dialog
// and message box is answered from the script.
#include "../shell_gui/GuiHarness.h"

#include "image/gui/FrmDarkFlat.h"
#include "image/gui/FrmImage.h"
#include "image/gui/PicImage.h"
#include "platform/QtUiService.h"
#include "plot/gui/FrmPlot.h"
#include "plot/gui/FrmResult.h"
#include "reduce/gui/FrmApall.h"
#include "reduce/gui/FrmCalib.h"
#include "reduce/gui/FrmIdent.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>

#include <cstdio>

namespace e2e {

using namespace guitest;

// Shortest text that reads back as the same single-precision number, so the
// batch chain gets exactly the marks the windows got.
inline std::string exact(float value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.9g", static_cast<double>(value));
    return buffer;
}

class NightDriver : public Harness {
public:
    // Every message box shown so far, for failure output.
    std::string messages() const
    {
        std::string all;
        for (const auto& shown : ui.shown)
            all += shown.prompt + "\n";
        return all;
    }

    // Opens a file through 開く of the File menu on the menu bar now (the
    // active document window's own, else the main window's); `thenSaveAs`
    // answers the save dialog of a changed image asked about on the way.
    void openFile(const std::string& path, const std::string& thenSaveAs = {})
    {
        const QList<QAction*> bar = main->menuBar()->actions();
        ASSERT_FALSE(bar.isEmpty());
        ASSERT_NE(bar.first()->menu(), nullptr);
        QAction* open = nullptr;
        for (QAction* item : bar.first()->menu()->actions())
            if (item->objectName() == "mnuOpen")
                open = item;
        ASSERT_NE(open, nullptr) << "no 開く in " << text(bar.first()->text());
        if (!thenSaveAs.empty())
            ui.answerDialog(thenSaveAs);
        ui.answerDialog(path);
        open->trigger();
        QApplication::processEvents();
    }

    // The image window's dark/flat dialog with both frames chosen through
    // its browse buttons.
    void darkFlat(const std::string& dark, const std::string& flat)
    {
        ASSERT_NE(raylen::frmImage(), nullptr);
        raylen::frmImage()->mnuDarkFlat->trigger();
        QApplication::processEvents();
        raylen::FrmDarkFlat* d = raylen::frmDarkFlat();
        ASSERT_NE(d, nullptr);
        d->chkDark->click();
        ui.answerDialog(dark);
        d->cmdDarkFileName->click();
        d->chkFlat->click();
        ui.answerDialog(flat);
        d->cmdFlatFileName->click();
        d->cmdOK->click();
        QApplication::processEvents();
        EXPECT_EQ(raylen::frmDarkFlat(), nullptr) << messages();
    }

    // The region box dragged on the picture from one corner pixel to the
    // pixel past the other.
    void dragBox(QPoint from, QPoint past)
    {
        QWidget* pic = raylen::frmImage()->picImage;
        mouse(pic, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        mouse(pic, QEvent::MouseMove, past, Qt::NoButton, Qt::LeftButton);
        mouse(pic, QEvent::MouseButtonRelease, past, Qt::LeftButton, Qt::NoButton);
        QApplication::processEvents();
    }

    raylen::FrmApall* openWizard()
    {
        raylen::frmImage()->mnuScan->trigger();
        QApplication::processEvents();
        return raylen::frmApall();
    }

    // The wizard's last page: 保存 with the spectrum's name answered; the
    // parameter file goes beside it.
    void saveFromWizard(raylen::FrmApall* wizard, const std::string& path)
    {
        ASSERT_EQ(wizard->intPage, 5) << messages();
        ui.answerDialog(path);
        wizard->cmdNext->click();
        QApplication::processEvents();
    }

    raylen::FrmPlot* plot() const { return raylen::loadedFrmPlot(); }

    // Pixel of the chart at data (x, y) under the axis ends drawn now.
    QPointF pixelOf(double x, double y) const
    {
        raylen::FrmPlot* p = plot();
        const raylen::PlotFrame f = p->chart.frame();
        const double perMmX = p->Lumigra1->logicalDpiX() / 25.4;
        const double perMmY = p->Lumigra1->logicalDpiY() / 25.4;
        const double xMm = f.orgX + (x - f.xMin) / (f.xMax - f.xMin) * f.width;
        const double yMm = f.orgY + (y - f.yMin) / (f.yMax - f.yMin) * f.height;
        return {xMm * perMmX, p->Lumigra1->height() - yMm * perMmY};
    }

    // A real mouse move to the data point, then a real key press; returns
    // where the window's cursor was when the key went down.
    std::pair<float, float> keyAt(char c, double x, double y)
    {
        raylen::FrmPlot* p = plot();
        const QPointF at = pixelOf(x, y);
        QMouseEvent move(QEvent::MouseMove, at, p->Lumigra1->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(p->Lumigra1, &move);
        const std::pair<float, float> cursor{p->cursor().sngCursorX, p->cursor().sngCursorY};
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A + (c - 'a'), Qt::NoModifier, QString(QChar::fromLatin1(c)));
        QApplication::sendEvent(p->Lumigra1, &press);
        QApplication::processEvents();
        return cursor;
    }

    // The plot window's data saved through its File menu.
    void saveSpectrum(const std::string& path)
    {
        ui.answerDialog(path);
        plot()->mnuSaveAs->trigger();
        QApplication::processEvents();
    }

    // A calibration dialog run to 完了 with the file chosen through its
    // browse button.
    void calibrate(QAction* menu, const std::string& file)
    {
        menu->trigger();
        QApplication::processEvents();
        raylen::FrmCalib* d = raylen::frmCalib();
        ASSERT_NE(d, nullptr);
        ui.answerDialog(file);
        d->cmdCalibFile->click();
        d->cmdNext->click();
        ASSERT_EQ(d->intPage(), 2) << messages();
        d->cmdNext->click();
        QApplication::processEvents();
        EXPECT_EQ(raylen::frmCalib(), nullptr);
    }

    // The plot window printed through its File menu into a PDF file.
    void printToPdf(const std::string& pdf)
    {
        QPrinter& printer = platform::sharedPrinter();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf));
        ui.answerDialog("");
        plot()->mnuPrint->trigger();
        QApplication::processEvents();
    }
};

} // namespace e2e
