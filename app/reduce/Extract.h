#pragma once
// The extraction: every column of the region summed over the aperture
// centred on the trace, less the sky under it; and the reference scan that
// repeats an earlier extraction's aperture from its parameter file.
#include "fits/FitsHeader.h"
#include "numeric/Array2D.h"
#include "numeric/SigmaReject.h"
#include "reduce/ScanParam.h"
#include "view/SpectrumView.h"

#include <string>
#include <vector>

namespace raylen {

// For x = lngStartX … lngEndX: sngScanX = x, sngScanY = aperture sum − sky
// (no sky unless blnSkySub), then the spectrum is plotted. The first
// failing step's status is returned and the outputs keep what they held.
// skyReject: opt-in sigma rejection in every column's sky fit; with it the
// columns whose sky lost pixels are marked as rejected points (an empty set
// when none did).
std::string sfScanDataPro(const ScanParam& typScanParam, const SingleImage& sngImage, std::vector<float>& sngScanX,
                          std::vector<float>& sngScanY, SpectrumView& plotter, const RejectOptions& skyReject = {});

// Reads the parameter file at strPath into the record, checks its region
// against the image and extracts the plain aperture sums (never the sky).
// A file shorter than the record is refused and leaves the record as it
// was; a region larger than the image is refused before anything is
// extracted, the record keeping what was read.
std::string sfRefScanDataPro(const std::string& strPath, const SingleImage& sngImage, const FitsInfo& typFitsInfo,
                             ScanParam& typScanParam, std::vector<float>& sngScanX, std::vector<float>& sngScanY,
                             SpectrumView& plotter);

} // namespace raylen
