#pragma once
// Saving the plotted spectrum as a text file: the save dialog with the
// overwrite question.
#include <string>
#include <vector>

namespace raylen {

// strFile (in/out) is the proposed name and receives the chosen one;
// blnCancel is true when the user cancelled the dialog or the question.
std::string sfSaveDataPro(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY,
                          std::string& strFile, bool& blnCancel);

} // namespace raylen
