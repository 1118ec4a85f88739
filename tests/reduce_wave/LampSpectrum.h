#pragma once
// A synthetic comparison-lamp spectrum: Gaussian lines at laboratory
// wavelengths of helium, neon and argon (air, Å) placed through a known
// dispersion polynomial.
#include <cmath>
#include <vector>

namespace lamp {

// λ(p) = a0 + a1·p + a2·p².
constexpr double trueA0 = 3900.0, trueA1 = 0.9, trueA2 = 1.2e-6;
constexpr int pixels = 4096;
constexpr double sigma = 1.5;
constexpr double background = 40.0;

inline double wavelengthAt(double p)
{
    return trueA0 + trueA1 * p + trueA2 * p * p;
}

// Pixel of a wavelength by Newton's method on the polynomial.
inline double pixelOf(double wave)
{
    double p = (wave - trueA0) / trueA1;
    for (int i = 0; i < 30; ++i)
        p -= (wavelengthAt(p) - wave) / (trueA1 + 2.0 * trueA2 * p);
    return p;
}

struct Line {
    double wave;
    double strength;
    const char* element;
};

// Well separated lines between 4000 and 7600 Å.
inline const std::vector<Line>& lines()
{
    static const std::vector<Line> table = {
        {4026.19, 900, "He I"},  {4471.48, 1500, "He I"}, {4713.15, 700, "He I"},  {4921.93, 800, "He I"},
        {5015.68, 1200, "He I"}, {5875.62, 3000, "He I"}, {6143.06, 2500, "Ne I"}, {6402.25, 4000, "Ne I"},
        {6506.53, 2200, "Ne I"}, {6678.15, 1800, "He I"}, {6929.47, 2100, "Ne I"}, {7065.19, 1600, "He I"},
        {7272.94, 1100, "Ar I"}, {7383.98, 1900, "Ar I"}, {7503.87, 2600, "Ar I"},
    };
    return table;
}

inline void spectrum(std::vector<float>& x, std::vector<float>& y)
{
    x.assign(pixels, 0.0f);
    y.assign(pixels, 0.0f);
    for (int p = 0; p < pixels; ++p) {
        double v = background;
        for (const Line& l : lines()) {
            const double d = (p - pixelOf(l.wave)) / sigma;
            v += l.strength * std::exp(-0.5 * d * d);
        }
        x[static_cast<size_t>(p)] = static_cast<float>(p);
        y[static_cast<size_t>(p)] = static_cast<float>(v);
    }
}

} // namespace lamp
