#pragma once
// The CCD noise model of the extraction: G electrons per count, read noise
// R electrons. A pixel of c counts has the variance (max(c, 0)·G + R²)/G²
// counts² (Poisson noise of the counts before sky subtraction plus the
// read noise).
#include "fits/HeaderCard.h"

#include <optional>
#include <string>

namespace raylen {

struct NoiseModel {
    double gain = 1.0;      // electrons per count
    double readNoise = 0.0; // electrons

    double pixelVariance(double counts) const
    {
        return ((counts > 0 ? counts : 0.0) * gain + readNoise * readNoise) / (gain * gain);
    }
};

// Given values first, else the frame's GAIN and RDNOISE cards, else 1 and
// 0; `defaulted` tells whether either fell back to its default. A gain
// card must be positive and a read-noise card not negative to be used.
NoiseModel noiseModelOf(const HeaderCards& frame, std::optional<double> gain, std::optional<double> readNoise,
                        bool& defaulted);

} // namespace raylen
