#include "SpectrumInput.h"

#include "files/FileAccess.h"
#include "files/TextSpectrum.h"
#include "fits/FitsSpectrum.h"


namespace cli {

std::string openSpectrum(const std::string& path, std::vector<float>& x, std::vector<float>& y)
{
    if (!raylen::dfIsFileExist(path))
        return "ﾌｧｲﾙが存在しません";
    if (raylen::isFitsSpectrumFile(path))
        return raylen::sfOpenFitsSpectrum(path, x, y);
    return raylen::sfOpenText(path, x, y);
}

std::string checkCalibFile(const std::string& path)
{
    return raylen::dfIsFileExist(path) ? std::string() : "ファイルが存在しません。";
}

} // namespace cli
