#pragma once
// Index windows of X intervals and extremes of index ranges in a spectrum,
// with 32-bit indices, so long (resampled) spectra can be measured.
#include <cstdint>
#include <string>
#include <vector>

namespace raylen {

// intStart = the first index whose X is ≥ sngStart (0 when there is none);
// intEnd = the first index whose X is > sngEnd, i.e. the first point beyond
// the interval (the upper bound when there is none). An empty array raises
// the subscript error.
std::string sfSearchIndexX(const std::vector<float>& sngData, float sngStart, float sngEnd, int32_t& intStart,
                           int32_t& intEnd);

// Smallest and largest value of sngData(intStart … intEnd). The search
// starts from 1E+10 and −1E+10, so values beyond those never replace them.
std::string sfMinMax(const std::vector<float>& sngData, int32_t intStart, int32_t intEnd, float& sngMin,
                     float& sngMax);

// sfMinMax of y − σ and y + σ together: the Y range that keeps the ±1σ
// band of sngData(intStart … intEnd) in view.
std::string sfMinMaxBand(const std::vector<float>& sngData, const std::vector<float>& sngSigma, int32_t intStart,
                         int32_t intEnd, float& sngMin, float& sngMax);

} // namespace raylen
