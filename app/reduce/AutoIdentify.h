#pragma once
// Automatic line identification: from a dispersion fit of at least three
// rows, predict the pixel of every further table line inside the spectrum,
// measure it as key g does, keep it when the measurement lies within the
// tolerance of the prediction, refit, and repeat until no line is added.
#include "numeric/SigmaReject.h"
#include "reduce/IdentGrid.h"

#include <set>
#include <string>
#include <vector>

namespace raylen {

constexpr double defaultAutoTolerance = 1.0; // pixels
constexpr int minimumAutoRows = 3;

struct AutoIdentifySettings {
    int16_t search = 8;
    double halfWidth = 1.0;
    int16_t order = 2;
    double tolerance = defaultAutoTolerance;
    RejectOptions reject;
};

// The pixel where the solution reaches `wave`, searched between the first
// and last X; false when it does not reach it there.
bool predictPixel(const std::vector<double>& dblA, double wave, double firstX, double lastX, double& pixel);

// Fills the pixel column of the grid; excluded rows are neither measured
// nor fitted. `added` counts the new rows, dblA gets the last fit.
// Fewer than three usable rows: "自動同定には3本以上の同定が必要です".
std::string sfAutoIdentify(IdentGrid& grid, const std::set<int>& excluded, const std::vector<float>& compX,
                           const std::vector<float>& compY, const AutoIdentifySettings& settings,
                           std::vector<double>& dblA, int& added);

} // namespace raylen
