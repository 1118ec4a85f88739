#pragma once

#include <array>
#include <optional>
#include <utility>
#include <vector>

namespace lumigra {

// Marks of a normal-probability axis stand at these values.
inline constexpr std::array<double, 19> kProbabilityMarks{
    0.00001, 0.0001, 0.001, 0.01, 0.05, 0.1, 0.2, 0.3, 0.4, 0.5,
    0.6, 0.7, 0.8, 0.9, 0.95, 0.99, 0.999, 0.9999, 0.99999};

// Subtick step within each interval of kProbabilityMarks, in order.
inline constexpr std::array<double, 18> kProbabilitySubSteps{
    0.00001, 0.0001, 0.001, 0.01, 0.01, 0.01, 0.02, 0.02, 0.02,
    0.02, 0.02, 0.02, 0.01, 0.01, 0.01, 0.001, 0.0001, 0.00001};

// Snaps the ends of a probability axis outward to table values (ends at or
// beyond 0 and 1 first become 0.00001 and 0.99999). Empty when the ends
// cannot be ordered, in which case the axis is not drawn.
std::optional<std::pair<double, double>> snapProbabilityEnds(double lo, double hi);

// Table values inside [lo, hi]; the upper end admits a relative excess of
// one machine epsilon.
std::vector<double> probabilityMarkValues(double lo, double hi);

// Subtick values inside [lo, hi]: each table interval divided by its step,
// the table values themselves excluded.
std::vector<double> probabilitySubMarkValues(double lo, double hi);

} // namespace lumigra
