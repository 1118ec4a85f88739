#pragma once
// A long-slit frame for the extraction tests: a curved trace with a
// Gaussian profile, a smooth sky with emission lines, read noise.
#include "../support/TestSupport.h"

#include "fits/FitsData.h"
#include "numeric/Array2D.h"

#include <cmath>
#include <cstdint>
#include <random>
#include <string>

namespace extracttest {

struct FrameShape {
    int width = 600, height = 120;
    double centre0 = 58.0, tilt = 7.0, bend = -4.0; // centre(t) = c0 + tilt·t + bend·t², t = x / (w − 1)
    double sigma = 1.8, flux = 4000.0;
    double skyLevel = 30.0, skySlope = 0.05; // counts per row along the slit
    double noise = 3.0;
    unsigned seed = 7;
};

inline double traceAt(const FrameShape& s, double x)
{
    const double t = x / (s.width - 1);
    return s.centre0 + s.tilt * t + s.bend * t * t;
}

inline raylen::SingleImage makeFrame(const FrameShape& s)
{
    raylen::SingleImage image(s.width, s.height);
    std::mt19937 random(s.seed);
    std::normal_distribution<double> gauss(0.0, s.noise);
    const double pi = std::acos(-1.0);
    for (int x = 0; x < s.width; ++x) {
        const double centre = traceAt(s, x);
        const double continuum = s.flux * (1.0 + 0.3 * std::sin(x / 37.0)) * (1.0 - 0.6 * std::exp(-0.5 * std::pow((x - 0.4 * s.width) / 3.0, 2)));
        double skyLine = 0;
        for (double line : {0.15, 0.55, 0.8})
            skyLine += 400.0 * std::exp(-0.5 * std::pow((x - line * s.width) / 1.5, 2));
        for (int y = 0; y < s.height; ++y) {
            const double profile = std::exp(-0.5 * std::pow((y - centre) / s.sigma, 2)) / (s.sigma * std::sqrt(2 * pi));
            const double sky = s.skyLevel + s.skySlope * (y - s.height / 2.0) + skyLine;
            image(x, y) = static_cast<float>(continuum * profile + sky + gauss(random));
        }
    }
    return image;
}

inline raylen::HeaderCards floatCards(int width, int height)
{
    return {testsupport::card("SIMPLE  =                    T"), testsupport::card("BITPIX  =                  -32"),
            testsupport::card("NAXIS   =                    2"),
            testsupport::card("NAXIS1  = " + std::string(20 - std::to_string(width).size(), ' ') + std::to_string(width)),
            testsupport::card("NAXIS2  = " + std::string(20 - std::to_string(height).size(), ' ') + std::to_string(height)),
            testsupport::card("END")};
}

inline void saveFrame(const std::string& path, const raylen::SingleImage& image)
{
    raylen::HeaderCards cards = floatCards(image.width(), image.height());
    ASSERT_EQ(raylen::sfSaveImgSng(path, cards, image), "");
}

inline raylen::FitsInfo infoOf(const raylen::SingleImage& image)
{
    raylen::FitsInfo info;
    info.NAXIS = 2;
    info.BITPIX = -32;
    info.NAXIS1 = image.width();
    info.NAXIS2 = image.height();
    return info;
}

} // namespace extracttest
