// Dispersion file (.dip): coefficients read from any bytes, applied, and
// written back.
#include "FuzzFile.h"

#include "platform/BasicError.h"
#include "reduce/Dispersion.h"

#include <cmath>
#include <cstdlib>
#include <limits>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string& path = fuzz::writeInput(data, size);
    std::vector<double> a;
    if (!raylen::sfOpenDispFile(path, a).empty())
        return 0;
    if (a.empty())
        std::abort();
    for (double v : a)
        if (!std::isfinite(v))
            std::abort();
    // Applying them may overflow (a reported error), never more.
    const std::vector<float> pixels = {0.0f, 1.0f, 512.5f, 4096.0f};
    std::vector<float> wave;
    std::string applied = platform::trapErrors("fuzz", [&] { wave = raylen::applyDispersion(pixels, a); });
    if (applied.empty() && wave.size() != pixels.size())
        std::abort();
    // The writer's order is 16-bit: longer lists cannot be written back.
    if (a.size() - 1 > static_cast<size_t>(std::numeric_limits<int16_t>::max()))
        return 0;
    std::string copy = path + ".out";
    if (!raylen::sfWriteDispFactor(copy, static_cast<int16_t>(a.size() - 1), a).empty())
        std::abort();
    std::vector<double> again;
    if (!raylen::sfOpenDispFile(copy, again).empty() || again != a)
        std::abort();
    std::remove(copy.c_str());
    return 0;
}
