#pragma once
// How well each identified line fits the dispersion solution: the fitted
// wavelength and the residual per grid row, and their RMS. Rows can be
// left out of the fit without losing their measured pixel.
#include "numeric/SigmaReject.h"
#include "reduce/IdentGrid.h"

#include <set>
#include <string>
#include <vector>

namespace raylen {

struct ResidualRow {
    int row = 0;          // grid row
    float pixel = 0;
    float wave = 0;       // table wavelength
    double fitted = 0;    // the solution at the pixel
    double residual = 0;  // wave − fitted
    bool excluded = false; // left out by the user
    bool rejected = false; // left out by the sigma rejection
};

struct ResidualTable {
    std::vector<ResidualRow> rows;
    double rms = 0; // over the rows used in the fit
};

// The grid rows holding both a wavelength and a pixel, as sfInputGridData
// takes them, each marked when it is in `excluded`.
std::vector<ResidualRow> identifiedRows(const IdentGrid& grid, const std::set<int>& excluded);

// The dispersion fit over the rows not excluded (with rejection when
// enabled); dispersionFitWarning on failure, leaving dblA alone.
std::string sfDispersionFitRows(std::vector<ResidualRow>& rows, int16_t intOrder, const RejectOptions& reject,
                                std::vector<double>& dblA);

// Fitted wavelengths, residuals and the RMS of the rows used.
ResidualTable dispersionResiduals(std::vector<ResidualRow> rows, const std::vector<double>& dblA);

// One line per row: "row wavelength pixel fitted residual" and a mark for
// excluded ("除外") or rejected ("棄却") rows, then "RMS=…".
std::string residualTableText(const ResidualTable& table);

} // namespace raylen
