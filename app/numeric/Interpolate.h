#pragma once
// Linear interpolation in a table with ascending X (sensitivity tables).
#include <string>
#include <vector>

namespace raylen {

// y0 at x0 from the first interval that contains x0 (bounds included, the
// left one at a shared point); outside the table the first or last two
// points extrapolate. Single-precision arithmetic; equal X in the interval
// used gives "sfLinearInterpolate, 11" + description.
std::string sfLinearInterpolate(const std::vector<float>& x, const std::vector<float>& y, float x0, float& y0);

} // namespace raylen
