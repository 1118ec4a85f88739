#pragma once

#include <optional>

namespace lumigra {

// Outcome of the automatic tick interval: the range framed by round
// numbers and divided into `intervals` steps of `step`.
struct NiceScale {
    double lo = 0;
    double hi = 0;
    double step = 0;
    int intervals = 0;
};

// The nice-scale rule over [lo, hi]. Empty when hi <= lo, when either end
// is not finite, or when no (mantissa, count) pair fits even after one
// tenfold widening of the power of ten.
std::optional<NiceScale> niceScale(double lo, double hi);

// Number of intervals the tick uses when the rule fails.
inline constexpr int kFallbackIntervals = 2;

} // namespace lumigra
