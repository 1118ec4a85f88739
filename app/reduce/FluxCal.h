#pragma once
// Flux calibration: the spectrum divided by the instrument's sensitivity,
// interpolated linearly in a table of (wavelength, sensitivity) pairs (.sns).
#include "reduce/CalibTables.h"
#include "view/SpectrumView.h"

#include <string>
#include <vector>

namespace raylen {

// One pair per line, two numbers separated by a comma or blanks. A line
// without exactly two numbers, an empty or unreadable file is the
// procedure's error report; the arrays change only on success.
// Lines starting with '#' are skipped; unit (when given) gets NAME of a
// first line "# unit NAME", else empty.
std::string sfReadSensFncFile(const std::string& strFile, std::vector<float>& sngSensX, std::vector<float>& sngSensY,
                              std::string* unit = nullptr);

// Y / s at every point, s interpolated at its X; where s is exactly 0 the
// value passes unchanged. An interpolation message ends the calibration.
std::string sfCalibrate(const std::vector<float>& sngSpecX, const std::vector<float>& sngSpecY,
                        const std::vector<float>& sngSensX, const std::vector<float>& sngSensY,
                        std::vector<float>& sngNewY);

// The same with the exposure time and the atmosphere: Y / (s · T ·
// 10^(−0.4·k(X)·airmass)), the inverse of the response fit.
std::string sfCalibrateExtinction(const std::vector<float>& sngSpecX, const std::vector<float>& sngSpecY,
                                  const std::vector<float>& sngSensX, const std::vector<float>& sngSensY,
                                  double exptime, double airmass, const ExtinctionTable& extinction,
                                  std::vector<float>& sngNewY);

// sfCalibrate, then (X, new values) as the plotted spectrum (a plotting
// failure is not reported).
std::string sfCalibratePlot(const std::vector<float>& sngSpecX, const std::vector<float>& sngSpecY,
                            const std::vector<float>& sngSensX, const std::vector<float>& sngSensY,
                            std::vector<float>& sngNewY, SpectrumView& plotter);

} // namespace raylen
