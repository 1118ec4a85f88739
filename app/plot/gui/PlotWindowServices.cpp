#include "plot/gui/PlotWindowServices.h"

#include "plot/gui/FrmPlot.h"
#include "plot/gui/PlotPrint.h"
#include "shell/gui/Fonts.h"

namespace raylen {

void printPlotWindow()
{
    FrmPlot* plot = loadedFrmPlot();
    if (plot == nullptr || plot->Lumigra1 == nullptr)
        return;
    // The container's size in twips, as the control's Width and Height when
    // first laid out: a resized window prints as the design's page does.
    const QWidget* control = plot->Lumigra1;
    const QSize size = plot->chartDesignSize();
    dsPrintGraph(plot->chart.Lumigra1.get(), size.width() * twipsPerInch / control->logicalDpiX(),
                 size.height() * twipsPerInch / control->logicalDpiY(), plot);
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
