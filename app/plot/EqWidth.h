#pragma once
// Equivalent width between two marks on the continuum: the sum of
// 1 − F/F_c over the marked points times the mean step, with F_c the
// straight line through the marks.
#include "plot/GaussFit.h"
#include "plot/PlotSinks.h"

#include <string>
#include <vector>

namespace raylen {

// With sngSigma (one per point) one more line, shown below the others, with
// the uncertainty propagated from the flux errors, √Σ(σᵢ·step/F_c)².
std::string sfEqWidthPro(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY,
                         MarkedPoints sngPointX, MarkedPoints sngPointY, ResultWriter& result,
                         SpectrumView& overlay, const std::vector<float>* sngSigma = nullptr);

// The uncertainty line of sfEqWidthPro.
std::string equivalentWidthErrorLine(double sigma);

} // namespace raylen
