// The plot window as the shell sees it (PlotWindowLink).
#include "plot/gui/FrmPlot.h"
#include "state/AppState.h"
#include "shell/gui/DocumentLinks.h"

#include <QAction>
#include <QMenu>

namespace raylen {

namespace {

class PlotLink final : public PlotWindowLink {
public:
    bool isLoaded() const override { return loadedFrmPlot() != nullptr; }
    void unload() override { unloadFrmPlot(); }
    bool dfIsDataChange() override
    {
        FrmPlot* plot = loadedFrmPlot();
        return plot != nullptr && plot->dfIsDataChange();
    }
    void dsUnloadForm(bool& blnCancel) override
    {
        blnCancel = false;
        if (FrmPlot* plot = loadedFrmPlot())
            plot->dsUnloadForm(blnCancel);
    }
    std::string showSpectrum(const std::string& strFileName) override
    {
        FrmPlot* plot = frmPlot();
        if (plot == nullptr)
            return {};
        std::string message = plot->sfInitForm(strFileName);
        // A curve or marks a closed dialog left belong to the last file, and
        // would also widen the new file's automatic scale.
        if (message.empty()) {
            plot->dsErasePlotClone();
            message = plot->sfPlotRejected({}, {});
        }
        if (message.empty())
            message = plot->sfPlotLin(appState().sngSpecX, appState().sngSpecY);
        if (message.empty() && !appState().sngSpecSigma.empty())
            message = plot->sfPlotUncertainty(appState().sngSpecSigma);
        plot->formActivate();
        return message;
    }
    void toolBarAction(const std::string& key) override
    {
        FrmPlot* plot = loadedFrmPlot();
        if (plot == nullptr)
            return;
        if (key == "Open")
            plot->mnuOpen_Click();
        else if (key == "SaveAs")
            plot->mnuSaveAs_Click();
        else if (key == "Print")
            plot->mnuPrint_Click();
        else if (key == "Axis")
            plot->mnuAxis_Click();
        else if (key == "Ident")
            plot->mnuIdent_Click();
        else if (key == "Dispcor")
            plot->mnuCalib_Click(taskDispCor);
        else if (key == "Fluxcalib")
            plot->mnuCalib_Click(taskFluxCalib);
        else if (key == "Normalize")
            plot->mnuCalib_Click(taskNormalize);
        else if (key == "FFT")
            plot->mnuCalib_Click(taskFFT);
        else if (key == "Result")
            plot->mnuResult_Click();
    }
    void setTaskMenusEnabled(bool blnEnabled) override
    {
        if (FrmPlot* plot = loadedFrmPlot()) {
            plot->mnuFile->menuAction()->setEnabled(blnEnabled);
            for (QAction* item : {plot->mnuIdent, plot->mnuDispCor, plot->mnuFluxCalib, plot->mnuNormalize,
                                  plot->mnuFFT, plot->mnuSensFunc, plot->mnuBaryCorr, plot->mnuCoadd})
                item->setEnabled(blnEnabled);
        }
    }
};

} // namespace

std::unique_ptr<PlotWindowLink> makePlotWindowLink() { return std::make_unique<PlotLink>(); }

} // namespace raylen
