#pragma once
// What the window program sets up before its first window: fonts, icon and
// the links through which the lower windows reach the higher ones. Shared
// by the program, the screenshot taker and the end-to-end tests.
#include "image/gui/ImageWindowLink.h"
#include "plot/gui/FrmPlot.h"
#include "plot/gui/MeasureLinks.h"
#include "plot/gui/PlotWindowView.h"
#include "reduce/gui/FrmApall.h"
#include "reduce/gui/FrmCalib.h"
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
        registerImageWindow();
        registerFrmApall(plotView_);
    }
    ProgramWindows(const ProgramWindows&) = delete;
    ProgramWindows& operator=(const ProgramWindows&) = delete;

    // The default plot window as the view the core and the dialogs draw on.
    SpectrumView& plotView() { return plotView_; }

private:
    PlotWindowView plotView_;
};

} // namespace raylen
