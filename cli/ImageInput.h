#pragma once
// Opening an image the way the window program's open does: existence,
// classification, then the FITS reader.
#include "fits/FitsData.h"

#include <string>

namespace cli {

struct OpenedImage {
    raylen::HeaderCards header;
    raylen::FitsInfo info;
    raylen::SingleImage image;
};

// Empty on success, else the system's message.
std::string openImage(const std::string& path, OpenedImage& opened);

// openImage for a command that computes with the pixels: integer data that
// BSCALE and BZERO scale beyond a Single is refused; NaN and infinities
// stored as floats get a note on standard error.
std::string openImageValues(const std::string& path, OpenedImage& opened);

} // namespace cli
