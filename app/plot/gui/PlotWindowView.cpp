#include "plot/gui/PlotWindowView.h"

#include "platform/BasicError.h"
#include "plot/gui/FrmPlot.h"
#include "plot/gui/PlotSave.h"

#include <QApplication>

namespace raylen {

namespace {

// frmPlot() has shown its own message when the window could not be built;
// the step still fails so that the caller stays where it is.
std::string missingWindow(const char* procedure)
{
    return platform::trapMessage(procedure, platform::errObjectNotSet,
                                 platform::errorDescription(platform::errObjectNotSet));
}

} // namespace

FrmPlot* PlotWindowView::loaded() const { return window_ != nullptr ? window_ : loadedFrmPlot(); }

FrmPlot* PlotWindowView::loading() const { return window_ != nullptr ? window_ : frmPlot(); }

template <class Call>
std::string PlotWindowView::draw(Call call, const char* procedure, const std::vector<float>& x,
                                 const std::vector<float>& y) const
{
    FrmPlot* plot = loading();
    return plot != nullptr ? (plot->*call)(x, y) : missingWindow(procedure);
}

void PlotWindowView::Show()
{
    if (FrmPlot* plot = loading())
        plot->show();
}

bool PlotWindowView::isLoaded() const { return loaded() != nullptr; }

void PlotWindowView::unload()
{
    if (window_ == nullptr || window_ == loadedFrmPlot())
        unloadFrmPlot();
}

void PlotWindowView::setBusy(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

std::string PlotWindowView::sfPlotLin(const std::vector<float>& x, const std::vector<float>& y)
{
    return draw(&FrmPlot::sfPlotLin, "sfPlotLin", x, y);
}

std::string PlotWindowView::sfPlotLinClone(const std::vector<float>& x, const std::vector<float>& y)
{
    return draw(&FrmPlot::sfPlotLinClone, "sfPlotLinClone", x, y);
}

std::string PlotWindowView::sfPlotSym(const std::vector<float>& x, const std::vector<float>& y)
{
    return draw(&FrmPlot::sfPlotSym, "sfPlotSym", x, y);
}

std::string PlotWindowView::sfPlotSymClone(const std::vector<float>& x, const std::vector<float>& y)
{
    return draw(&FrmPlot::sfPlotSymClone, "sfPlotSymClone", x, y);
}

std::string PlotWindowView::sfPlotUncertainty(const std::vector<float>& sigma)
{
    FrmPlot* plot = loading();
    return plot != nullptr ? plot->sfPlotUncertainty(sigma) : missingWindow("sfPlotUncertainty");
}

std::string PlotWindowView::sfPlotRejected(const std::vector<float>& x, const std::vector<float>& y)
{
    return draw(&FrmPlot::sfPlotRejected, "sfPlotRejected", x, y);
}

void PlotWindowView::dsErasePlot()
{
    if (FrmPlot* plot = loaded())
        plot->dsErasePlot();
}

void PlotWindowView::dsErasePlotClone()
{
    if (FrmPlot* plot = loaded())
        plot->dsErasePlotClone();
}

void PlotWindowView::dsAutoScale()
{
    if (FrmPlot* plot = loaded())
        plot->dsAutoScale();
}

void PlotWindowView::dsSymCrossEnabled(bool blnEnabled)
{
    if (FrmPlot* plot = loaded())
        plot->dsSymCrossEnabled(blnEnabled);
}

void PlotWindowView::dsChangeData(bool blnFlag)
{
    if (FrmPlot* plot = loaded())
        plot->dsChangeData(blnFlag);
}

std::string PlotWindowView::sfSaveDataPro(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY,
                                          std::string& strFile, bool& blnCancel)
{
    return raylen::sfSaveDataPro(sngDataX, sngDataY, strFile, blnCancel);
}

} // namespace raylen
