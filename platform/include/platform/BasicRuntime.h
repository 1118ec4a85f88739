#pragma once
// Numeric conversions of the Basic runtime that the system's results depend
// on: leading-number reading, integer conversion with halves to even and the
// overflow error, checked division, and the text of a Single in data files.
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Reads an optional sign, digits, a point and an exponent after leading
// blanks; text that does not start with a number gives 0.
double leadingNumber(std::string_view text);

// Rounds halves to even (banker's rounding) without range checks.
double roundHalfEven(double value);

// Integer (16-bit) and Long (32-bit) conversion: halves to even; a value
// outside the range or not a number raises error 6.
int16_t toInteger(double value);
int32_t toLong(double value);

// a / b, raising error 11 when b is zero.
double checkedDivide(double a, double b);
// 16-bit and 32-bit integer arithmetic raising error 6 on overflow.
int16_t checkedAdd16(int32_t a, int32_t b);
int16_t checkedMul16(int32_t a, int32_t b);
int32_t checkedMul32(int64_t a, int64_t b);
int32_t checkedAdd32(int64_t a, int64_t b);

// Shortest decimal text that reads back to the same float, "." as the
// decimal point whatever the locale, "E+nn"/"E-nn" for very small or very
// large magnitudes (below 1E-5 or from 1E+7 on).
std::string singleToText(float value);
// The same for a Double, with exponent notation below 1E-5 and from 1E+15 on.
std::string doubleToText(double value);

} // namespace platform
