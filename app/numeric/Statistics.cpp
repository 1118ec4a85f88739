#include "numeric/Statistics.h"

#include "platform/BasicError.h"
#include "platform/BasicRuntime.h"

namespace raylen {

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
        float lo = 1e10f, hi = -1e10f;
        const float* p = a.data();
        const size_t count = a.size();
        for (size_t i = 0; i < count; ++i) {
            const float v = p[i];
            // "not ≥" rather than "<": a NaN replaces the running minimum,
            // deliberately, so that the limits show the frame holds one.
            lo = v >= lo ? lo : v;
            hi = v > hi ? v : hi;
        }
        minimum = lo;
        maximum = hi;
    });
}

} // namespace raylen
