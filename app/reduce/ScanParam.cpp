#include "reduce/ScanParam.h"

#include "platform/BasicError.h"
#include "platform/BasicRuntime.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace raylen {

namespace {

// A member takes the value only when its type holds it.
template <class Member>
Member checked(int64_t value)
{
    if (value < std::numeric_limits<Member>::min() || value > std::numeric_limits<Member>::max())
        platform::raise(platform::errOverflow);
    return static_cast<Member>(value);
}

} // namespace

int64_t toWholeSaturated(double value)
{
    const double r = platform::roundHalfEven(value);
    // 2^63 is the first double beyond the range; NaN is held at 0.
    constexpr double kLimit = 9223372036854775808.0;
    if (std::isnan(r))
        return 0;
    if (r >= kLimit)
        return std::numeric_limits<int64_t>::max();
    if (r < -kLimit)
        return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(r);
}

std::string sfStoreScanParam(ScanParamValues& values, ScanParam& typScanParam)
{
    return platform::trapErrors(kGetScanParamLabel, [&] {
        // Everything is checked before anything is stored, so an overflow
        // leaves the record as it was.
        ScanParam read = typScanParam;
        read.intScanWidth = checked<int16_t>(values.scanWidth);
        read.blnSkySub = values.skySub ? -1 : 0;
        std::array<int16_t, 4> offsets{};
        for (size_t i = 0; i < offsets.size(); ++i)
            offsets[i] = checked<int16_t>(values.skyOffsets[i]);
        std::sort(offsets.begin(), offsets.end());
        read.intSkyStart1 = offsets[0];
        read.intSkyEnd1 = offsets[1];
        read.intSkyStart2 = offsets[2];
        read.intSkyEnd2 = offsets[3];
        read.intSkyFitOrder = checked<int16_t>(values.skyFitOrder);
        read.lngStartX = checked<int32_t>(values.startX);
        read.lngEndX = checked<int32_t>(values.endX);
        read.lngStartY = checked<int32_t>(values.startY);
        read.lngEndY = checked<int32_t>(values.endY);
        typScanParam = read;
        std::copy(offsets.begin(), offsets.end(), values.skyOffsets.begin());
    });
}

ScanParamValues scanParamValues(const ScanParam& typScanParam)
{
    ScanParamValues values;
    values.scanWidth = typScanParam.intScanWidth;
    values.skySub = typScanParam.blnSkySub != 0;
    values.skyOffsets = {typScanParam.intSkyStart1, typScanParam.intSkyEnd1, typScanParam.intSkyStart2,
                         typScanParam.intSkyEnd2};
    values.skyFitOrder = typScanParam.intSkyFitOrder;
    return values;
}

} // namespace raylen
