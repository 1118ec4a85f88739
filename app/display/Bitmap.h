#pragma once
// The display bitmap: the image mapped to 256 grey levels between two
// limits, as the exact bytes of a 24-bit bottom-up Windows bitmap file.
// The render "file" is held in memory; saving as bitmap writes these bytes.
#include "numeric/Array2D.h"

#include <cstdint>
#include <string>
#include <vector>

namespace raylen {

using GreyImage = Array2D<uint8_t>;
using BitmapBytes = LargeVector<uint8_t>;

constexpr int bitmapHeaderBytes = 54;

// Bytes per stored row: 3·width rounded up to a multiple of 4.
int32_t bitmapRowBytes(int32_t width);

// Renders the image. With blnAuto the limits are chosen from the data (the
// lowest tenth of the range above the minimum, the minimum not below 0) and
// returned; a zero range becomes 1000 / 100.
std::string sfCreateBitMap(const SingleImage& sngImage, int32_t lngWidth, int32_t lngHeight, float& sngMax,
                           float& sngMin, BitmapBytes& renderFile, bool blnAuto);

// Grey bytes to the 24-bit bitmap byte image.
std::string sfWriteBitMap(const GreyImage& bytGrey, int32_t lngWidth, int32_t lngHeight, BitmapBytes& renderFile);

// Writes the rendered bytes to a file (complete or not at all).
std::string saveBitmapFile(const BitmapBytes& renderFile, const std::string& strFile);

} // namespace raylen
