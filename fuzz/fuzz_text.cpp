// Text spectrum reader, and writing back what it read.
#include "FuzzFile.h"

#include "files/TextSpectrum.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string& path = fuzz::writeInput(data, size);
    std::vector<float> x, y;
    if (!raylen::sfOpenText(path, x, y).empty())
        return 0;
    if (x.size() != y.size())
        std::abort();
    std::string copy = path + ".out";
    if (!raylen::sfSaveText(x, y, copy).empty())
        std::abort();
    std::vector<float> x2, y2;
    if (!raylen::sfOpenText(copy, x2, y2).empty() || x2.size() != x.size())
        std::abort();
    // Bit-exact round trip (the order may have been reversed once already).
    if (std::memcmp(x.data(), x2.data(), x.size() * sizeof(float)) != 0 ||
        std::memcmp(y.data(), y2.data(), y.size() * sizeof(float)) != 0)
        std::abort();
    std::remove(copy.c_str());
    return 0;
}
