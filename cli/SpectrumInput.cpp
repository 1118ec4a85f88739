#include "SpectrumInput.h"

#include "shell/FileAccess.h"
#include "shell/TextSpectrum.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace cli {

std::string openSpectrum(const std::string& path, std::vector<float>& x, std::vector<float>& y)
{
    if (!raylen::dfIsFileExist(path))
        return "ﾌｧｲﾙが存在しません";
    return raylen::sfOpenText(path, x, y);
}

std::string checkCalibFile(const std::string& path)
{
    return raylen::dfIsFileExist(path) ? std::string() : "ファイルが存在しません。";
}

bool parseNumber(const std::string& text, double& value)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtod(text.c_str(), &end);
    return errno == 0 && end != text.c_str() && *end == '\0' && std::isfinite(value);
}

} // namespace cli
