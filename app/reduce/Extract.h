#pragma once
// The extraction: every column of the region summed over the aperture
// centred on the trace, less the sky under it; and the reference scan that
// repeats an earlier extraction's aperture from its parameter file.
#include "fits/FitsHeader.h"
#include "numeric/Array2D.h"
#include "numeric/SigmaReject.h"
#include "reduce/NoiseModel.h"
#include "reduce/OptimalExtract.h"
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

// The extraction with an uncertainty: the options beside the record.
struct ExtractOptions {
    RejectOptions skyReject;
    NoiseModel noise;
    bool optimal = false;              // Horne's variance-weighted sum over the same aperture
    double crSigma = defaultCrSigma;   // cosmic-ray rejection of the optimal extraction
};

struct ExtractResult {
    std::vector<float> x, y;
    std::vector<float> sigma;              // one standard deviation of y
    std::vector<float> sky;                // the sky integral subtracted at each x (0 without sky)
    std::vector<char> rejectedColumns;     // columns where pixels were rejected as cosmic rays
    size_t rejectedPixels = 0;
};

// sfScanDataPro and sfRefScanDataPro with the noise model: y is the same box
// sum unless options.optimal; marks are drawn for sky rejections as above
// and for columns that lost pixels to the cosmic-ray rejection. The result
// changes only on success.
std::string sfScanDataPro(const ScanParam& typScanParam, const SingleImage& sngImage, const ExtractOptions& options,
                          ExtractResult& result, SpectrumView& plotter);
std::string sfRefScanDataPro(const std::string& strPath, const SingleImage& sngImage, const FitsInfo& typFitsInfo,
                             ScanParam& typScanParam, const ExtractOptions& options, ExtractResult& result,
                             SpectrumView& plotter);

} // namespace raylen
