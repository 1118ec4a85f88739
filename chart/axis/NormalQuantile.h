#pragma once

namespace lumigra {

// The z with P(Z <= z) = p for a standard normal Z. NaN outside 0 < p < 1.
double standardNormalQuantile(double p);

} // namespace lumigra
