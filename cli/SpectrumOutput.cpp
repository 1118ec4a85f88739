#include "SpectrumOutput.h"

#include "NonFinite.h"
#include "SpectrumInput.h"

#include "fits/FitsSpectrum.h"
#include "files/FileAccess.h"
#include "files/TextSpectrum.h"

#include <algorithm>

namespace cli {

namespace {

const std::string fitsSuffix = ".fits";

} // namespace

bool isFitsSpectrumName(const std::string& path)
{
    if (path.size() < fitsSuffix.size())
        return false;
    std::string tail = path.substr(path.size() - fitsSuffix.size());
    std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return std::tolower(c); });
    return tail == fitsSuffix;
}

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
