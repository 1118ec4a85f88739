#pragma once
// Storing the aperture scan parameters given as numbers, and reading them
// back as numbers. Whoever reads text (the dialog's boxes, the command
// line's options) turns it into whole numbers first.
#include "state/ScanParamRecord.h"

#include <array>
#include <cstdint>
#include <string>

namespace raylen {

// The message of a value that does not fit its member names the dialog's
// procedure that reads the boxes, whichever front end gave the numbers.
inline constexpr const char kGetScanParamLabel[] = "dsGetScanParam";

// Halves to even into 64 bits, held at the ends of that range beyond it, so
// that the record's range check still refuses the value.
int64_t toWholeSaturated(double value);

// The aperture as whole numbers, wider than the record's members so that a
// value out of range reaches the check. The four sky offsets are in box
// order: start 1, end 1, start 2, end 2.
struct ScanParamValues {
    int64_t scanWidth = 0;
    bool skySub = false;
    std::array<int64_t, 4> skyOffsets{};
    int64_t skyFitOrder = 0;
    int64_t startX = 0, endX = 0, startY = 0, endY = 0;
};

// Numbers to record: the four sky offsets sorted ascending as one set, and
// the sorted values written back into `values`. A value outside its 16- or
// 32-bit member ends with the overflow report and changes neither the
// record nor `values`. The trace order and coefficients are left alone
// (the trace fit sets them).
std::string sfStoreScanParam(ScanParamValues& values, ScanParam& typScanParam);

// Record to numbers (the region is filled from the region box instead and
// left at 0).
ScanParamValues scanParamValues(const ScanParam& typScanParam);

} // namespace raylen
