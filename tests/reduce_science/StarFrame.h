#pragma once
// Frames with a known CCD noise model for the uncertainty and optimal
// extraction tests: a Gaussian star (pixel-integrated) on a flat sky,
// Poisson electrons at gain G plus read noise R.
#include "numeric/Array2D.h"
#include "reduce/Extract.h"

#include <cmath>
#include <random>

namespace sciencetest {

struct StarFrame {
    int width = 200, height = 70;
    double centre = 35.3, slope = 0.0; // centre + slope·x
    double sigma = 2.0;                // profile, pixels
    double flux = 3000.0;              // counts per column
    double sky = 40.0;                 // counts per pixel
    double gain = 2.0, readNoise = 5.0;
};

inline double centreAt(const StarFrame& s, int x) { return s.centre + s.slope * x; }

// The expected counts; with a generator, one noisy realisation of them.
inline raylen::SingleImage makeStar(const StarFrame& s, std::mt19937* random = nullptr)
{
    raylen::SingleImage image(s.width, s.height);
    std::normal_distribution<double> read(0.0, s.readNoise);
    const double root2 = std::sqrt(2.0);
    for (int x = 0; x < s.width; ++x)
        for (int y = 0; y < s.height; ++y) {
            const double c = centreAt(s, x);
            const double fraction =
                0.5 * (std::erf((y + 0.5 - c) / (root2 * s.sigma)) - std::erf((y - 0.5 - c) / (root2 * s.sigma)));
            double counts = s.flux * fraction + s.sky;
            if (random != nullptr) {
                std::poisson_distribution<long> electrons(counts * s.gain);
                counts = (static_cast<double>(electrons(*random)) + read(*random)) / s.gain;
            }
            image(x, y) = static_cast<float>(counts);
        }
    return image;
}

// A straight or tilted trace (order 1), the aperture `width` wide, sky
// on both sides when `sky`.
inline raylen::ScanParam apertureOf(const StarFrame& s, int16_t width, bool sky)
{
    raylen::ScanParam p;
    raylen::dsInitScanParam(p);
    p.intTraceOrder = 1;
    p.dblTraceCoef[0] = s.centre;
    p.dblTraceCoef[1] = s.slope;
    p.intScanWidth = width;
    p.lngStartX = 0;
    p.lngEndX = s.width - 1;
    p.lngStartY = 0;
    p.lngEndY = s.height - 1;
    p.blnSkySub = sky ? -1 : 0;
    p.intSkyStart1 = -24;
    p.intSkyEnd1 = -12;
    p.intSkyStart2 = 12;
    p.intSkyEnd2 = 24;
    p.intSkyFitOrder = 1;
    return p;
}

inline raylen::ExtractOptions optionsOf(const StarFrame& s, bool optimal)
{
    raylen::ExtractOptions o;
    o.noise = {s.gain, s.readNoise};
    o.optimal = optimal;
    return o;
}

// Records the rejection marks the extraction draws.
struct CollectingMarks : raylen::NullSpectrumView {
    std::string sfPlotRejected(const std::vector<float>& x, const std::vector<float>&) override
    {
        markedX = x;
        return {};
    }
    std::vector<float> markedX;
};

} // namespace sciencetest
