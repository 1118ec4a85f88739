// One-dimensional FITS spectrum reader (image and binary table forms), and
// writing back what it read.
#include "FuzzFile.h"

#include "fits/FitsSpectrum.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

// Equal as the FITS data would be: the reader's "value * BSCALE + BZERO"
// turns -0 into +0 and may quiet a NaN.
bool sameValue(float a, float b)
{
    return a == b || (std::isnan(a) && std::isnan(b));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string& path = fuzz::writeInput(data, size);
    std::vector<float> x, y;
    if (!raylen::sfOpenFitsSpectrum(path, x, y).empty())
        return 0;
    // Whatever opens must also be recognised as a spectrum.
    if (x.size() != y.size() || !raylen::isFitsSpectrumFile(path))
        std::abort();
    // A table of no rows opens empty; the writer refuses to save nothing.
    if (x.empty())
        return 0;
    std::string copy = path + ".out";
    if (!raylen::sfSaveFitsSpectrum(copy, x, y).empty())
        std::abort();
    std::vector<float> x2, y2;
    if (!raylen::sfOpenFitsSpectrum(copy, x2, y2).empty() || x2.size() != x.size() || y2.size() != y.size())
        std::abort();
    double start = 0, step = 0;
    const bool imageForm = raylen::isEvenlySpaced(x, start, step);
    for (size_t i = 0; i < x.size(); ++i) {
        if (!sameValue(y[i], y2[i]))
            std::abort();
        // The table form keeps X as it is; the image form keeps the first X
        // exactly and the others through CRVAL1 + i * CDELT1.
        if (!imageForm && !sameValue(x[i], x2[i]))
            std::abort();
    }
    if (imageForm && x2.front() != x.front())
        std::abort();
    std::remove(copy.c_str());
    return 0;
}
