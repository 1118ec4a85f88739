#pragma once
// Flux-conserving resampling of a spectrum onto an even X scale. Each input
// point stands for the bin between the midpoints to its neighbours; each
// output value is the mean flux density over its own bin, so the integral
// over any whole number of output bins inside the data is kept.
#include <string>
#include <vector>

namespace raylen {

struct EvenScale {
    double start = 0; // X of the first output point
    double step = 0;  // > 0
    long count = 0;
};

// Default scale: from the first X with the mean step, as many steps as fit
// up to the last X. step ≤ 0 takes the mean step.
EvenScale defaultEvenScale(const std::vector<float>& x, double step = 0);

// x ascending, at least two points. Output bins outside the data are 0;
// bins partly outside hold the mean over the covered part.
std::string resampleFlux(const std::vector<float>& x, const std::vector<float>& y, const EvenScale& scale,
                         std::vector<float>& outX, std::vector<float>& outY);

// The uncertainty of resampleFlux's output with the same bin-overlap
// weights wᵢ: σ = √(Σ wᵢ²σᵢ²) / Σ wᵢ, 0 for bins outside the data.
std::string resampleUncertainty(const std::vector<float>& x, const std::vector<float>& sigma,
                                const EvenScale& scale, std::vector<float>& outSigma);

// Integral of the piecewise-constant spectrum from a to b.
double integrateFlux(const std::vector<float>& x, const std::vector<float>& y, double a, double b);

} // namespace raylen
