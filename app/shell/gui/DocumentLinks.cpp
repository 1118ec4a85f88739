#include "shell/gui/DocumentLinks.h"

namespace raylen {

namespace {
PlotWindowLink* registeredPlot = nullptr;
}

PlotWindowLink* plotWindowLink() { return registeredPlot; }
void setPlotWindowLink(PlotWindowLink* link) { registeredPlot = link; }

ImageDialogLinks& imageDialogLinks()
{
    static ImageDialogLinks links;
    return links;
}

} // namespace raylen
