#pragma once
// Basic's checked element access and conversions as the measurement
// routines need them: a bad index, a Single overflow or the root of a
// negative number raise the runtime's errors instead of going on silently.
#include "platform/BasicError.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <vector>

namespace raylen {

inline float elementAt(const std::vector<float>& data, int32_t index)
{
    if (index < 0 || static_cast<size_t>(index) >= data.size())
        platform::raise(platform::errSubscript);
    return data[static_cast<size_t>(index)];
}

// The upper bound as a 16-bit loop limit.
inline int16_t upperBound16(const std::vector<float>& data)
{
    if (data.empty())
        platform::raise(platform::errSubscript);
    if (data.size() - 1 > static_cast<size_t>(INT16_MAX))
        platform::raise(platform::errOverflow);
    return static_cast<int16_t>(data.size() - 1);
}

// A Double stored into a Single.
inline float toSingle(double value)
{
    if (std::isnan(value) || std::fabs(value) > static_cast<double>(FLT_MAX))
        platform::raise(platform::errOverflow);
    return static_cast<float>(value);
}

// Sqr of a negative number is an invalid procedure call.
inline double basicSqr(double value)
{
    if (!(value >= 0.0))
        platform::raise(platform::errInvalidCall);
    return std::sqrt(value);
}

// The straight continuum a0 + a1·x through two marks.
struct LinearContinuum {
    double a0 = 0.0;
    double a1 = 0.0;
    double operator()(double x) const { return x * a1 + a0; }
};

} // namespace raylen
