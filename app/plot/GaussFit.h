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
// With sngSigma (one per point) the result window gets one more line, shown
// below the others, with the uncertainties of the centre and the full width
// from the fit's covariance (the least-squares fit is unweighted, so its
// covariance is (JᵀJ)⁻¹·JᵀΣJ·(JᵀJ)⁻¹ with Σ the point variances).
std::string sfGaussFitPro(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY,
                          MarkedPoints sngPointX, MarkedPoints sngPointY, ResultWriter& result,
                          SpectrumView& overlay, const std::vector<float>* sngSigma = nullptr);

// Centre and first full width of the line in a residual: the extremum of
// larger magnitude (a tie counts as absorption), searched from index 1, and
// twice the distance to the first point to its right beyond half that level.
// sngIniHPFW is left as it was when no point crosses the half level.
// Standard deviations of the fitted centre and full width at half maximum
// of A·exp(−B·(x − C)²) + D for points with these uncertainties; false when
// the fit's normal matrix is singular.
struct GaussUncertainty {
    double centre = 0, fwhm = 0;
};
bool gaussUncertainty(const std::vector<float>& x, const std::vector<double>& sigma, double A, double B, double C,
                      GaussUncertainty& out);
std::string gaussErrorLine(const GaussUncertainty& u);

std::string sfGaussFitInit(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY, float sngMax,
                           float sngMin, float& sngCenter, float& sngIniHPFW);

// The first index in intStart … intEnd holding exactly sngValue, else intEnd + 1.
std::string sfValueIndex(const std::vector<float>& sngData, int32_t intStart, int32_t intEnd, float sngValue,
                         int32_t& intIndex);

} // namespace raylen
