#pragma once
// Classifying a file by its content: FITS image, text spectrum or neither.
#include <cstdint>
#include <string>

namespace raylen {

enum FileKind : int16_t { kindFits = 10, kindText = 20, kindOther = -1 };

// Neither a FITS image nor a text spectrum.
inline constexpr const char* kMsgUnsupportedFile = "ｻﾎﾟｰﾄしていないﾌｧｲﾙ形式です";

std::string sfCheckKindOfFile(const std::string& strFile, int16_t& intKind);

} // namespace raylen
