#pragma once
// Display limits that keep the central part of the pixel values: with
// percent = 99.5 the lowest and highest 0.25 % fall outside. The quantiles
// interpolate linearly between ranked values (rank q·(n − 1)); NaN and
// infinite pixels are left out. Linear time: a histogram finds the bins
// that hold the ranks, and only their values are selected among.
#include "display/Stretch.h"

namespace raylen {

// The limits of the image's first width × height pixels; false when none
// of them is finite.
bool percentileLimits(const SingleImage& image, int32_t width, int32_t height, double percent, DisplayLimits& limits);

} // namespace raylen
