#pragma once
// Continuum normalisation: a polynomial fitted to the points of the marked
// continuum regions, then the spectrum divided by it.
#include "numeric/SigmaReject.h"
#include "view/SpectrumView.h"

#include <cstdint>
#include <string>
#include <vector>

namespace raylen {

// Order of the continuum when the task starts.
constexpr int16_t defaultContinuumOrder = 5;

// With rejection enabled, `rejected` gets one flag per listed point.
// sfLst2Fit over the listed points (indices into the spectrum). A list
// with upper bound 0 holds no region, as the region keys treat it. A
// failed fit returns the least-squares text and leaves dblCont alone.
std::string sfContinuumFit(const std::vector<float>& sngSpecX, const std::vector<float>& sngSpecY,
                           const std::vector<int32_t>& lngContRegion, int16_t intContOrder,
                           std::vector<double>& dblCont, const RejectOptions& reject = {},
                           std::vector<char>* rejected = nullptr);

// The continuum at every X as the second line.
std::string sfPlotContinuum(const std::vector<float>& sngSpecX, const std::vector<double>& dblCont,
                            SpectrumView& plotter);

// The listed points whose flag is set (from sfContinuumFit's rejection)
// marked as rejected; no flags clear the marks.
std::string sfPlotContinuumRejected(const std::vector<float>& sngSpecX, const std::vector<float>& sngSpecY,
                                    const std::vector<int32_t>& lngContRegion, const std::vector<char>& rejected,
                                    SpectrumView& plotter);

// Y / C(X) at every point; a continuum of 0 is a division by zero. Then
// (X, new values) becomes the plotted spectrum (a plotting failure is not
// reported).
std::string sfNormalizePlot(const std::vector<float>& sngSpecX, const std::vector<float>& sngSpecY,
                            const std::vector<double>& dblCont, std::vector<float>& sngNewY, SpectrumView& plotter);

} // namespace raylen
