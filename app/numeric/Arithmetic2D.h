#pragma once
// Element-wise arithmetic on images (dark subtraction, flat division).
// Outputs must already cover the first input's bounds and may be the same
// array as an input; they are never re-dimensioned.
#include "numeric/Array2D.h"

#include <string>

namespace raylen {

// B = A / value; "ゼロで割っています" for a zero divisor.
std::string sfDivisionValue2D(const SingleImage& a, float value, SingleImage& b);
// C = A − B; "配列数が違います" when the bounds of A and B differ.
std::string sfSubtractData2D(const SingleImage& a, const SingleImage& b, SingleImage& c);
// C = A / B, or `zero` where B is 0.
std::string sfDivisionData2D(const SingleImage& a, const SingleImage& b, SingleImage& c, float zero);

} // namespace raylen
