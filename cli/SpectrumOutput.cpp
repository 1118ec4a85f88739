#include "SpectrumOutput.h"

#include "NonFinite.h"
#include "SpectrumInput.h"

#include "fits/FitsSpectrum.h"
#include "files/FileAccess.h"
#include "files/TextSpectrum.h"

#include <algorithm>

namespace cli {

std::string saveSpectrum(const std::vector<float>& x, const std::vector<float>& y, const std::string& path,
                         bool xIsWavelength, const raylen::HeaderCards* source)
{
    if (std::string refused = checkResult(x, y); !refused.empty())
        return refused;
    if (!isFitsSpectrumName(path))
        return raylen::sfSaveText(x, y, path);
    raylen::FitsSpectrumOptions options;
    options.xIsWavelength = xIsWavelength;
    options.source = source;
    return raylen::sfSaveFitsSpectrum(path, x, y, options);
}

std::string saveSpectrum(const raylen::Spectrum& spectrum, const std::string& path,
                         const raylen::LinearScale* exact)
{
    if (std::string refused = checkResult(spectrum.x, spectrum.y); !refused.empty())
        return refused;
    return raylen::saveSpectrumFile(path, spectrum, exact);
}

std::string openAnySpectrum(const std::string& path, raylen::Spectrum& spectrum)
{
    if (!raylen::dfIsFileExist(path))
        return "ﾌｧｲﾙが存在しません";
    raylen::Spectrum opened;
    std::string message = raylen::openSpectrumFile(path, opened);
    if (message.empty())
        message = checkSpectrumValues(path, opened.x, opened.y);
    if (message.empty())
        spectrum = std::move(opened);
    return message;
}

std::string openAnySpectrum(const std::string& path, std::vector<float>& x, std::vector<float>& y,
                            bool& wavelength)
{
    if (raylen::dfIsFileExist(path) && raylen::isFitsSpectrumFile(path)) {
        std::string message = raylen::sfOpenFitsSpectrum(path, x, y, &wavelength);
        return message.empty() ? checkSpectrumValues(path, x, y) : message;
    }
    std::string message = openSpectrum(path, x, y);
    if (message.empty())
        wavelength = !raylen::looksLikePixelNumbers(x);
    return message;
}

} // namespace cli
