#pragma once
// What the extraction dialog asks of the plot window beyond plotting: its
// loaded state, erasing its lines, the changed mark, the spectrum save and
// unloading. The plot window registers its implementation; while none is
// registered the program has no extraction dialog.
#include "reduce/ScanPlotter.h"

#include <string>
#include <vector>

namespace raylen {

class ScanPlotWindow : public ScanPlotter {
public:
    virtual bool isLoaded() const = 0;
    virtual void dsErasePlot() = 0;
    virtual void dsErasePlotClone() = 0;
    virtual void dsChangeData(bool blnFlag) = 0;
    // The save dialog and the text file; strFile receives the chosen name.
    virtual std::string sfSaveDataPro(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY,
                                      std::string& strFile, bool& blnCancel) = 0;
    virtual void unload() = 0;
};

ScanPlotWindow* scanPlotWindow();
void setScanPlotWindow(ScanPlotWindow* window);
// The plot window's own implementation.
ScanPlotWindow& plotWindowForScan();

} // namespace raylen
