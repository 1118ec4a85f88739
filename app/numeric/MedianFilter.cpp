#include "numeric/MedianFilter.h"

#include "numeric/ParallelFor.h"

#include <algorithm>
#include <array>
#include <limits>
#include <utility>
#include <vector>

namespace raylen {

namespace {

constexpr int window5 = 5;
constexpr int cells5 = window5 * window5;
// The sorting network is built for the next power of two; the cells beyond
// the window count as +infinity and never reach the middle.
constexpr int networkWidth = 32;
// Pixels of a row handled together: the 25 lanes stay in the first-level cache.
constexpr int32_t runLength = 256;

using Comparator = std::pair<uint8_t, uint8_t>;

// Batcher's odd-even merge sort of networkWidth inputs.
void addMerge(int lo, int n, int r, std::vector<Comparator>& out)
{
    const int step = r * 2;
    if (step < n) {
        addMerge(lo, n, step, out);
        addMerge(lo + r, n, step, out);
        for (int i = lo + r; i + r < lo + n; i += step)
            out.emplace_back(i, i + r);
    } else {
        out.emplace_back(lo, lo + r);
    }
}

void addSort(int lo, int n, std::vector<Comparator>& out)
{
    if (n <= 1)
        return;
    const int half = n / 2;
    addSort(lo, half, out);
    addSort(lo + half, half, out);
    addMerge(lo, n, 1, out);
}

// The comparators that decide the middle of the 25 real inputs. Cells known
// to hold +infinity turn a comparator into a no-op or a relabelling, and a
// backward pass drops every comparator the middle does not depend on.
struct SelectionNetwork {
    std::vector<Comparator> comparators; // on lanes 0 … cells5 − 1
    int middleLane = 0;

    SelectionNetwork()
    {
        std::vector<Comparator> full;
        addSort(0, networkWidth, full);
        std::array<int, networkWidth> laneOf{}; // position → lane, −1 for +infinity
        for (int p = 0; p < networkWidth; ++p)
            laneOf[p] = p < cells5 ? p : -1;
        std::vector<Comparator> live;
        for (auto [i, j] : full) {
            if (laneOf[j] < 0)
                continue; // the larger side already holds +infinity
            if (laneOf[i] < 0) {
                std::swap(laneOf[i], laneOf[j]); // infinity moves up, nothing compared
                continue;
            }
            live.emplace_back(laneOf[i], laneOf[j]);
        }
        // Lanes hold min at the first member after each comparator, as the
        // positions did; the middle is the lane now at position 12.
        middleLane = laneOf[cells5 / 2];
        std::array<bool, cells5> needed{};
        needed[middleLane] = true;
        std::vector<Comparator> kept;
        for (auto it = live.rbegin(); it != live.rend(); ++it) {
            if (!needed[it->first] && !needed[it->second])
                continue;
            needed[it->first] = needed[it->second] = true;
            kept.push_back(*it);
        }
        comparators.assign(kept.rbegin(), kept.rend());
    }
};

const SelectionNetwork& network5()
{
    static const SelectionNetwork network;
    return network;
}

int32_t clampIndex(int64_t i, int32_t lo, int32_t hi) { return static_cast<int32_t>(std::clamp<int64_t>(i, lo, hi)); }

void filterRows(const SingleImage& in, SingleImage& out, int32_t firstRow, int32_t endRow)
{
    const SelectionNetwork& net = network5();
    const int32_t width = in.width(), lowerY = in.lowerY(), upperY = in.upperY();
    const int half = window5 / 2;
    std::vector<float> padded(static_cast<size_t>(window5) * (width + 2 * half));
    std::vector<float> lanes(static_cast<size_t>(cells5) * runLength);
    for (int32_t y = firstRow; y < endRow; ++y) {
        for (int dy = 0; dy < window5; ++dy) {
            const float* src = in.row(clampIndex(int64_t(y) + dy - half, lowerY, upperY));
            float* dst = padded.data() + static_cast<size_t>(dy) * (width + 2 * half);
            std::fill(dst, dst + half, src[0]);
            std::copy(src, src + width, dst + half);
            std::fill(dst + half + width, dst + 2 * half + width, src[width - 1]);
        }
        float* target = out.row(y);
        for (int32_t x0 = 0; x0 < width; x0 += runLength) {
            const int32_t n = std::min(runLength, width - x0);
            for (int dy = 0; dy < window5; ++dy)
                for (int dx = 0; dx < window5; ++dx) {
                    const float* src = padded.data() + static_cast<size_t>(dy) * (width + 2 * half) + x0 + dx;
                    std::copy(src, src + n, lanes.data() + static_cast<size_t>(dy * window5 + dx) * runLength);
                }
            for (auto [a, b] : net.comparators) {
                // Distinct lanes: the loop vectorises.
                float* __restrict pa = lanes.data() + static_cast<size_t>(a) * runLength;
                float* __restrict pb = lanes.data() + static_cast<size_t>(b) * runLength;
                for (int32_t k = 0; k < runLength; ++k) {
                    const float lo = std::min(pa[k], pb[k]), hi = std::max(pa[k], pb[k]);
                    pa[k] = lo;
                    pb[k] = hi;
                }
            }
            const float* middle = lanes.data() + static_cast<size_t>(net.middleLane) * runLength;
            std::copy(middle, middle + n, target + x0);
        }
    }
}

} // namespace

void medianFilter5(const SingleImage& in, SingleImage& out)
{
    if (!out.sameBounds(in))
        out.redim(in.lowerX(), in.upperX(), in.lowerY(), in.upperY());
    if (in.empty())
        return;
    // A few rows per block are enough to pay for a thread.
    constexpr size_t rowGrain = 16;
    parallelFor(static_cast<size_t>(in.height()), rowGrain, [&](size_t begin, size_t end) {
        filterRows(in, out, in.lowerY() + static_cast<int32_t>(begin), in.lowerY() + static_cast<int32_t>(end));
    });
}

double medianInPlace(float* values, size_t count)
{
    const size_t mid = count / 2;
    std::nth_element(values, values + mid, values + count);
    if (count % 2 == 1)
        return values[mid];
    const float below = *std::max_element(values, values + mid);
    return (static_cast<double>(below) + values[mid]) / 2.0;
}

float medianAround(const SingleImage& in, int32_t x, int32_t y, int radius)
{
    std::vector<float> values;
    values.reserve(static_cast<size_t>(2 * radius + 1) * (2 * radius + 1));
    for (int dy = -radius; dy <= radius; ++dy) {
        const float* row = in.row(clampIndex(int64_t(y) + dy, in.lowerY(), in.upperY()));
        for (int dx = -radius; dx <= radius; ++dx)
            values.push_back(row[clampIndex(int64_t(x) + dx, in.lowerX(), in.upperX()) - in.lowerX()]);
    }
    return static_cast<float>(medianInPlace(values.data(), values.size()));
}

} // namespace raylen
