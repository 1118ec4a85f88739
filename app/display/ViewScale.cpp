#include "display/ViewScale.h"

#include <algorithm>
#include <cmath>

namespace raylen {

namespace {

constexpr double pixelCentre = 0.5;
// Tolerance when a factor is compared with a power of two.
constexpr double factorTolerance = 1e-9;

} // namespace

int32_t ViewScale::imageOf(int32_t screen) const
{
    return static_cast<int32_t>(std::floor((screen + pixelCentre) / factor));
}

int32_t ViewScale::screenOf(int32_t image) const
{
    // The closed form, then settled against imageOf so that the two never
    // disagree by a rounding at an exact boundary.
    auto s = static_cast<int32_t>(std::ceil(image * factor - pixelCentre));
    while (imageOf(s - 1) >= image)
        --s;
    while (imageOf(s) < image)
        ++s;
    return s;
}

double fitFactor(int32_t width, int32_t height, int32_t viewWidth, int32_t viewHeight)
{
    if (width <= 0 || height <= 0 || viewWidth <= 0 || viewHeight <= 0)
        return 1.0;
    const double factor = std::min(static_cast<double>(viewWidth) / width, static_cast<double>(viewHeight) / height);
    return std::clamp(factor, smallestZoom, largestZoom);
}

double steppedZoom(double current, int steps)
{
    double exponent = std::log2(current);
    const double nearest = std::round(exponent);
    if (std::abs(exponent - nearest) < factorTolerance)
        exponent = nearest + steps;
    else
        exponent = steps > 0 ? std::ceil(exponent) + (steps - 1) : std::floor(exponent) + (steps + 1);
    return std::clamp(std::exp2(exponent), smallestZoom, largestZoom);
}

int32_t anchoredScroll(int32_t scroll, int32_t pointer, double from, double to)
{
    // The image point at the centre of the pointer's screen pixel lands in
    // the screen pixel that shows it at the new factor.
    const double point = (scroll + pointer + pixelCentre) / from;
    return static_cast<int32_t>(std::floor(point * to)) - pointer;
}

} // namespace raylen
