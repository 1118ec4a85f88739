#pragma once
// After a frame operation changed the open image in memory: the render,
// the image window with " 変更" in its caption and the display limits.
#include <string>

namespace raylen {

std::string sfShowChangedImage(const char* procedure);

} // namespace raylen
