#include "display/PercentileLimits.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

namespace raylen {

namespace {

constexpr double wholePercent = 100.0;
// Histogram bins: the ranks sought are found in their bins, and only those
// bins' values are selected among.
constexpr int32_t binCount = 1 << 16;

struct Range {
    double low = 0.0, high = 0.0;
    size_t count = 0;
};

// A value that is neither NaN nor infinite: v − v is 0 only then.
bool finiteValue(float v) { return v - v == 0.0f; }

template <class Visit>
void eachPixel(const SingleImage& image, int32_t width, int32_t height, Visit&& visit)
{
    for (int32_t y = 0; y < height; ++y) {
        const float* row = image.row(image.lowerY() + y);
        for (int32_t x = 0; x < width; ++x)
            visit(row[x]);
    }
}

// Sorted-rank lookup through a histogram over [low, high]: a bin is a
// monotone function of the value, so bin b holds ranks cumulative[b] …
// cumulative[b + 1] − 1.
class RankFinder {
public:
    RankFinder(const SingleImage& image, int32_t width, int32_t height, const Range& range)
        : image_(image), width_(width), height_(height), low_(range.low),
          scale_(binCount / (range.high - range.low)), cumulative_(binCount + 1, 0)
    {
        eachPixel(image, width, height, [&](float v) {
            if (finiteValue(v))
                ++cumulative_[static_cast<size_t>(binOf(v)) + 1];
        });
        for (size_t b = 1; b < cumulative_.size(); ++b)
            cumulative_[b] += cumulative_[b - 1];
    }

    // The values of the given ranks, gathering each bin needed once.
    std::vector<double> values(const std::vector<size_t>& ranks)
    {
        std::map<int32_t, std::vector<float>> bins;
        for (size_t rank : ranks)
            bins[binHolding(rank)];
        eachPixel(image_, width_, height_, [&](float v) {
            if (!finiteValue(v))
                return;
            auto found = bins.find(binOf(v));
            if (found != bins.end())
                found->second.push_back(v);
        });
        std::vector<double> result;
        for (size_t rank : ranks) {
            const int32_t bin = binHolding(rank);
            std::vector<float>& held = bins[bin];
            const size_t local = rank - cumulative_[static_cast<size_t>(bin)];
            std::nth_element(held.begin(), held.begin() + static_cast<ptrdiff_t>(local), held.end());
            result.push_back(held[local]);
        }
        return result;
    }

private:
    int32_t binOf(float v) const
    {
        const double place = (static_cast<double>(v) - low_) * scale_;
        return std::min(static_cast<int32_t>(place), binCount - 1);
    }
    int32_t binHolding(size_t rank) const
    {
        const auto above = std::upper_bound(cumulative_.begin(), cumulative_.end(), rank);
        return static_cast<int32_t>(above - cumulative_.begin()) - 1;
    }

    const SingleImage& image_;
    int32_t width_, height_;
    double low_, scale_;
    std::vector<size_t> cumulative_;
};

} // namespace

bool percentileLimits(const SingleImage& image, int32_t width, int32_t height, double percent, DisplayLimits& limits)
{
    width = std::min(width, image.width());
    height = std::min(height, image.height());
    Range range;
    bool first = true;
    eachPixel(image, width, height, [&](float v) {
        if (!finiteValue(v))
            return;
        if (first || v < range.low)
            range.low = v;
        if (first || v > range.high)
            range.high = v;
        first = false;
        ++range.count;
    });
    if (range.count == 0)
        return false;
    if (range.high == range.low) {
        limits.low = limits.high = range.low;
        return true;
    }
    const double kept = std::clamp(percent, 0.0, wholePercent) / wholePercent;
    const double last = static_cast<double>(range.count - 1);
    const double lowRank = (1.0 - kept) / 2.0 * last, highRank = (1.0 + kept) / 2.0 * last;
    // Each quantile lies between the value at its rank's floor and the next.
    auto below = [](double rank) { return static_cast<size_t>(std::floor(rank)); };
    auto next = [&](double rank) { return std::min(below(rank) + 1, range.count - 1); };
    RankFinder finder(image, width, height, range);
    const std::vector<double> v = finder.values({below(lowRank), next(lowRank), below(highRank), next(highRank)});
    auto between = [](double lower, double upper, double rank) {
        return lower + (rank - std::floor(rank)) * (upper - lower);
    };
    limits.low = between(v[0], v[1], lowRank);
    limits.high = between(v[2], v[3], highRank);
    return true;
}

} // namespace raylen
