#include "SpectrumInput.h"

#include "NonFinite.h"

#include "files/FileAccess.h"
#include "files/TextSpectrum.h"
#include "fits/FitsSpectrum.h"


namespace cli {

std::string checkSpectrumValues(const std::string& path, const std::vector<float>& x, const std::vector<float>& y)
{
    if (countNonFinite(x) > 0)
        return nonFiniteXMessage;
    noteNonFiniteInput(path, countNonFinite(y));
    return {};
}

std::string openSpectrum(const std::string& path, std::vector<float>& x, std::vector<float>& y)
{
    if (!raylen::dfIsFileExist(path))
        return "ﾌｧｲﾙが存在しません";
    std::string message = raylen::isFitsSpectrumFile(path) ? raylen::sfOpenFitsSpectrum(path, x, y)
                                                           : raylen::sfOpenText(path, x, y);
    return message.empty() ? checkSpectrumValues(path, x, y) : message;
}

std::string checkCalibFile(const std::string& path)
{
    return raylen::dfIsFileExist(path) ? std::string() : "ファイルが存在しません。";
}

} // namespace cli
