#pragma once
// Gaussian line fit between two marks on the continuum: the straight line
// through the marks is removed, the residual is fitted with
// A·exp(−B·(x − C)²) + D, the width and centre go to the result window and
// continuum plus Gaussian to the overlay.
#include "plot/MeasureSupport.h"
#include "plot/PlotSinks.h"

#include <cstdint>
#include <string>
#include <vector>

namespace raylen {

// The overlay's hourglass is on for the fit itself, also when it fails.
std::string sfGaussFitPro(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY,
                          MarkedPoints sngPointX, MarkedPoints sngPointY, ResultWriter& result,
                          SpectrumView& overlay);

// Centre and first full width of the line in a residual: the extremum of
// larger magnitude (a tie counts as absorption), searched from index 1, and
// twice the distance to the first point to its right beyond half that level.
// sngIniHPFW is left as it was when no point crosses the half level.
std::string sfGaussFitInit(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY, float sngMax,
                           float sngMin, float& sngCenter, float& sngIniHPFW);

// The first index in intStart … intEnd holding exactly sngValue, else intEnd + 1.
std::string sfValueIndex(const std::vector<float>& sngData, int32_t intStart, int32_t intEnd, float sngValue,
                         int32_t& intIndex);

} // namespace raylen
