#pragma once
// The plot window as the wavelength and flux tasks draw on it.
#include "reduce/TaskPlotter.h"

namespace raylen {

class FrmPlot;

// Loads the plot window on first use; while it cannot be loaded every call
// reports the missing object.
class PlotWindowPlotter final : public TaskPlotter {
public:
    void Show() override;
    std::string sfPlotLin(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY) override;
    std::string sfPlotLinClone(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY) override;
    std::string sfPlotSymClone(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY) override;
    std::string sfPlotSym(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY) override;
    std::string sfPlotRejected(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY) override;
    void dsErasePlotClone() override;
    void dsAutoScale() override;
    void setBusy(bool busy) override;
};

// Both lines of the plot window erased, when it is loaded.
void eraseBothPlotLines();
// The symbol cross of the plot window on or off, when it is loaded.
void symbolCrossEnabled(bool enabled);

} // namespace raylen
