#pragma once
// Equivalent width between two marks on the continuum: the sum of
// 1 − F/F_c over the marked points times the mean step, with F_c the
// straight line through the marks.
#include "plot/GaussFit.h"
#include "plot/PlotSinks.h"

#include <string>
#include <vector>

namespace raylen {

std::string sfEqWidthPro(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY,
                         MarkedPoints sngPointX, MarkedPoints sngPointY, ResultWriter& result,
                         SpectrumView& overlay);

} // namespace raylen
