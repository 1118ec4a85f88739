// FITS reader: header scan, description record, data conversion, and
// writing back whatever was read.
#include "FuzzFile.h"

#include "fits/FitsData.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string& path = fuzz::writeInput(data, size);
    raylen::HeaderCards cards;
    raylen::FitsInfo info;
    raylen::SingleImage image;
    std::string message = raylen::sfOpenFits(path, cards, info, image);
    if (message.empty()) {
        if (image.width() != info.NAXIS1 || image.height() != info.NAXIS2)
            std::abort();
        // Saving what was opened must work and read back the same.
        std::string copy = path + ".out";
        if (!raylen::sfSaveImgSng(copy, cards, image).empty())
            std::abort();
        raylen::HeaderCards cards2;
        raylen::FitsInfo info2;
        raylen::SingleImage image2;
        if (!raylen::sfOpenFits(copy, cards2, info2, image2).empty() || image2.size() != image.size())
            std::abort();
        std::remove(copy.c_str());
    }
    return 0;
}
