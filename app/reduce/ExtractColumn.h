#pragma once
// What the extraction keeps of one column for the uncertainty and the
// optimal extraction: the rows the aperture sum reads, their counts, the
// sky model under them and the sky fit's covariance.
#include "reduce/NoiseModel.h"

#include <cstdint>
#include <vector>

namespace raylen {

struct ExtractColumn {
    int32_t x = 0;
    float centre = 0;
    int32_t firstRow = 0;             // rows firstRow … firstRow + counts.size() − 1
    std::vector<double> boxWeights;   // the aperture sum's weight on each row
    std::vector<double> counts;       // the pixel values (before sky subtraction)
    std::vector<double> sky;          // the sky polynomial at each row (0 without sky)
    double box = 0;                   // aperture sum less the sky integral
    // The sky polynomial (in powers of row − skyOrigin): its coefficients'
    // covariance, row-major, (order + 1)²; empty without sky.
    int32_t skyOrigin = 0;
    std::vector<double> skyCovariance;

    size_t rows() const { return counts.size(); }
    double offset(size_t i) const { return firstRow + static_cast<double>(i) - centre; }
    // Variance of Σ g[j]·coef[j] of the sky fit.
    double skyVariance(const std::vector<double>& g) const;
    double skyVariance(const double* g, size_t m) const;
    // Variance of Σ weights[i]·(counts − sky) with the pixel variances given,
    // the sky's share included (pixels of the sky rows that also lie in the
    // aperture are taken as independent of it).
    double variance(const std::vector<double>& weights, const std::vector<double>& pixelVariances) const;
};

} // namespace raylen
