#pragma once
// Optimal extraction (Horne 1986, PASP 98, 609) over the box aperture: a
// spatial profile P fitted smoothly along the dispersion from the frame
// itself, then per column the variance-weighted estimate
//   f = Σ m·P·(D − S)/V / Σ m·P²/V,  V = (R² + G·max(f·P + S, 0))/G²,
// with pixels further than crSigma·√V from f·P + S rejected (m = 0) one at
// a time, the worst first, and the column refitted. P is normalised with
// the box sum's own row weights, so on a noise-free frame f equals the box
// sum of the same aperture.
#include "reduce/ExtractColumn.h"
#include "reduce/NoiseModel.h"

#include <string>
#include <vector>

namespace raylen {

constexpr double defaultCrSigma = 5.0;

struct OptimalColumn {
    double flux = 0, variance = 0;
    int rejected = 0;     // pixels left out as cosmic rays
    bool fellBack = false; // no usable profile: the box sum was kept
};

// Every column of `columns` (in extraction order, one aperture width).
std::string optimalExtract(const std::vector<ExtractColumn>& columns, double apertureWidth, const NoiseModel& noise,
                           double crSigma, std::vector<OptimalColumn>& result);

} // namespace raylen
