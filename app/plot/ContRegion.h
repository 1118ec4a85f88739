#pragma once
// The continuum regions of the normalisation task: the indices of every
// spectrum point inside a marked X interval, kept in the shared list and
// shown as red "+" marks on the overlay.
#include "view/SpectrumView.h"

#include <cstdint>
#include <string>
#include <vector>

namespace raylen {

// A list whose upper bound is 0 (one element, or none) counts as empty, so a
// region of one single point is forgotten by the next call.
std::string sfSetContRegion(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY, float sngX1,
                            float sngX2, std::vector<int32_t>& lngContRegion, SpectrumView& plotter);
// Removing every entry would leave upper bound -1: the subscript error, and
// the list keeps its contents.
std::string sfDeleteContRegion(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY,
                               float sngX1, float sngX2, std::vector<int32_t>& lngContRegion,
                               SpectrumView& plotter);

} // namespace raylen
