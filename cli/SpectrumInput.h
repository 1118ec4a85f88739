#pragma once
// Reading the inputs of the spectrum commands the way the windows do.
#include <string>
#include <vector>

namespace cli {

// A text spectrum, or a one-dimensional FITS spectrum: "ﾌｧｲﾙが存在しません"
// when it cannot be opened, else the reader's message. Empty on success.
std::string openSpectrum(const std::string& path, std::vector<float>& x, std::vector<float>& y);

// An X scale must be finite; non-finite Y values get a note on standard
// error. Empty when the values may be used.
std::string checkSpectrumValues(const std::string& path, const std::vector<float>& x, const std::vector<float>& y);

// A calibration file (.dip, .sns) must exist before it is read.
std::string checkCalibFile(const std::string& path);

} // namespace cli
