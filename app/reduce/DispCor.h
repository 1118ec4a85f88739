#pragma once
// Dispersion correction: each point's pixel becomes the wavelength of the
// dispersion polynomial; intensities are neither changed nor resampled.
#include "view/SpectrumView.h"

#include <string>
#include <vector>

namespace raylen {

// sngNewX(i) = Σ dblA(k)·sngSpecX(i)^k, then (sngNewX, sngSpecY) becomes
// the plotted spectrum (a plotting failure is not reported).
std::string sfDispCorPlot(const std::vector<float>& sngSpecX, const std::vector<float>& sngSpecY,
                          const std::vector<double>& dblA, std::vector<float>& sngNewX, SpectrumView& plotter);

} // namespace raylen
