#include "numeric/Statistics.h"

#include "numeric/ParallelFor.h"
#include "platform/BasicError.h"
#include "platform/BasicRuntime.h"

#include <algorithm>
#include <vector>

namespace raylen {

namespace {

// Below this many elements per block a second core does not pay.
constexpr size_t minMaxGrain = size_t(1) << 20;

struct MinMaxBlock {
    float lo = 1e10f;
    float hi = -1e10f;
    bool nan = false;
};

// Plain minimum and maximum (NaNs noted, not used): vectorised.
__attribute__((target_clones("avx2", "default"))) MinMaxBlock minMaxBlock(const float* first, const float* end)
{
    constexpr size_t lanes = 8;
    float lo[lanes], hi[lanes];
    bool nan[lanes];
    for (size_t j = 0; j < lanes; ++j) {
        lo[j] = 1e10f;
        hi[j] = -1e10f;
        nan[j] = false;
    }
    const size_t n = static_cast<size_t>(end - first);
    size_t i = 0;
    for (; i + lanes <= n; i += lanes)
        for (size_t j = 0; j < lanes; ++j) {
            const float v = first[i + j];
            lo[j] = v < lo[j] ? v : lo[j];
            hi[j] = v > hi[j] ? v : hi[j];
            nan[j] = nan[j] | (v != v);
        }
    MinMaxBlock b;
    for (; i < n; ++i) {
        const float v = first[i];
        b.lo = v < b.lo ? v : b.lo;
        b.hi = v > b.hi ? v : b.hi;
        b.nan = b.nan || v != v;
    }
    for (size_t j = 0; j < lanes; ++j) {
        b.lo = std::min(b.lo, lo[j]);
        b.hi = std::max(b.hi, hi[j]);
        b.nan = b.nan || nan[j];
    }
    return b;
}

} // namespace

std::string sfMean2D(const SingleImage& a, float& mean)
{
    return platform::trapErrors("sfMean2D", [&] {
        if (a.empty())
            platform::raise(platform::errSubscript);
        // The element count is a checked 32-bit product: a frame past 2^31
        // pixels gets the overflow error instead of a wrong mean.
        const double n = platform::checkedMul32(a.width(), a.height());
        // Storage is y outer, x inner: one pass over contiguous memory in
        // exactly the order of accumulation that fixes the rounding.
        const float* p = a.data();
        const size_t count = a.size();
        double sum = 0.0;
        for (size_t i = 0; i < count; ++i)
            sum += static_cast<double>(p[i]) / n;
        mean = static_cast<float>(sum);
    });
}

std::string sfMean1D(const std::vector<float>& a, float& mean)
{
    return platform::trapErrors("sfMean1D", [&] {
        if (a.empty())
            platform::raise(platform::errSubscript);
        const double n = static_cast<double>(a.size());
        double sum = 0.0;
        for (float v : a)
            sum += static_cast<double>(v) / n;
        mean = static_cast<float>(sum);
    });
}

std::string sfMinMax2D(const SingleImage& a, float& minimum, float& maximum)
{
    return platform::trapErrors("sfMinMax2D", [&] {
        if (a.empty())
            platform::raise(platform::errSubscript);
        const float* p = a.data();
        const size_t count = a.size();
        // Blocks of plain minima and maxima, in parallel; the running fold
        // below gives the same values whenever no element is a NaN, except
        // for the sign of a zero, which is settled afterwards.
        const size_t blocks = std::max<size_t>(1, std::min<size_t>(availableCores(), count / minMaxGrain));
        std::vector<MinMaxBlock> parts(blocks);
        parallelFor(blocks, 1, [&](size_t first, size_t end) {
            for (size_t k = first; k < end; ++k)
                parts[k] = minMaxBlock(p + count * k / blocks, p + count * (k + 1) / blocks);
        }, static_cast<unsigned>(blocks));
        float lo = 1e10f, hi = -1e10f;
        bool nan = false;
        for (const MinMaxBlock& b : parts) {
            lo = std::min(lo, b.lo);
            hi = std::max(hi, b.hi);
            nan = nan || b.nan;
        }
        if (nan) {
            // "not ≥" rather than "<": a NaN replaces the running minimum,
            // deliberately, so that the limits show the frame holds one.
            lo = 1e10f;
            hi = -1e10f;
            for (size_t i = 0; i < count; ++i) {
                const float v = p[i];
                lo = v >= lo ? lo : v;
                hi = v > hi ? v : hi;
            }
        } else {
            // The fold keeps the first of equal values: of +0 and −0, the first one met.
            if (lo == 0.0f)
                lo = *std::find(p, p + count, 0.0f);
            if (hi == 0.0f)
                hi = *std::find(p, p + count, 0.0f);
        }
        minimum = lo;
        maximum = hi;
    });
}

} // namespace raylen
