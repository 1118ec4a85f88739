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

} // namespace cli
