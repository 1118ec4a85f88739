#pragma once
// Basic's Format for numbers and dates: digit placeholders "0" and "#",
// decimal point, thousands comma, exponent "E+0"/"E-0", literal text, and the
// named formats "General Number", "General Date", "Fixed", "Standard",
// "Scientific", "Percent". Halves round away from zero, as Format does.
#include <string>
#include <string_view>

namespace platform {

std::string Format(double value, std::string_view format);

// An OLE date (days since 1899-12-30, time as the fraction) as
// "yyyy/MM/dd HH:mm:ss"; the date part is left out at day 0 and the time part
// at midnight.
std::string formatGeneralDate(double oleDate);

} // namespace platform
