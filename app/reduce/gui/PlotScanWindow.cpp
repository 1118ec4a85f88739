// The plot window as the extraction dialog sees it.
#include "plot/gui/FrmPlot.h"
#include "plot/gui/PlotSave.h"
#include "platform/BasicError.h"
#include "reduce/gui/ScanPlotWindow.h"

namespace raylen {

namespace {

// frmPlot() has shown its own message when the window could not be built;
// the step still fails so that the dialog stays on its page.
std::string notLoaded(const char* procedure)
{
    return platform::trapMessage(procedure, platform::errObjectNotSet,
                                 platform::errorDescription(platform::errObjectNotSet));
}

class PlotScanWindow final : public ScanPlotWindow {
public:
    std::string plotLin(const std::vector<float>& x, const std::vector<float>& y) override
    {
        FrmPlot* plot = frmPlot();
        return plot != nullptr ? plot->sfPlotLin(x, y) : notLoaded("sfPlotLin");
    }
    std::string plotLinClone(const std::vector<float>& x, const std::vector<float>& y) override
    {
        FrmPlot* plot = frmPlot();
        return plot != nullptr ? plot->sfPlotLinClone(x, y) : notLoaded("sfPlotLinClone");
    }
    std::string plotRejected(const std::vector<float>& x, const std::vector<float>& y) override
    {
        FrmPlot* plot = frmPlot();
        return plot != nullptr ? plot->sfPlotRejected(x, y) : notLoaded("sfPlotRejected");
    }
    bool isLoaded() const override { return loadedFrmPlot() != nullptr; }
    void dsErasePlot() override
    {
        if (FrmPlot* plot = loadedFrmPlot())
            plot->dsErasePlot();
    }
    void dsErasePlotClone() override
    {
        if (FrmPlot* plot = loadedFrmPlot())
            plot->dsErasePlotClone();
    }
    void dsChangeData(bool blnFlag) override
    {
        if (FrmPlot* plot = loadedFrmPlot())
            plot->dsChangeData(blnFlag);
    }
    std::string sfSaveDataPro(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY,
                              std::string& strFile, bool& blnCancel) override
    {
        return raylen::sfSaveDataPro(sngDataX, sngDataY, strFile, blnCancel);
    }
    void unload() override { unloadFrmPlot(); }
};

} // namespace

ScanPlotWindow& plotWindowForScan()
{
    static PlotScanWindow window;
    return window;
}

} // namespace raylen
