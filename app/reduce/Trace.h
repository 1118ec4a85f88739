#pragma once
// The spectrum's trace: its centre measured in every column of the region,
// and the polynomial fitted through those centres.
#include "numeric/Array2D.h"
#include "numeric/SigmaReject.h"
#include "reduce/ScanParam.h"
#include "view/SpectrumView.h"

#include <cstdint>
#include <string>
#include <vector>

namespace raylen {

// Counts at or below this level do not pull the centre.
inline constexpr double kPeakThreshold = 10.0;

// For x = X1 … X2: sngScanX = x, sngScanY = the centroid of
// image(x, y) − threshold over the rows Y1 … Y2 where that is positive, or
// the middle row Y1 + (Y2 − Y1) / 2 where nothing is. A non-zero flag
// returns at once. The outputs change only on success.
std::string sfInputPeakData(int16_t intFlag, const SingleImage& sngImage, int32_t lngX1, int32_t lngX2, int32_t lngY1,
                            int32_t lngY2, std::vector<float>& sngScanX, std::vector<float>& sngScanY);

// The centres, then plotted as the spectrum.
std::string sfPlotPeak(int16_t intFlag, const SingleImage& sngImage, int32_t lngX1, int32_t lngX2, int32_t lngY1,
                       int32_t lngY2, std::vector<float>& sngScanX, std::vector<float>& sngScanY,
                       SpectrumView& plotter);

// The slit profile of the region (each row's mean over the columns), plotted
// as the spectrum.
std::string sfPlotRegion(int16_t intDirct, const SingleImage& sngImage, int32_t lngX1, int32_t lngX2, int32_t lngY1,
                         int32_t lngY2, SpectrumView& plotter);

struct TraceFit {
    std::string status;
    // The least-squares failure is a refused input, not a fault.
    bool leastSquaresFailed = false;
    // "結果 …" followed by one "ak=" line per coefficient.
    std::vector<std::string> resultLines;
    // The fitted trace at every sngScanX.
    std::vector<float> fitY;
    // Columns left out by the sigma rejection (all 0 without it).
    std::vector<char> rejected;
};

// The trace fit of the order typed in `orderText`: on success the order and
// coefficients are stored in the record together; on any failure the
// record is left as it was. An order above 50 cannot be stored.
// With rejection enabled, deviant centres are left out of the fit.
TraceFit fitTrace(const std::string& orderText, const std::vector<float>& sngScanX,
                  const std::vector<float>& sngScanY, ScanParam& typScanParam, const RejectOptions& reject = {});
// The same for an order given as a whole number; one beyond 16 bits ends
// with the overflow report.
TraceFit fitTrace(int64_t order, const std::vector<float>& sngScanX, const std::vector<float>& sngScanY,
                  ScanParam& typScanParam, const RejectOptions& reject = {});

// The trace centre of column x, summed in double.
float traceCentre(const ScanParam& typScanParam, int32_t x);

} // namespace raylen
