#pragma once
// What the wavelength and flux tasks need from the plot window. The window
// implements it; raylen-cli and tests use a recorder or nothing at all, so
// the computations never depend on widgets.
#include <string>
#include <vector>

namespace raylen {

struct TaskPlotter {
    virtual ~TaskPlotter() = default;
    // Shows the plot window (loading it when it is not loaded).
    virtual void Show() = 0;
    // The spectrum itself; a non-empty status is the window's message.
    virtual std::string sfPlotLin(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY) = 0;
    // The second (clone) chart as a line or as symbols.
    virtual std::string sfPlotLinClone(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY) = 0;
    virtual std::string sfPlotSymClone(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY) = 0;
    // The data as symbols on the main chart.
    virtual std::string sfPlotSym(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY) = 0;
    // Marks the points a sigma rejection left out of the fit (empty: none).
    virtual std::string sfPlotRejected(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY) = 0;
    virtual void dsErasePlotClone() = 0;
    virtual void dsAutoScale() = 0;
    // Hourglass pointer around long work.
    virtual void setBusy(bool busy) { (void)busy; }
};

// Plots nothing and never fails (batch runs).
struct NullTaskPlotter : TaskPlotter {
    void Show() override {}
    std::string sfPlotLin(const std::vector<float>&, const std::vector<float>&) override { return {}; }
    std::string sfPlotLinClone(const std::vector<float>&, const std::vector<float>&) override { return {}; }
    std::string sfPlotSymClone(const std::vector<float>&, const std::vector<float>&) override { return {}; }
    std::string sfPlotSym(const std::vector<float>&, const std::vector<float>&) override { return {}; }
    std::string sfPlotRejected(const std::vector<float>&, const std::vector<float>&) override { return {}; }
    void dsErasePlotClone() override {}
    void dsAutoScale() override {}
};

} // namespace raylen
