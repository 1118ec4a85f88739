#pragma once
// Basic's checked element access and conversions as the measurement
// routines need them: a bad index, a Single overflow or the root of a
// negative number raise the runtime's errors instead of going on silently.
#include "platform/BasicError.h"

#include <array>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace raylen {

inline float elementAt(const std::vector<float>& data, int32_t index)
{
    if (index < 0 || static_cast<size_t>(index) >= data.size())
        platform::raise(platform::errSubscript);
    return data[static_cast<size_t>(index)];
}

// The upper bound as a 32-bit loop limit.
inline int32_t upperBound(const std::vector<float>& data)
{
    if (data.empty())
        platform::raise(platform::errSubscript);
    if (data.size() - 1 > static_cast<size_t>(INT32_MAX))
        platform::raise(platform::errOverflow);
    return static_cast<int32_t>(data.size() - 1);
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

// The two cursor marks of a two-press key.
using MarkedPoints = std::array<float, 2>;

// Puts the marks in ascending X order, X and Y together.
void orderMarks(MarkedPoints& sngPointX, MarkedPoints& sngPointY);

// The straight continuum through the two marks (sfLst2Fit) and the index
// window between them (sfSearchIndexX); their messages are returned.
std::string continuumWindow(const std::vector<float>& sngDataX, const MarkedPoints& sngPointX,
                            const MarkedPoints& sngPointY, LinearContinuum& continuum, int32_t& i1, int32_t& i2);

} // namespace raylen
