#include "numeric/Interpolate.h"

#include "platform/BasicError.h"

#include <cstddef>

namespace raylen {

namespace {

float element(const std::vector<float>& v, size_t i)
{
    if (i >= v.size())
        platform::raise(platform::errSubscript);
    return v[i];
}

// Line through points i and i + 1 evaluated at x0, in Single.
float lineThrough(const std::vector<float>& x, const std::vector<float>& y, size_t i, float x0)
{
    const float dx = element(x, i + 1) - element(x, i);
    if (dx == 0.0f)
        platform::raise(platform::errDivisionByZero);
    const float slope = (element(y, i + 1) - element(y, i)) / dx;
    return slope * (x0 - element(x, i)) + element(y, i);
}

} // namespace

std::string sfLinearInterpolate(const std::vector<float>& x, const std::vector<float>& y, float x0, float& y0)
{
    return platform::trapErrors("sfLinearInterpolate", [&] {
        if (x.empty())
            platform::raise(platform::errSubscript);
        const size_t n = x.size() - 1;
        // The left extrapolation does not depend on the interval searched.
        if (x0 < element(x, 0)) {
            y0 = lineThrough(x, y, 0, x0);
            return;
        }
        for (size_t i = 0;; ++i) {
            // Both ends are read before comparing (Basic's And does not short
            // circuit), so a NaN abscissa ends at the subscript fault.
            const float left = element(x, i), right = element(x, i + 1);
            if (left <= x0 && x0 <= right) {
                y0 = lineThrough(x, y, i, x0);
                return;
            }
            if (x0 > x[n]) {
                y0 = lineThrough(x, y, n - 1, x0);
                return;
            }
        }
    });
}

} // namespace raylen
