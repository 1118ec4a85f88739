#pragma once
// The one seam between the core and the plot window, as a table of calls in
// lettered groups. The reduction and measurement routines draw through it;
// the window program passes the plot window's view, raylen-cli and the
// tests the null view (or a recorder of their own), so the core never
// depends on widgets and no caller checks for a missing window.
//
// Every std::string returned is a status: empty when done, else the
// window's message for the caller to show.
#include <string>
#include <vector>

namespace raylen {

class SpectrumView {
public:
    virtual ~SpectrumView() = default;

    // A. The window itself.
    // Shows the window, loading it when it is not loaded.
    virtual void Show() = 0;
    // Whether the window is loaded now (nothing is loaded by asking).
    virtual bool isLoaded() const = 0;
    // Unloads the window (its save question may keep it).
    virtual void unload() = 0;
    // The hourglass pointer around long work.
    virtual void setBusy(bool busy) = 0;

    // B. Drawing. Each call loads the window when it is not loaded.
    // The spectrum itself.
    virtual std::string sfPlotLin(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY) = 0;
    // The second (clone) chart as a line.
    virtual std::string sfPlotLinClone(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY) = 0;
    // The data as symbols on the main chart.
    virtual std::string sfPlotSym(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY) = 0;
    // The second chart as symbols (marks).
    virtual std::string sfPlotSymClone(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY) = 0;
    // The points a sigma rejection left out of its fit (empty: none).
    virtual std::string sfPlotRejected(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY) = 0;
    // The uncertainty (one σ per point) of the spectrum just drawn by
    // sfPlotLin, which forgets it again; empty: none. The window shows it
    // only when its ±1σ toggle is on, and uses it in its measurements.
    virtual std::string sfPlotUncertainty(const std::vector<float>& sngSigma) = 0;

    // C. Erasing and the axes. These act on a loaded window only.
    virtual void dsErasePlot() = 0;
    virtual void dsErasePlotClone() = 0;
    virtual void dsAutoScale() = 0;
    // The symbol cross on the main chart on or off.
    virtual void dsSymCrossEnabled(bool blnEnabled) = 0;

    // D. The document.
    // The changed mark (acts on a loaded window only).
    virtual void dsChangeData(bool blnFlag) = 0;
    // The save dialog and the text file; strFile receives the chosen name,
    // blnCancel whether no file was written by the user's choice.
    virtual std::string sfSaveDataPro(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY,
                                      std::string& strFile, bool& blnCancel) = 0;
};

// Shows nothing and never fails: batch runs and tests. Recorders derive
// from it and override what they collect.
class NullSpectrumView : public SpectrumView {
public:
    void Show() override {}
    bool isLoaded() const override { return false; }
    void unload() override {}
    void setBusy(bool) override {}
    std::string sfPlotLin(const std::vector<float>&, const std::vector<float>&) override { return {}; }
    std::string sfPlotLinClone(const std::vector<float>&, const std::vector<float>&) override { return {}; }
    std::string sfPlotSym(const std::vector<float>&, const std::vector<float>&) override { return {}; }
    std::string sfPlotSymClone(const std::vector<float>&, const std::vector<float>&) override { return {}; }
    std::string sfPlotRejected(const std::vector<float>&, const std::vector<float>&) override { return {}; }
    std::string sfPlotUncertainty(const std::vector<float>&) override { return {}; }
    void dsErasePlot() override {}
    void dsErasePlotClone() override {}
    void dsAutoScale() override {}
    void dsSymCrossEnabled(bool) override {}
    void dsChangeData(bool) override {}
    // Nothing is shown, so nothing is chosen: reported as a cancel.
    std::string sfSaveDataPro(const std::vector<float>&, const std::vector<float>&, std::string&,
                              bool& blnCancel) override
    {
        blnCancel = true;
        return {};
    }
};

} // namespace raylen
