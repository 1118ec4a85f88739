#pragma once
// Measuring the position of a comparison line near the cursor (keys m, g
// and n during identification).
#include "view/SpectrumView.h"

#include <cstdint>
#include <string>
#include <vector>

namespace raylen {

// First index with X(i) ≥ sngX, 0 when there is none; 0 means "no line".
std::string sfSearchNearIndex(const std::vector<float>& sngDataX, float sngX, int32_t& index);

// Highest point above 0 in index ± round(intSearch / 2) (a start below 0
// becomes 1, the end is cut to the last point); among equal values the
// first wins. No point above 0 is the procedure's error report.
std::string sfSearchPeakIndex(int32_t index, int16_t intSearch, const std::vector<float>& sngDataY, int32_t& peak);

// Gaussian y = A·exp(−B·(x − C)²) + D fitted over index ± round(intSearch / 2)
// (start below 0 becomes 0), started at X(index) with dblHPFW; the model at
// the window's X is drawn as the second line. centre = C, height = A + D.
std::string sfSearchGaussPosFit(int32_t index, int16_t intSearch, double dblHPFW, const std::vector<float>& sngDataX,
                                 const std::vector<float>& sngDataY, SpectrumView& plotter, float& centre,
                                 float& height);

// Key m: the pixel text ("0") of the highest point near the cursor, marked
// as the second symbol set. pixelText is left alone when nothing was
// measured (cursor outside the data).
std::string sfSearchPeakPos(float sngX, const std::vector<float>& sngDataX, const std::vector<float>& sngDataY,
                            int16_t intSearch, SpectrumView& plotter, std::string& pixelText);

// Key g: the Gaussian centre as text ("0.0").
std::string sfSearchGaussPeakPos(float sngX, const std::vector<float>& sngDataX, const std::vector<float>& sngDataY,
                                 int16_t intSearch, double dblHPFW, SpectrumView& plotter, std::string& pixelText);

// Key n: the cursor's X itself.
std::string cursorPixelText(float sngX);

} // namespace raylen
