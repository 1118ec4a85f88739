#pragma once
// What the window program sets up before its first window: fonts, icon and
// the links through which the lower windows reach the higher ones. Shared
// by the program and the screenshot taker.
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

inline void setUpProgramWindows()
{
    QApplication::setApplicationName("Raylen");
    installFontSubstitutions();
    registerPlotWindow();
    registerPlotMeasureWindows();
    registerReduceTaskDialogs();
    QApplication::setWindowIcon(programIcon());
    registerImageWindow();
    registerFrmApall(plotWindowView());
}

} // namespace raylen
