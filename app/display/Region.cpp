#include "display/Region.h"

#include <utility>

namespace raylen {

PixelRegion correctRegion(PixelRegion r, const FitsInfo& typInfo)
{
    if (r.startX > r.endX)
        std::swap(r.startX, r.endX);
    if (r.startY > r.endY)
        std::swap(r.startY, r.endY);
    if (r.startX < 0)
        r.startX = 0;
    if (r.endX > typInfo.NAXIS1 - 1)
        r.endX = typInfo.NAXIS1 - 1;
    if (r.startY < 0)
        r.startY = 0;
    if (r.endY > typInfo.NAXIS2 - 1)
        r.endY = typInfo.NAXIS2 - 1;
    return r;
}

} // namespace raylen
