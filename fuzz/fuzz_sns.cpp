// Sensitivity file (.sns): pairs read from any bytes, written back, and a
// spectrum calibrated with them.
#include "FuzzFile.h"

#include "reduce/FluxCal.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string& path = fuzz::writeInput(data, size);
    std::vector<float> sx, sy;
    if (!raylen::sfReadSensFncFile(path, sx, sy).empty())
        return 0;
    if (sx.empty() || sx.size() != sy.size())
        std::abort();
    // Every Single written exactly, as its Double.
    std::string text;
    char line[64];
    for (size_t i = 0; i < sx.size(); ++i) {
        std::snprintf(line, sizeof line, "%.17g %.17g\r\n", static_cast<double>(sx[i]), static_cast<double>(sy[i]));
        text += line;
    }
    std::string copy = path + ".out";
    if (std::FILE* file = std::fopen(copy.c_str(), "wb")) {
        std::fwrite(text.data(), 1, text.size(), file);
        std::fclose(file);
    }
    std::vector<float> sx2, sy2;
    if (!raylen::sfReadSensFncFile(copy, sx2, sy2).empty() || sx2.size() != sx.size() ||
        std::memcmp(sx.data(), sx2.data(), sx.size() * sizeof(float)) != 0 ||
        std::memcmp(sy.data(), sy2.data(), sy.size() * sizeof(float)) != 0)
        std::abort();
    std::remove(copy.c_str());
    // Calibrating a spectrum gives one value per point or a message.
    const std::vector<float> specX = {4000.0f, 4500.0f, 5000.0f, 5500.0f, 6000.0f, 6500.0f};
    const std::vector<float> specY = {1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f};
    std::vector<float> calibrated;
    if (raylen::sfCalibrate(specX, specY, sx, sy, calibrated).empty() && calibrated.size() != specX.size())
        std::abort();
    return 0;
}
