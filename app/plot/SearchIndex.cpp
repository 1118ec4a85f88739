#include "plot/SearchIndex.h"

#include "plot/MeasureSupport.h"

#include <algorithm>

namespace raylen {

using namespace platform;

namespace {
constexpr float minMaxStart = 1E+10f;
}

std::string sfSearchIndexX(const std::vector<float>& sngData, float sngStart, float sngEnd, int32_t& intStart,
                           int32_t& intEnd)
{
    return trapErrors("sfSearchIndexX", [&] {
        const int32_t upper = upperBound(sngData);
        int32_t start = 0;
        for (int32_t i = 0; i <= upper; ++i)
            if (sngData[static_cast<size_t>(i)] >= sngStart) {
                start = i;
                break;
            }
        int32_t end = upper;
        for (int32_t j = 0; j <= upper; ++j)
            if (sngData[static_cast<size_t>(j)] > sngEnd) {
                end = j;
                break;
            }
        intStart = start;
        intEnd = end;
    });
}

std::string sfMinMax(const std::vector<float>& sngData, int32_t intStart, int32_t intEnd, float& sngMin,
                     float& sngMax)
{
    return trapErrors("sfMinMax", [&] {
        float lowest = minMaxStart, highest = -minMaxStart;
        for (int32_t i = intStart; i <= intEnd; ++i) {
            const float value = elementAt(sngData, i);
            if (value < lowest)
                lowest = value;
            if (value > highest)
                highest = value;
        }
        sngMin = lowest;
        sngMax = highest;
    });
}

std::string sfMinMaxBand(const std::vector<float>& sngData, const std::vector<float>& sngSigma, int32_t intStart,
                         int32_t intEnd, float& sngMin, float& sngMax)
{
    return trapErrors("sfMinMax", [&] {
        float lowest = minMaxStart, highest = -minMaxStart;
        for (int32_t i = intStart; i <= intEnd; ++i) {
            const float value = elementAt(sngData, i), sigma = elementAt(sngSigma, i);
            lowest = std::min(lowest, value - sigma);
            highest = std::max(highest, value + sigma);
        }
        sngMin = lowest;
        sngMax = highest;
    });
}

} // namespace raylen
