#pragma once
// The windows the plot window opens or serves that are built elsewhere: the
// identification and calibration dialogs register here. While one is not
// registered its menu command and its keys do nothing.
#include "plot/PlotSinks.h"

#include <functional>
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

struct PlotTaskLinks {
    std::function<void()> showIdent;      // frmIdent, modeless
    std::function<void()> showCalib;      // frmCalib for the task already set, modeless
    std::function<void()> unloadTasks;    // frmIdent, frmApall, frmCalib
    IdentKeyTarget* ident = nullptr;      // while the identification dialog is loaded
    // The result window, shown modeless; null when there is none.
    std::function<ResultWriter*()> showResult;
    std::function<void()> unloadResult;
    // Printing the chart and the printer setup dialog.
    std::function<void()> printGraph;
    std::function<void()> setupPrinter;
};
PlotTaskLinks& plotTaskLinks();

} // namespace raylen
