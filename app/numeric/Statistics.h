#pragma once
// Mean values and the data range of an image.
#include "numeric/Array2D.h"

#include <string>
#include <vector>

namespace raylen {

// Mean of all elements: each element is divided by the count before it is
// added to a double sum, y outer and x inner; the sum is rounded to Single.
std::string sfMean2D(const SingleImage& a, float& mean);
std::string sfMean1D(const std::vector<float>& a, float& mean);

// Smallest and largest element, starting from 1e10 and −1e10, so values
// beyond ±1e10 never become the limits. One linear pass over the pixels.
std::string sfMinMax2D(const SingleImage& a, float& minimum, float& maximum);

} // namespace raylen
