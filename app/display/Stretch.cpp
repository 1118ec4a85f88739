#include "display/Stretch.h"

#include "numeric/ParallelFor.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace raylen {

namespace {

constexpr double greyTop = 255.0;
constexpr double halfLevel = 0.5;
// Rows per parallel block: about a megapixel.
constexpr size_t pixelsPerBlock = size_t(1) << 20;

// The place of each value between the limits, clipped to 0 … 1 with NaN
// at 0; branch-free so that it vectorises.
__attribute__((target_clones("avx2", "default"))) void placeRow(const float* source, int32_t width, double low,
                                                                  double range, double* t)
{
    for (int32_t x = 0; x < width; ++x) {
        double v = (static_cast<double>(source[x]) - low) / range;
        v = v >= 0.0 ? v : 0.0;
        t[x] = v > 1.0 ? 1.0 : v;
    }
}

// The no-range case: at or above the limit is the top.
void stepRow(const float* source, int32_t width, double high, double* t)
{
    for (int32_t x = 0; x < width; ++x)
        t[x] = source[x] >= high ? 1.0 : 0.0;
}

} // namespace

double stretchCurve(StretchCurve curve, double t)
{
    switch (curve) {
    case StretchCurve::Linear: return t;
    case StretchCurve::SquareRoot: return std::sqrt(t);
    case StretchCurve::Logarithmic: return std::log1p(logarithmicScale * t) / std::log1p(logarithmicScale);
    case StretchCurve::Asinh: return std::asinh(t / asinhSoftening) / std::asinh(1.0 / asinhSoftening);
    }
    return t;
}

double stretchInverse(StretchCurve curve, double s)
{
    switch (curve) {
    case StretchCurve::Linear: return s;
    case StretchCurve::SquareRoot: return s * s;
    case StretchCurve::Logarithmic: return std::expm1(s * std::log1p(logarithmicScale)) / logarithmicScale;
    case StretchCurve::Asinh: return asinhSoftening * std::sinh(s * std::asinh(1.0 / asinhSoftening));
    }
    return s;
}

StretchTable::StretchTable(StretchCurve curve)
{
    const double infinity = std::numeric_limits<double>::infinity();
    rise_.assign(levels, -infinity);
    for (int g = 1; g < levels; ++g) {
        // Where 255·s crosses g − ½, nudged onto the side that the curve
        // itself gives, so that the inverse's rounding cannot move a level.
        double t = stretchInverse(curve, (g - halfLevel) / greyTop);
        auto levelAt = [&](double at) { return std::nearbyint(greyTop * stretchCurve(curve, at)); };
        while (t > 0.0 && levelAt(std::nextafter(t, -infinity)) >= g)
            t = std::nextafter(t, -infinity);
        while (t <= 1.0 && levelAt(t) < g)
            t = std::nextafter(t, infinity);
        rise_[static_cast<size_t>(g)] = t;
    }
    first_.resize(bins + 1);
    int level = 0;
    for (int k = 0; k <= bins; ++k) {
        // k / 2^16 is exact, as is the bin of any t (a power-of-two scale).
        const double start = static_cast<double>(k) / bins;
        while (level + 1 < levels && rise_[static_cast<size_t>(level + 1)] <= start)
            ++level;
        first_[static_cast<size_t>(k)] = static_cast<uint8_t>(level);
    }
    for (int k = 0; k < bins; ++k)
        steps_ = std::max(steps_, first_[static_cast<size_t>(k) + 1] - first_[static_cast<size_t>(k)]);
    rise_.resize(static_cast<size_t>(levels + steps_ + 1), infinity);
}

uint8_t StretchTable::grey(double t) const
{
    int g = first_[static_cast<size_t>(t * bins)];
    for (int i = 0; i < steps_; ++i)
        g += t >= rise_[static_cast<size_t>(g) + 1] ? 1 : 0;
    return static_cast<uint8_t>(g);
}

void StretchTable::greyRow(const double* t, int32_t width, uint8_t* target) const
{
    for (int32_t x = 0; x < width; ++x)
        target[x] = grey(t[x]);
}

void stretchGrey(const SingleImage& image, int32_t width, int32_t height, DisplayLimits limits, StretchCurve curve,
                 GreyImage& grey)
{
    if (width < 1 || height < 1 || image.width() < width || image.height() < height)
        platform::raise(platform::errSubscript);
    const StretchTable table(curve);
    const bool ranged = limits.high > limits.low;
    const double range = limits.high - limits.low;
    GreyImage out(width, height);
    parallelFor(static_cast<size_t>(height),
                std::max<size_t>(1, pixelsPerBlock / static_cast<size_t>(width)), [&](size_t first, size_t end) {
                    std::vector<double> t(static_cast<size_t>(width));
                    for (size_t y = first; y < end; ++y) {
                        const float* source = image.row(image.lowerY() + static_cast<int32_t>(y));
                        if (ranged)
                            placeRow(source, width, limits.low, range, t.data());
                        else
                            stepRow(source, width, limits.high, t.data());
                        table.greyRow(t.data(), width, out.row(static_cast<int32_t>(y)));
                    }
                });
    grey.swap(out);
}

} // namespace raylen
