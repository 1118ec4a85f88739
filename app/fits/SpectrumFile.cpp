#include "fits/SpectrumFile.h"

#include "files/TextSpectrum.h"

#include <algorithm>

namespace raylen {

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

std::string openSpectrumFile(const std::string& path, Spectrum& spectrum)
{
    if (isFitsSpectrumFile(path))
        return sfOpenFitsSpectrum(path, spectrum);
    Spectrum text;
    std::string message = sfOpenText(path, text.x, text.y);
    if (!message.empty())
        return message;
    text.meta.xIsWavelength = !looksLikePixelNumbers(text.x);
    spectrum = std::move(text);
    return {};
}

std::string saveSpectrumFile(const std::string& path, const Spectrum& spectrum, const LinearScale* exact)
{
    if (isFitsSpectrumName(path))
        return sfSaveFitsSpectrum(path, spectrum, exact);
    return sfSaveText(spectrum.x, spectrum.y, path);
}

} // namespace raylen
