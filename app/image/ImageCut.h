#pragma once
// The image cut: a rectangular region averaged into a profile along X
// (each column over its rows) or along Y (each row over its columns).
#include "numeric/Array2D.h"

#include <cstdint>
#include <string>
#include <vector>

namespace raylen {

// intDirct 0: along X; any other value: along Y. Bounds inclusive.
std::string sfImplotData(const SingleImage& sngData, int16_t intDirct, int32_t lngX1, int32_t lngX2, int32_t lngY1,
                         int32_t lngY2, std::vector<float>& sngDataX, std::vector<float>& sngDataY);

} // namespace raylen
