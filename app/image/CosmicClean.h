#pragma once
// Cosmic-ray cleaning of a frame by Laplacian edge detection (van Dokkum
// 2001): sharp edges that stand out of the noise model by more than the
// clip level, and more than the object limit above the frame's own fine
// structure (stars), are cosmic rays; they and their neighbours above a
// lower level are replaced by the median of the good pixels of their 5 × 5
// neighbourhood, and the detection runs again on the cleaned frame.
#include "fits/HeaderCard.h"
#include "numeric/Array2D.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace raylen {

struct CleanParameters {
    double sigmaClip = 4.5;
    double objectLimit = 5.0;
    double gain = 1.0;      // electrons per count
    double readNoise = 0.0; // electrons
};

struct CleanResult {
    size_t cleaned = 0;           // pixels replaced
    Array2D<uint8_t> replaced;    // 1 where a pixel was replaced, same bounds as the image
};

// Cleans the image and adds the COMMENT card. Image and header change only
// when the whole cleaning succeeded. NaN and infinite pixels are neither
// cleaned nor used as neighbours.
std::string sfCleanCosmicRays(SingleImage& image, HeaderCards& header, const CleanParameters& parameters,
                              CleanResult& result);

// A 0/1 frame of the replaced pixels, for saving beside the cleaned one.
SingleImage replacedPixelFrame(const CleanResult& result);

} // namespace raylen
