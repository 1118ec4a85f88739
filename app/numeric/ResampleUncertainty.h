#pragma once
// The uncertainty of a flux-conserving resampling (numeric/Resample.h):
// each output value is the overlap-weighted mean of the input bins, so its
// standard deviation is √(Σ wᵢ²σᵢ²)/Σ wᵢ with wᵢ the overlaps.
#include "numeric/Resample.h"

#include <string>
#include <vector>

namespace raylen {

// x ascending, sigma one per point. Output bins outside the data are 0.
std::string resampleUncertainty(const std::vector<float>& x, const std::vector<float>& sigma,
                                const EvenScale& scale, std::vector<float>& outSigma);

} // namespace raylen
