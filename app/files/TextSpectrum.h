#pragma once
// Two-column text spectra: X, Y pairs of decimal numbers separated by
// commas, blanks or line ends. Written one "X,Y" line per point with CR LF.
#include <string>
#include <vector>

namespace raylen {

// Reads the pairs; a descending spectrum is put into ascending order. The
// outputs change only on success. A file that does not begin with a number
// gives the unsupported-format message of the open dialog.
std::string sfOpenText(const std::string& strFile, std::vector<float>& sngX, std::vector<float>& sngY);

// Writes every point as the shortest text that reads back to the same
// Single ("NaN", "Inf", "-Inf" for those, which the reader takes back);
// the file is replaced only when completely written.
std::string sfSaveText(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY,
                       const std::string& strFile);

} // namespace raylen
