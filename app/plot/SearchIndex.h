#pragma once
// Index windows of X intervals and extremes of index ranges in a spectrum,
// with the 16-bit indices of the plot window's key handling.
#include <cstdint>
#include <string>
#include <vector>

namespace raylen {

// intStart = the first index whose X is ≥ sngStart (0 when there is none);
// intEnd = the first index whose X is > sngEnd, i.e. the first point beyond
// the interval (the upper bound when there is none). An upper bound beyond
// 32767 overflows the 16-bit loop: "sfSearchIndexX, 6" + description.
std::string sfSearchIndexX(const std::vector<float>& sngData, float sngStart, float sngEnd, int16_t& intStart,
                           int16_t& intEnd);

// Smallest and largest value of sngData(intStart … intEnd). The search
// starts from 1E+10 and −1E+10, so values beyond those never replace them.
std::string sfMinMax(const std::vector<float>& sngData, int16_t intStart, int16_t intEnd, float& sngMin,
                     float& sngMax);

} // namespace raylen
