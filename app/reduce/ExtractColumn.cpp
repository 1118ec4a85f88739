#include "reduce/ExtractColumn.h"

#include <array>
#include <cmath>

namespace raylen {

double ExtractColumn::skyVariance(const std::vector<double>& g) const { return skyVariance(g.data(), g.size()); }

double ExtractColumn::skyVariance(const double* g, size_t m) const
{
    if (skyCovariance.size() != m * m)
        return 0.0;
    double v = 0.0;
    for (size_t a = 0; a < m; ++a)
        for (size_t b = 0; b < m; ++b)
            v += g[a] * skyCovariance[a * m + b] * g[b];
    return v > 0 ? v : 0.0;
}

double ExtractColumn::variance(const std::vector<double>& weights, const std::vector<double>& pixelVariances) const
{
    double v = 0.0;
    for (size_t i = 0; i < weights.size(); ++i) {
        v += weights[i] * weights[i] * pixelVariances[i];
    }
    if (skyCovariance.empty())
        return v;
    // The subtracted sky Σ wᵢ·S(rowᵢ) is Σ g[j]·coef[j] with g[j] = Σ wᵢ·(rowᵢ − origin)^j.
    const auto m = static_cast<size_t>(std::lround(std::sqrt(static_cast<double>(skyCovariance.size()))));
    // Called once a column: the usual sky orders fit on the stack.
    constexpr size_t onStack = 8;
    std::array<double, onStack> small{};
    std::vector<double> large;
    if (m > onStack)
        large.assign(m, 0.0);
    double* g = m > onStack ? large.data() : small.data();
    for (size_t i = 0; i < weights.size(); ++i) {
        const double d = firstRow + static_cast<double>(i) - skyOrigin;
        double power = 1.0;
        for (size_t j = 0; j < m; ++j, power *= d)
            g[j] += weights[i] * power;
    }
    return v + skyVariance(g, m);
}

} // namespace raylen
