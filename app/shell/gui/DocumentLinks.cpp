#include "shell/gui/DocumentLinks.h"

#include "shell/gui/WindowRegistry.h"

namespace raylen {

ImageWindowLink* imageWindowLink() { return windowRegistry().imageWindow; }
void setImageWindowLink(ImageWindowLink* link) { windowRegistry().imageWindow = link; }

ImageWindowLink* loadedImageWindow()
{
    ImageWindowLink* link = imageWindowLink();
    return link != nullptr && link->isLoaded() ? link : nullptr;
}

bool unloadImageWindow()
{
    ImageWindowLink* link = imageWindowLink();
    return link == nullptr || link->unload();
}

PlotWindowLink* plotWindowLink() { return windowRegistry().plotWindow; }
void setPlotWindowLink(PlotWindowLink* link) { windowRegistry().plotWindow = link; }

} // namespace raylen
