#pragma once
// The aperture scan parameters as the application keeps them: one record
// that says where the spectrum lies, how wide the summed aperture is and
// where the sky is measured. Reading and checking it belongs to extraction.
#include <array>
#include <cstdint>

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

} // namespace raylen
