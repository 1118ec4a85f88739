#pragma once
// Aperture scan parameters: the one record that says where the spectrum
// lies, how wide the summed aperture is and where the sky is measured.
#include <array>
#include <cstdint>
#include <string>

namespace raylen {

// The trace polynomial keeps at most this many coefficients (order 50).
inline constexpr int kTraceCoefCount = 51;
inline constexpr int kMaxTraceOrder = kTraceCoefCount - 1;

// Member order is the order of the parameter file.
struct ScanParam {
    int16_t intScanWidth = 0;
    int16_t intTraceOrder = 0;
    int16_t blnSkySub = 0; // -1 true, 0 false
    int16_t intSkyStart1 = 0;
    int16_t intSkyEnd1 = 0;
    int16_t intSkyFitOrder = 0;
    int16_t intReserved = 0;
    std::array<double, kTraceCoefCount> dblTraceCoef{};
    int32_t lngStartX = 0;
    int32_t lngEndX = 0;
    int32_t lngStartY = 0;
    int32_t lngEndY = 0;
    int16_t intSkyStart2 = 0;
    int16_t intSkyEnd2 = 0;

    bool operator==(const ScanParam&) const = default;
};

// Defaults of the scan parameters set at start-up.
void dsInitScanParam(ScanParam& typScanParam);

// The texts of the dialog's boxes that the record is read from. The four
// sky offsets are in box order: start 1, end 1, start 2, end 2.
struct ScanParamTexts {
    std::string scanWidth;
    bool skySub = false;
    std::array<std::string, 4> skyOffsets;
    std::string skyFitOrder;
    std::string startX, endX, startY, endY;
};

// Boxes to record: numbers by their leading numeric part, halves to even;
// the four sky offsets sorted ascending as one set, and the sorted values
// written back into `texts`. A value outside its 16- or 32-bit range ends
// with the error report and changes neither the record nor the texts.
// The trace order and coefficients are left alone (the trace fit sets them).
std::string dsGetScanParam(ScanParamTexts& texts, ScanParam& typScanParam);

// Record to boxes, every number formatted with "0" (the region boxes are
// filled from the region box instead and left as they are).
void dsSetScanParam(const ScanParam& typScanParam, ScanParamTexts& texts);

} // namespace raylen
