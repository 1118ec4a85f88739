#include "axis/ProbabilityScale.h"

#include <cmath>

namespace lumigra {

namespace {

constexpr double kEpsilon = 2.220446049250313e-16;

bool inside(double v, double lo, double hi)
{
    return v >= lo && (v <= hi || (v - hi) / std::fabs(hi) <= kEpsilon);
}

} // namespace

std::optional<std::pair<double, double>> snapProbabilityEnds(double lo, double hi)
{
    if (std::isnan(lo) || std::isnan(hi))
        return std::nullopt;
    if (hi >= 1.0)
        hi = kProbabilityMarks.back();
    if (lo <= 0.0)
        lo = kProbabilityMarks.front();
    if (!(hi > lo))
        return std::nullopt;
    // Ends beyond the outermost table values (but inside (0, 1)) stay put.
    for (auto it = kProbabilityMarks.rbegin(); it != kProbabilityMarks.rend(); ++it) {
        if (*it <= lo) {
            lo = *it;
            break;
        }
    }
    for (double v : kProbabilityMarks) {
        if (v >= hi) {
            hi = v;
            break;
        }
    }
    return std::make_pair(lo, hi);
}

std::vector<double> probabilityMarkValues(double lo, double hi)
{
    std::vector<double> marks;
    for (double v : kProbabilityMarks) {
        if (inside(v, lo, hi))
            marks.push_back(v);
    }
    return marks;
}

std::vector<double> probabilitySubMarkValues(double lo, double hi)
{
    std::vector<double> marks;
    for (std::size_t i = 0; i + 1 < kProbabilityMarks.size(); ++i) {
        const double a = kProbabilityMarks[i];
        const double b = kProbabilityMarks[i + 1];
        const double step = kProbabilitySubSteps[i];
        const int parts = static_cast<int>(std::lround((b - a) / step));
        for (int k = 1; k < parts; ++k) {
            const double v = a + k * step;
            if (inside(v, lo, hi))
                marks.push_back(v);
        }
    }
    return marks;
}

} // namespace lumigra
