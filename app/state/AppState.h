#pragma once
// The application-wide state: one instance for the whole run, shared by the
// windows and the reduction tasks.
#include "fits/FitsHeader.h"
#include "display/Bitmap.h"
#include "numeric/Array2D.h"
#include "spectrum/Spectrum.h"
#include "state/ScanParamRecord.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace raylen {

// Window and task codes.
enum ActiveWindow : int16_t { windowImage = 10, windowPlot = 20 };
enum TaskMode : int16_t {
    taskNone = 10,
    taskScan = 20,
    taskDarkFlat = 21,
    taskIdent = 50,
    taskDispCor = 70,
    taskFluxCalib = 71,
    taskNormalize = 72,
    taskFFT = 73,
    // Added beside the design's four calibration tasks.
    taskSensFunc = 74,
    taskBaryCorr = 75,
};

struct AppState {
    SingleImage sngImage;
    FitsInfo typFitsInfo;
    HeaderCards strHeader;
    std::vector<float> sngSpecX, sngSpecY;
    // The uncertainty of sngSpecY (empty: none) and what its FITS file
    // carried, for the plot window's ±1σ band, measurements and FITS saves.
    std::vector<float> sngSpecSigma;
    SpectrumMeta specMeta;
    std::vector<int32_t> lngContRegion;
    std::string strFileName;
    std::string strDarkFileName, strFlatFileName, strPrmFileName, strTableFileName;
    int16_t intActiveWindow = windowImage;
    int16_t intTaskMode = taskNone;
    int16_t intFileKind = 0;
    bool blnImageLoaded = false;
    bool blnPlotLoaded = false;
    bool blnImageChanged = false;
    ScanParam typScanParam;
    // The render file ".\image.bmp ", held in memory.
    BitmapBytes renderFile;
};

// The one instance.
AppState& appState();

} // namespace raylen
