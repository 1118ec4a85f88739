#pragma once
// Reading a FITS image a band of rows at a time, with the same values the
// whole-image reader gives, so that work over many large frames never holds
// them all in memory.
#include "fits/FitsHeader.h"

#include <cstdint>
#include <fstream>
#include <string>

namespace raylen {

class FitsRowReader {
public:
    // Reads the header and checks that the file holds every row. A file the
    // image open refuses gives the image open's message.
    std::string open(const std::string& path);

    const HeaderCards& header() const { return header_; }
    const FitsInfo& info() const { return info_; }
    const std::string& path() const { return path_; }

    // Rows first … first + count − 1 (0-based, bottom first as stored) into
    // out, NAXIS1 values a row, scaled by BSCALE and BZERO.
    std::string readRows(int32_t first, int32_t count, float* out);

private:
    std::string path_;
    HeaderCards header_;
    FitsInfo info_;
    std::ifstream file_;
    std::streamoff dataStart_ = 0;
    int bytesPerValue_ = 0;
};

} // namespace raylen
