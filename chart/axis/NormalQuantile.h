#pragma once

namespace lumigra {

// The z with P(Z <= z) = p for a standard normal Z. NaN outside 0 < p < 1.
double normalQuantile(double p);

} // namespace lumigra
