#pragma once
// The uncertainty of a frame (one standard deviation, in the frame's units)
// as an image extension EXTNAME 'ERR' of the frame's size after the primary
// HDU. Readers of images take the primary HDU only, so a frame with the
// extension opens as one without it.
#include "fits/FitsRows.h"
#include "numeric/Array2D.h"

#include <cstdint>
#include <fstream>
#include <string>

namespace raylen {

// Reads the ERR extension of a frame a band of rows at a time, beside the
// frame's own FitsRowReader.
class ErrorExtensionReader {
public:
    // Looks for the extension among those after the frame's primary HDU.
    // No extension: empty message, found false. One that cannot serve as
    // the frame's uncertainty (another size or data type, cut short): a
    // message naming the file.
    std::string open(const FitsRowReader& frame, bool& found);

    // Rows first … first + count − 1 (0-based, as stored), BSCALE and BZERO
    // applied.
    std::string readRows(int32_t first, int32_t count, float* out);

private:
    std::string path_;
    std::ifstream file_;
    std::streamoff dataStart_ = 0;
    int16_t bitpix_ = 0;
    int32_t width_ = 0;
    double scale_ = 1.0, zero_ = 0.0;
};

// The image save with the uncertainty: the primary HDU exactly as
// sfSaveImgSng writes it (the cards in memory keep its edit), then the ERR
// extension in float. The file is replaced only when completely written.
std::string sfSaveImgSngWithError(const std::string& path, HeaderCards& header, const SingleImage& image,
                                  const SingleImage& sigma);

} // namespace raylen
