#pragma once
// The windows the plot window opens or serves that are built elsewhere (a
// registry service the window owner installs). While one is not wired its
// menu command and its keys do nothing.
#include "plot/PlotSinks.h"
#include "shell/gui/WindowRegistry.h"

#include <string>
#include <vector>

namespace raylen {

// What the keys g, m and n ask of the identification dialog.
class IdentKeyTarget {
public:
    virtual ~IdentKeyTarget() = default;
    virtual std::string sfSearchGaussPeakPos(float sngX, const std::vector<float>& sngDataX,
                                             const std::vector<float>& sngDataY) = 0;
    virtual std::string sfSearchPeakPos(float sngX, const std::vector<float>& sngDataX,
                                        const std::vector<float>& sngDataY) = 0;
    // Column 2 of the current row of its grid.
    virtual void setCurrentPixelCell(const std::string& text) = 0;
    // Key l: the automatic identification.
    virtual std::string autoIdentify() { return {}; }
};

class PlotTasks {
public:
    virtual ~PlotTasks() = default;
    virtual void showIdent() {}   // frmIdent, modeless
    virtual void showCalib() {}   // frmCalib for the task already set, modeless
    virtual void unloadTasks() {} // frmIdent, frmApall, frmCalib
    // The identification dialog while it is loaded, else null.
    virtual IdentKeyTarget* identKeyTarget() { return nullptr; }
    // The result window, shown modeless; null when there is none.
    virtual ResultWriter* showResult() { return nullptr; }
    // Heads the result just written with the spectrum's file name.
    virtual void headResult(const std::string& /*fileName*/) {}
    // Printing the chart and the printer setup dialog.
    virtual void printGraph() {}
    virtual void setupPrinter() {}
};

inline PlotTasks& plotTasks() { return windowRegistry().service<PlotTasks>(); }

} // namespace raylen
