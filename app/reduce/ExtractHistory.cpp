#include "reduce/ExtractHistory.h"

#include "platform/BasicRuntime.h"
#include "spectrum/Spectrum.h"

namespace raylen {

std::string extractionHistory(const ScanParam& p, const ExtractOptions& options, const std::string& imagePath)
{
    using platform::doubleToText;
    // The numbers first and the image last, so that a long file name is
    // what the card's 72 characters cut; the X range is the spectrum's own.
    std::string text = "extract w=" + std::to_string(p.intScanWidth);
    if (p.blnSkySub != 0)
        text += " sky=" + std::to_string(p.intSkyStart1) + ":" + std::to_string(p.intSkyEnd1) + "," +
                std::to_string(p.intSkyStart2) + ":" + std::to_string(p.intSkyEnd2) + "/" +
                std::to_string(p.intSkyFitOrder);
    if (options.optimal)
        text += " optimal cr=" + doubleToText(options.crSigma);
    text += " gain=" + doubleToText(options.noise.gain) + " rdn=" + doubleToText(options.noise.readNoise);
    return text + " " + baseName(imagePath);
}

} // namespace raylen
