#include "shell/gui/DocumentLinks.h"

namespace raylen {

namespace {
PlotWindowLink* registeredPlot = nullptr;
ImageWindowLink* registeredImage = nullptr;
} // namespace

ImageWindowLink* imageWindowLink() { return registeredImage; }
void setImageWindowLink(ImageWindowLink* link) { registeredImage = link; }

ImageWindowLink* loadedImageWindow()
{
    return registeredImage != nullptr && registeredImage->isLoaded() ? registeredImage : nullptr;
}

bool unloadImageWindow() { return registeredImage == nullptr || registeredImage->unload(); }

PlotWindowLink* plotWindowLink() { return registeredPlot; }
void setPlotWindowLink(PlotWindowLink* link) { registeredPlot = link; }

ImageDialogLinks& imageDialogLinks()
{
    static ImageDialogLinks links;
    return links;
}

} // namespace raylen
