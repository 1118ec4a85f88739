#pragma once
// What the window program sets up before its first window: fonts, icon and
// the links through which the lower windows reach the higher ones. Shared
// by the program, the screenshot taker and the end-to-end tests.
#include "image/gui/FrmImplot.h"
#include "image/gui/ImageWindowLink.h"
#include "plot/gui/FrmPlot.h"
#include "plot/gui/MeasureLinks.h"
#include "plot/gui/PlotWindowView.h"
#include "reduce/gui/FrmApall.h"
#include "reduce/gui/FrmCalib.h"
#include "reduce/gui/FrmIdent.h"
#include "shell/gui/DocumentLinks.h"
#include "shell/gui/Fonts.h"
#include "shell/gui/ToolBarIcons.h"

#include <QApplication>

namespace raylen {

// The one owner of the program's window wiring: made once after the
// application object and before the first window, it must outlive every
// window, since the task dialogs draw on the view it holds.
class ProgramWindows {
public:
    ProgramWindows()
    {
        QApplication::setApplicationName("Raylen");
        installFontSubstitutions();
        registerPlotWindow();
        registerPlotMeasureWindows();
        registerReduceTaskDialogs(plotView_);
        QApplication::setWindowIcon(programIcon());
        setImageWindowLink(&imageWindow_);
        registerFrmApall(plotView_);
        wireTaskUnloading();
    }
    ProgramWindows(const ProgramWindows&) = delete;
    ProgramWindows& operator=(const ProgramWindows&) = delete;

    // The default plot window as the view the core and the dialogs draw on.
    SpectrumView& plotView() { return plotView_; }

    // Closing the image window unloads the dialogs that work on its image;
    // closing the plot window those that draw on it.
    static void wireTaskUnloading()
    {
        imageDialogLinks().unloadAll = [] {
            unloadFrmImplot();
            unloadFrmApall();
        };
        plotTaskLinks().unloadTasks = [] {
            unloadFrmIdent();
            unloadFrmCalib();
            unloadFrmApall();
        };
    }

private:
    PlotWindowView plotView_;
    ImageWindow imageWindow_;
};

} // namespace raylen
