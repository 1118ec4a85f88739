#include "reduce/gui/PlotWindowPlotter.h"

#include "platform/BasicError.h"
#include "plot/gui/FrmPlot.h"

#include <QApplication>

namespace raylen {

namespace {

std::string missingWindow(const char* procedure)
{
    return platform::trapMessage(procedure, platform::errObjectNotSet,
                                 platform::errorDescription(platform::errObjectNotSet));
}

} // namespace

void PlotWindowPlotter::Show()
{
    if (FrmPlot* plot = frmPlot())
        plot->show();
}

std::string PlotWindowPlotter::sfPlotLin(const std::vector<float>& x, const std::vector<float>& y)
{
    FrmPlot* plot = frmPlot();
    return plot != nullptr ? plot->sfPlotLin(x, y) : missingWindow("sfPlotLin");
}

std::string PlotWindowPlotter::sfPlotLinClone(const std::vector<float>& x, const std::vector<float>& y)
{
    FrmPlot* plot = frmPlot();
    return plot != nullptr ? plot->sfPlotLinClone(x, y) : missingWindow("sfPlotLinClone");
}

std::string PlotWindowPlotter::sfPlotSymClone(const std::vector<float>& x, const std::vector<float>& y)
{
    FrmPlot* plot = frmPlot();
    return plot != nullptr ? plot->sfPlotSymClone(x, y) : missingWindow("sfPlotSymClone");
}

std::string PlotWindowPlotter::sfPlotSym(const std::vector<float>& x, const std::vector<float>& y)
{
    FrmPlot* plot = frmPlot();
    return plot != nullptr ? plot->sfPlotSym(x, y) : missingWindow("sfPlotSym");
}

std::string PlotWindowPlotter::sfPlotRejected(const std::vector<float>& x, const std::vector<float>& y)
{
    FrmPlot* plot = frmPlot();
    return plot != nullptr ? plot->sfPlotRejected(x, y) : missingWindow("sfPlotRejected");
}

void PlotWindowPlotter::dsErasePlotClone()
{
    if (FrmPlot* plot = loadedFrmPlot())
        plot->dsErasePlotClone();
}

void PlotWindowPlotter::dsAutoScale()
{
    if (FrmPlot* plot = loadedFrmPlot())
        plot->dsAutoScale();
}

void PlotWindowPlotter::setBusy(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void eraseBothPlotLines()
{
    if (FrmPlot* plot = loadedFrmPlot()) {
        plot->dsErasePlot();
        plot->dsErasePlotClone();
    }
}

void symbolCrossEnabled(bool enabled)
{
    if (FrmPlot* plot = loadedFrmPlot())
        plot->dsSymCrossEnabled(enabled);
}

} // namespace raylen
