#pragma once
// Median filters over square windows of an image, borders extended by
// repeating the edge pixels. The whole-image 5 × 5 filter runs a selection
// network over runs of a row at once, so it vectorises and touches each
// pixel a constant number of times; the single-pixel forms serve sparse
// look-ups. Values must be finite (NaN has no place in an order).
#include "numeric/Array2D.h"

#include <cstddef>

namespace raylen {

// out(x, y) = median of in over the 5 × 5 window around (x, y). Rows are
// split over the cores; the result does not depend on how.
void medianFilter5(const SingleImage& in, SingleImage& out);

// The median of the (2·radius + 1)² window around (x, y), edges repeated.
float medianAround(const SingleImage& in, int32_t x, int32_t y, int radius);

// The median of values[0 … count) (mean of the two middle ones for an even
// count); the values are reordered. count must be at least 1.
double medianInPlace(float* values, size_t count);

} // namespace raylen
