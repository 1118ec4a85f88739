#pragma once
// The points a sigma rejection left out of a fit, gathered for the plot
// window's marks.
#include <vector>

namespace raylen {

struct PointSet {
    std::vector<float> x, y;
};

// (x[i], y[i]) for every non-zero flags[i]; flags beyond the data are ignored.
PointSet flaggedPoints(const std::vector<float>& x, const std::vector<float>& y, const std::vector<char>& flags);

} // namespace raylen
