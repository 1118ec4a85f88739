#pragma once
// A region typed as pixel numbers, corrected against the image size: a
// reversed pair is swapped, then starts below 0 and ends beyond the last
// pixel are clamped (ends are not raised and starts not lowered further).
#include "fits/FitsHeader.h"

#include <cstdint>

namespace raylen {

struct PixelRegion {
    int32_t startX = 0, endX = 0, startY = 0, endY = 0;
};

PixelRegion correctRegion(PixelRegion region, const FitsInfo& typInfo);

} // namespace raylen
