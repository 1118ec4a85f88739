#pragma once
// The table of known comparison-lamp wavelengths (.dat).
#include <string>
#include <vector>

namespace raylen {

// One entry per line (blank lines too): the number at the start of the
// line's first 11 characters, 0 when they do not start with one. The rest
// of the line may hold a comment such as the element's name. An empty or
// unreadable file gives the procedure's error report; sngWave changes only
// on success.
// Lines starting with '#' are notes, not entries; a "# vacuum" note sets
// vacuum (when given) to say the table lists vacuum wavelengths.
std::string sfOpenCompFile(const std::string& strFile, std::vector<float>& sngWave, bool* vacuum = nullptr);

} // namespace raylen
