#pragma once
// The plot window as the spectrum view: the one implementation the window
// program passes to the core and to the task dialogs.
#include "view/SpectrumView.h"

namespace raylen {

class FrmPlot;

// Bound to one window, or (window null) to the default instance, loaded on
// first drawing. While the window cannot be loaded every drawing call
// reports the missing object; erasing and marking skip an unloaded window.
class PlotWindowView final : public SpectrumView {
public:
    explicit PlotWindowView(FrmPlot* window = nullptr) : window_(window) {}

    void Show() override;
    bool isLoaded() const override;
    void unload() override;
    void setBusy(bool busy) override;
    std::string sfPlotLin(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY) override;
    std::string sfPlotLinClone(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY) override;
    std::string sfPlotSym(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY) override;
    std::string sfPlotSymClone(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY) override;
    std::string sfPlotRejected(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY) override;
    std::string sfPlotUncertainty(const std::vector<float>& sngSigma) override;
    void dsErasePlot() override;
    void dsErasePlotClone() override;
    void dsAutoScale() override;
    void dsSymCrossEnabled(bool blnEnabled) override;
    void dsChangeData(bool blnFlag) override;
    std::string sfSaveDataPro(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY,
                              std::string& strFile, bool& blnCancel) override;

private:
    FrmPlot* loaded() const;
    FrmPlot* loading() const;
    // A drawing call on the window, loading it first; the missing-object
    // message when it cannot be built.
    template <class Call>
    std::string draw(Call call, const char* procedure, const std::vector<float>& x,
                     const std::vector<float>& y) const;

    FrmPlot* window_;
};

} // namespace raylen
