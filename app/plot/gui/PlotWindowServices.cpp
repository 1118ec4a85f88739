#include "plot/gui/PlotWindowServices.h"

#include "plot/gui/FrmPlot.h"
#include "plot/gui/PlotPrint.h"

namespace raylen {

namespace {
constexpr double twipsPerInch = 1440.0;
} // namespace

void printPlotWindow()
{
    FrmPlot* plot = loadedFrmPlot();
    if (plot == nullptr || plot->Lumigra1 == nullptr)
        return;
    // The container's size in twips, as the control's Width and Height.
    const QWidget* control = plot->Lumigra1;
    dsPrintGraph(plot->chart.Lumigra1.get(), control->width() * twipsPerInch / control->logicalDpiX(),
                 control->height() * twipsPerInch / control->logicalDpiY(), plot);
}

std::string plotImageCut(const std::vector<float>& sngX, const std::vector<float>& sngY)
{
    FrmPlot* plot = frmPlot();
    if (plot == nullptr)
        return {}; // its load failed and has been reported
    const std::string message = plot->sfPlotLin(sngX, sngY);
    plot->formActivate();
    return message;
}

} // namespace raylen
