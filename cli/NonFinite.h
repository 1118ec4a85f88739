#pragma once
// NaN and infinities at the edges of a batch run: an input that holds them
// gets a note on standard error (the run goes on), and an output that holds
// them although every input was finite is refused, since then the arithmetic
// overflowed rather than carried a bad value through.
#include "numeric/Array2D.h"

#include <cstddef>
#include <string>
#include <vector>

namespace cli {

// Messages for an input X that is not finite and for a result that overflowed.
extern const char* const nonFiniteXMessage;
extern const char* const nonFiniteResultMessage;

size_t countNonFinite(const float* values, size_t count);
inline size_t countNonFinite(const std::vector<float>& values) { return countNonFinite(values.data(), values.size()); }

// Notes on standard error how many non-finite values `path` held (nothing
// for none), and remembers for this run that an input held some.
void noteNonFiniteInput(const std::string& path, size_t count);

// Empty when a result may be written: X finite, and Y finite unless an input
// of this run held non-finite values.
std::string checkResult(const std::vector<float>& x, const std::vector<float>& y);
std::string checkResult(const raylen::SingleImage& image);

} // namespace cli
