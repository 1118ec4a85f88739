#pragma once
// Where the measurement routines send their results: the result window and
// the plot window's overlay. Kept as small interfaces so the routines run
// without widgets (CLI, tests).
#include <string>
#include <vector>

namespace raylen {

struct ResultWriter {
    virtual ~ResultWriter() = default;
    virtual std::string sfMessage(const std::string& strMessage) = 0;
};

struct OverlayPlotter {
    virtual ~OverlayPlotter() = default;
    virtual std::string sfPlotLinClone(const std::vector<float>& sngX, const std::vector<float>& sngY) = 0;
};

} // namespace raylen
