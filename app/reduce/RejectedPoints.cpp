#include "reduce/RejectedPoints.h"

#include <algorithm>

namespace raylen {

PointSet flaggedPoints(const std::vector<float>& x, const std::vector<float>& y, const std::vector<char>& flags)
{
    PointSet points;
    const size_t n = std::min({x.size(), y.size(), flags.size()});
    for (size_t i = 0; i < n; ++i)
        if (flags[i] != 0) {
            points.x.push_back(x[i]);
            points.y.push_back(y[i]);
        }
    return points;
}

} // namespace raylen
