#include "reduce/ScanParam.h"

#include "platform/BasicError.h"
#include "platform/BasicRuntime.h"
#include "platform/Format.h"

#include <algorithm>

namespace raylen {

void dsInitScanParam(ScanParam& typScanParam)
{
    typScanParam.intScanWidth = 6;
    typScanParam.intTraceOrder = 2;
    typScanParam.blnSkySub = -1;
    typScanParam.intSkyStart1 = -20;
    typScanParam.intSkyEnd1 = -10;
    typScanParam.intSkyFitOrder = 1;
    typScanParam.intSkyStart2 = 10;
    typScanParam.intSkyEnd2 = 20;
}

namespace {

int16_t integerOf(const std::string& text)
{
    return platform::toInteger(platform::leadingNumber(text));
}

int32_t longOf(const std::string& text)
{
    return platform::toLong(platform::leadingNumber(text));
}

std::string zeroFormat(double value)
{
    return platform::Format(value, "0");
}

} // namespace

std::string dsGetScanParam(ScanParamTexts& texts, ScanParam& typScanParam)
{
    return platform::trapErrors("dsGetScanParam", [&] {
        // Everything is converted before anything is stored, so an overflow
        // leaves the record as it was.
        ScanParam read = typScanParam;
        read.intScanWidth = integerOf(texts.scanWidth);
        read.blnSkySub = texts.skySub ? -1 : 0;
        std::array<int16_t, 4> offsets{};
        for (size_t i = 0; i < offsets.size(); ++i)
            offsets[i] = integerOf(texts.skyOffsets[i]);
        std::sort(offsets.begin(), offsets.end());
        read.intSkyStart1 = offsets[0];
        read.intSkyEnd1 = offsets[1];
        read.intSkyStart2 = offsets[2];
        read.intSkyEnd2 = offsets[3];
        read.intSkyFitOrder = integerOf(texts.skyFitOrder);
        read.lngStartX = longOf(texts.startX);
        read.lngEndX = longOf(texts.endX);
        read.lngStartY = longOf(texts.startY);
        read.lngEndY = longOf(texts.endY);
        typScanParam = read;
        for (size_t i = 0; i < offsets.size(); ++i)
            texts.skyOffsets[i] = zeroFormat(offsets[i]);
    });
}

void dsSetScanParam(const ScanParam& typScanParam, ScanParamTexts& texts)
{
    texts.scanWidth = zeroFormat(typScanParam.intScanWidth);
    texts.skySub = typScanParam.blnSkySub != 0;
    texts.skyOffsets = {zeroFormat(typScanParam.intSkyStart1), zeroFormat(typScanParam.intSkyEnd1),
                        zeroFormat(typScanParam.intSkyStart2), zeroFormat(typScanParam.intSkyEnd2)};
    texts.skyFitOrder = zeroFormat(typScanParam.intSkyFitOrder);
}

} // namespace raylen
