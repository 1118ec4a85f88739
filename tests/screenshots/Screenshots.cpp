// Opens every window of the program on the reduced sample night, the way an
// observer reaches it through the menus, and saves a picture of each.
// Usage: raylen-screenshots NIGHT-DIR OUT-DIR (the night reduced by
// scripts/reduce-night).
#include "ProgramWindows.h"
#include "image/gui/FrmClean.h"
#include "image/gui/FrmCombine.h"
#include "image/gui/FrmDarkFlat.h"
#include "image/gui/FrmImage.h"
#include "image/gui/PicImage.h"
#include "plot/gui/FrmPlot.h"
#include "plot/gui/FrmPlotAxis.h"
#include "plot/gui/FrmResult.h"
#include "reduce/gui/FrmApall.h"
#include "reduce/gui/FrmCalib.h"
#include "reduce/gui/FrmIdent.h"
#include "shell/gui/CommandLine.h"
#include "shell/gui/MdiRaylen.h"
#include "../support/IsolatedSettings.h"

#include <QAction>
#include <QCheckBox>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <string>
#include <utility>

namespace {

QString nightDir, outDir;
int failures = 0;

void settle()
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

void save(QWidget* widget, const char* name)
{
    settle();
    if (widget == nullptr || !widget->isVisible()) {
        std::fprintf(stderr, "raylen-screenshots: no window for %s\n", name);
        ++failures;
        return;
    }
    const QString path = outDir + "/" + name + ".png";
    if (!widget->window()->grab().save(path)) {
        std::fprintf(stderr, "raylen-screenshots: cannot write %s\n", qPrintable(path));
        ++failures;
        return;
    }
    std::printf("%s\n", qPrintable(path));
}

// A modal window (opened by action) is pictured and closed from the event loop.
void saveModal(const std::function<void()>& action, const char* name)
{
    QTimer::singleShot(400, [name] {
        QWidget* modal = QApplication::activeModalWidget();
        save(modal, name);
        if (modal != nullptr)
            modal->close();
    });
    action();
    settle();
}

void mouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

void drag(QWidget* widget, QPoint from, QPoint to)
{
    mouse(widget, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    for (int step = 1; step <= 8; ++step)
        mouse(widget, QEvent::MouseMove, from + (to - from) * step / 8, Qt::NoButton, Qt::LeftButton);
    mouse(widget, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    settle();
}

bool open(const char* file)
{
    std::string message = raylen::openCommandLineFiles({nightDir + "/" + file});
    if (!message.empty()) {
        std::fprintf(stderr, "raylen-screenshots: %s: %s\n", file, message.c_str());
        ++failures;
    }
    settle();
    return message.empty();
}

// The lines the result window shows for a measurement, as raylen-cli printed them.
void showResults(const char* file)
{
    QFile in(nightDir + "/" + file);
    if (!in.open(QIODevice::ReadOnly))
        return;
    QStringList lines = QString::fromUtf8(in.readAll()).split('\n', Qt::SkipEmptyParts);
    raylen::FrmResult* result = raylen::showFrmResult();
    // The window adds each line at the top: feed them bottom first.
    for (auto it = lines.crbegin(); result != nullptr && it != lines.crend(); ++it)
        result->sfMessage(it->toStdString());
}

void takeAll(raylen::MdiRaylen& main)
{
    save(&main, "main-window");

    open("object.fit");
    raylen::FrmImage* image = raylen::frmImage();
    if (image != nullptr) {
        image->parentWidget()->showMaximized();
        settle();
        // The spectrum's region box, dragged with the mouse as the observer draws it.
        drag(image->picImage, QPoint(4, 105), QPoint(1000, 146));
        save(&main, "image-window");
        // Zoomed in about the box with a percentile asinh stretch, then back
        // to the design's view for the windows that follow.
        image->viewMenu->mnuCurve[3]->trigger();
        image->viewMenu->mnuLimits[1]->trigger();
        image->setZoom(false, 2.0, QPoint(300, 125));
        save(&main, "image-window-zoomed");
        image->viewMenu->mnuZoom[1]->trigger();
        image->viewMenu->mnuCurve[0]->trigger();
        image->viewMenu->mnuLimitsMain->trigger();
        image->mnuDarkFlat->trigger();
        settle();
        if (raylen::FrmDarkFlat* dialog = raylen::frmDarkFlat()) {
            // Clicked as the observer does, so that the fields and the button follow.
            if (!dialog->chkDark->isChecked())
                dialog->chkDark->click();
            dialog->txtDarkFileName->setText(nightDir + "/dark.fit");
            if (!dialog->chkFlat->isChecked())
                dialog->chkFlat->click();
            dialog->txtFlatFileName->setText(nightDir + "/flat.fit");
            save(dialog, "darkflat-dialog");
            dialog->close();
        } else
            save(nullptr, "darkflat-dialog");
        for (auto [action, name] : {std::pair{image->mnuClean, "clean-dialog"}, std::pair{image->mnuCombine, "combine-dialog"}}) {
            action->trigger();
            settle();
            QWidget* dialog = name == std::string("clean-dialog") ? static_cast<QWidget*>(raylen::frmClean())
                                                                   : static_cast<QWidget*>(raylen::frmCombine());
            save(dialog, name);
            if (dialog != nullptr)
                dialog->close();
            settle();
        }
        saveModal([image] { image->mnuDispHdr->trigger(); }, "header-window");
        image->mnuScan->trigger();
        settle();
        save(raylen::frmApall(), "extraction-wizard");
        if (raylen::FrmApall* wizard = raylen::frmApall()) {
            wizard->cmdNext->click();
            settle();
            save(wizard, "extraction-wizard-2");
            wizard->close();
        }
        settle();
    }

    open("comp.txt");
    if (raylen::FrmPlot* plot = raylen::frmPlot()) {
        plot->mnuIdent->trigger();
        settle();
        if (raylen::FrmIdent* ident = raylen::frmIdent()) {
            ident->txtCompTable->setText(nightDir + "/lamp.dat");
            save(ident, "identification-dialog");
            ident->cmdNext->click();
            settle();
            save(ident, "identification-lines");
            // Yesterday's solution marks the lines; the fit page plots the residuals.
            if (ident->reidentify((nightDir + "/comp.dip").toStdString(), {}).empty()) {
                ident->cmdNext->click();
                settle();
                ident->cmdFit->click();
                save(ident, "identification-fit");
            } else
                save(nullptr, "identification-fit");
            ident->close();
        } else
            save(nullptr, "identification-dialog");
        settle();
    }

    open("object.txt");
    if (raylen::FrmPlot* plot = raylen::frmPlot()) {
        plot->mnuDispCor->trigger();
        settle();
        if (raylen::FrmCalib* calib = raylen::frmCalib()) {
            calib->txtCalibFile->setText("comp.dip");
            save(calib, "dispersion-dialog");
            calib->close();
        } else
            save(nullptr, "dispersion-dialog");
        settle();
    }

    open("object_w.txt");
    if (raylen::FrmPlot* plot = raylen::frmPlot()) {
        for (auto [task, name] : {std::pair{raylen::taskSensFunc, "response-dialog"},
                                  std::pair{raylen::taskBaryCorr, "velocity-dialog"}}) {
            plot->mnuCalib_Click(task);
            settle();
            save(raylen::frmCalib(), name);
            if (raylen::frmCalib() != nullptr)
                raylen::frmCalib()->close();
            settle();
        }
    }

    open("object_f.txt");
    if (raylen::FrmPlot* plot = raylen::frmPlot()) {
        plot->mnuNormalize->trigger();
        settle();
        save(raylen::frmCalib(), "normalisation-dialog");
        if (raylen::frmCalib() != nullptr)
            raylen::frmCalib()->close();
        settle();
    }

    open("object_n.txt");
    if (raylen::FrmPlot* plot = raylen::frmPlot()) {
        save(&main, "plot-window");
        showResults("halpha.txt");
        showResults("hbeta.txt");
        save(raylen::frmResult(), "result-window");
        plot->mnuAxis->trigger();
        settle();
        save(raylen::frmPlotAxis(), "axis-dialog");
        if (raylen::frmPlotAxis() != nullptr)
            raylen::frmPlotAxis()->close();
        settle();
    }
}

} // namespace

int main(int argc, char** argv)
{
    testsupport::isolateSettings();
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: raylen-screenshots NIGHT-DIR OUT-DIR\n");
        return 2;
    }
    nightDir = QString::fromLocal8Bit(argv[1]);
    outDir = QString::fromLocal8Bit(argv[2]);
    raylen::ProgramWindows programWindows;

    raylen::MdiRaylen main;
    main.resize(1024, 720);
    main.move(0, 0);
    main.show();
    settle();
    QTimer::singleShot(0, [&main] {
        takeAll(main);
        QApplication::exit(failures == 0 ? 0 : 1);
    });
    return QApplication::exec();
}
