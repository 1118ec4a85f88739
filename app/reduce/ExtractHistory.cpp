#include "reduce/ExtractHistory.h"

#include "platform/BasicRuntime.h"
#include "spectrum/Spectrum.h"

namespace raylen {

std::string extractionHistory(const ScanParam& p, const ExtractOptions& options, const std::string& imagePath)
{
    using platform::doubleToText;
    std::string text = "extract " + baseName(imagePath) + " x=" + std::to_string(p.lngStartX) + ":" +
                       std::to_string(p.lngEndX) + " w=" + std::to_string(p.intScanWidth);
    if (p.blnSkySub != 0)
        text += " sky=" + std::to_string(p.intSkyStart1) + ":" + std::to_string(p.intSkyEnd1) + "," +
                std::to_string(p.intSkyStart2) + ":" + std::to_string(p.intSkyEnd2) + "/" +
                std::to_string(p.intSkyFitOrder);
    if (options.optimal)
        text += " optimal cr=" + doubleToText(options.crSigma);
    return text + " gain=" + doubleToText(options.noise.gain) + " rdn=" + doubleToText(options.noise.readNoise);
}

} // namespace raylen
