#include "axis/NiceScale.h"

#include <array>
#include <cmath>

namespace lumigra {

namespace {

constexpr std::array<int, 7> kMantissas{1, 2, 3, 4, 5, 15, 25};
constexpr std::array<int, 7> kCounts{3, 4, 5, 6, 7, 8, 9};

struct Candidate {
    double span = 0;
    double step = 0;
    int intervals = 0;
};

std::optional<Candidate> bestPair(double lo, double hi, double p)
{
    std::optional<Candidate> best;
    for (int m : kMantissas) {
        for (int n : kCounts) {
            const int q = m * n;
            if (q <= 1 || q >= 10000)
                continue;
            // The divisor grows with m * n, so larger products give finer steps.
            const double d = q < 10 ? 1.0 : q < 100 ? 10.0 : q < 1000 ? 100.0 : 1000.0;
            const double step = m * p / d;
            const double a = std::floor(lo / step) * step;
            const double b = std::ceil(hi / step) * step;
            const double needed = (b - a) / step;
            if (!(n - needed >= -0.001))
                continue;
            const double span = n * step;
            // Strictly smaller only: on equal spans the first pair found stays.
            if (!best || span < best->span)
                best = Candidate{span, step, n};
        }
    }
    return best;
}

} // namespace

std::optional<NiceScale> niceScale(double lo, double hi)
{
    if (!std::isfinite(lo) || !std::isfinite(hi) || hi <= lo)
        return std::nullopt;
    const double range = hi - lo;
    if (!std::isfinite(range))
        return std::nullopt;
    double p = std::pow(10.0, std::floor(std::log10(range)));
    std::optional<Candidate> best = bestPair(lo, hi, p);
    if (!best) {
        p *= 10.0;
        best = bestPair(lo, hi, p);
    }
    if (!best || !(best->step > 0) || !std::isfinite(best->step))
        return std::nullopt;
    NiceScale result;
    result.step = best->step;
    result.intervals = best->intervals;
    result.lo = std::floor(lo / best->step) * best->step;
    result.hi = result.lo + best->intervals * best->step;
    return result;
}

} // namespace lumigra
