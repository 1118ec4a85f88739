#pragma once
// Reading the aperture scan parameters from the extraction dialog's boxes
// and writing them back.
#include "state/ScanParamRecord.h"

#include <array>
#include <cstdint>
#include <string>

namespace raylen {

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
