#pragma once
// Coaddition of spectra: each resampled (flux-conserving) onto one linear
// grid over their common range, then averaged, weighted by inverse
// variance when every input has an uncertainty, equally otherwise.
#include "numeric/Resample.h"

#include <string>
#include <vector>

namespace raylen {

struct CoaddInput {
    std::vector<float> x, y;
    std::vector<float> sigma; // empty: no uncertainty
};

struct CoaddResult {
    EvenScale scale;
    std::vector<float> x, y;
    std::vector<float> sigma; // empty unless every input had one
};

// The grid: from the largest first X, floor((end − start)/step + 1e-6) + 1
// points up to the smallest last X; step ≤ 0 takes the finest mean step
// of the inputs. Fewer than two inputs or no common range is refused.
std::string sfCoadd(const std::vector<CoaddInput>& inputs, double step, CoaddResult& result);

} // namespace raylen
