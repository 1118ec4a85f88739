#include "display/PercentileLimits.h"

#include "numeric/LargeBuffer.h"

#include <algorithm>
#include <cmath>

namespace raylen {

namespace {

constexpr double wholePercent = 100.0;

// The value at fractional rank `rank` of values[from … end), which
// nth_element may reorder; every value below `from` ranks lower.
double rankedValue(float* values, size_t from, size_t count, double rank)
{
    const auto below = static_cast<size_t>(std::floor(rank));
    const double fraction = rank - static_cast<double>(below);
    std::nth_element(values + from, values + below, values + count);
    const double lower = values[below];
    if (fraction == 0.0 || below + 1 >= count)
        return lower;
    // The next ranked value is the smallest of those above.
    const double upper = *std::min_element(values + below + 1, values + count);
    return lower + fraction * (upper - lower);
}

} // namespace

bool percentileLimits(const SingleImage& image, int32_t width, int32_t height, double percent, DisplayLimits& limits)
{
    width = std::min(width, image.width());
    height = std::min(height, image.height());
    LargeVector<float> values(static_cast<size_t>(std::max(width, 0)) * static_cast<size_t>(std::max(height, 0)));
    size_t count = 0;
    for (int32_t y = 0; y < height; ++y) {
        const float* row = image.row(image.lowerY() + y);
        for (int32_t x = 0; x < width; ++x)
            if (std::isfinite(row[x]))
                values[count++] = row[x];
    }
    if (count == 0)
        return false;
    const double kept = std::clamp(percent, 0.0, wholePercent) / wholePercent;
    const double last = static_cast<double>(count - 1);
    const double lowRank = (1.0 - kept) / 2.0 * last, highRank = (1.0 + kept) / 2.0 * last;
    limits.low = rankedValue(values.data(), 0, count, lowRank);
    // The selection left everything above the low rank to its right.
    limits.high = rankedValue(values.data(), static_cast<size_t>(std::floor(lowRank)), count, highRank);
    return true;
}

} // namespace raylen
