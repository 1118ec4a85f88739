#pragma once
// Display stretches: an image mapped to 256 grey levels between two limits
// through a curve. With t the value's place between the limits (clipped to
// 0 … 1, NaN at 0), the grey level is 255 · s(t) rounded half to even:
//   linear        s = t
//   square root   s = √t
//   logarithmic   s = ln(1 + a·t) / ln(1 + a),        a = logarithmicScale
//   asinh         s = asinh(t / b) / asinh(1 / b),    b = asinhSoftening
// Limits that leave no range (high ≤ low) show pixels at or above high white
// and the rest black.
#include "display/Bitmap.h"

#include <array>
#include <cstdint>
#include <vector>

namespace raylen {

enum class StretchCurve { Linear, SquareRoot, Logarithmic, Asinh };

constexpr double logarithmicScale = 1000.0;
constexpr double asinhSoftening = 0.1;

struct DisplayLimits {
    double low = 0.0, high = 0.0;
};

// s(t) of the curve, for t in 0 … 1.
double stretchCurve(StretchCurve curve, double t);
// The inverse of s: the t at which the curve reaches s.
double stretchInverse(StretchCurve curve, double s);

// Grey levels from t in a constant number of steps per pixel: the curve is
// inverted once into the 255 places where the level goes up, and a table
// over 2^16 equal bins of t gives each bin's first level and how many
// places a bin holds at most.
class StretchTable {
public:
    explicit StretchTable(StretchCurve curve);
    uint8_t grey(double t) const;
    // Values of t in the row, written as grey levels.
    void greyRow(const double* t, int32_t width, uint8_t* target) const;

private:
    static constexpr int binBits = 16;
    static constexpr int bins = 1 << binBits;
    static constexpr int levels = 256;
    // rise[g]: the t from which the level is at least g (rise[0] = −∞,
    // past the last level +∞, padded for the refinement steps).
    std::vector<double> rise_;
    std::vector<uint8_t> first_;
    int steps_ = 0;
};

// The image's first width × height pixels stretched into grey (same size).
void stretchGrey(const SingleImage& image, int32_t width, int32_t height, DisplayLimits limits,
                 StretchCurve curve, GreyImage& grey);

} // namespace raylen
