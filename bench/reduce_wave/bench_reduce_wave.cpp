// Times the wavelength and flux tasks on the longest spectrum the program
// takes (32767 points): dispersion correction, flux calibration, the
// continuum fit and normalisation, the Fourier amplitudes, and one key g.
// Prints "name seconds" lines, best of the given number of runs.
#include "reduce/DispCor.h"
#include "reduce/FftPlot.h"
#include "reduce/FluxCal.h"
#include "reduce/LineMeasure.h"
#include "reduce/Normalize.h"
#include "files/TextSpectrum.h"
#include "../support/BenchTiming.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

namespace {

constexpr int points = 32767;

using benchsupport::best;
using benchsupport::check;

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_reduce_wave SPEC_OUT.txt [RUNS]\n");
        return 2;
    }
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    std::vector<float> x(points), y(points);
    for (int i = 0; i < points; ++i) {
        const double w = 4000.0 + 0.12 * i;
        x[static_cast<size_t>(i)] = static_cast<float>(w);
        y[static_cast<size_t>(i)] = static_cast<float>(1000.0 + 0.05 * (w - 6000.0) - 1e-5 * (w - 6000.0) * (w - 6000.0) -
                                                        400.0 * std::exp(-0.5 * std::pow((w - 6563.0) / 2.0, 2)) +
                                                        20.0 * std::sin(0.7 * i));
    }
    // The numpy side reads the same spectrum.
    check(raylen::sfSaveText(x, y, argv[1]));

    raylen::NullSpectrumView plot;
    std::vector<float> outX, outY;
    const std::vector<double> dispersion{4000.0, 0.12, 1e-7};
    std::printf("dispcor %.6f\n", best(runs, [&] { check(raylen::sfDispCorPlot(x, y, dispersion, outX, plot)); }));

    std::vector<float> sensX, sensY;
    for (int k = 0; k <= 40; ++k) {
        sensX.push_back(3990.0f + 100.0f * static_cast<float>(k));
        sensY.push_back(1.0f + 0.01f * static_cast<float>(k));
    }
    std::printf("fluxcal %.6f\n", best(runs, [&] { check(raylen::sfCalibrate(x, y, sensX, sensY, outY)); }));

    std::vector<int32_t> region;
    for (int i = 0; i < points; ++i)
        if (std::fabs(x[static_cast<size_t>(i)] - 6563.0f) > 30.0f)
            region.push_back(i);
    std::vector<double> continuum;
    std::printf("normalize %.6f\n", best(runs, [&] {
                    check(raylen::sfContinuumFit(x, y, region, 5, continuum));
                    check(raylen::sfNormalizePlot(x, y, continuum, outY, plot));
                }));

    std::printf("fft %.6f\n", best(runs, [&] { check(raylen::sfFFTPlot(x, y, outX, outY, plot)); }));

    std::vector<float> lamp(points, 10.0f);
    for (int i = 0; i < points; ++i)
        lamp[static_cast<size_t>(i)] += 1000.0f * static_cast<float>(std::exp(-0.5 * std::pow((i - 16000.3) / 1.5, 2)));
    std::vector<float> pixels(points);
    for (int i = 0; i < points; ++i)
        pixels[static_cast<size_t>(i)] = static_cast<float>(i);
    std::string cell;
    std::printf("key_g %.6f\n", best(runs, [&] {
                    check(raylen::sfSearchGaussPeakPos(16001.0f, pixels, lamp, 8, 1.0, plot, cell));
                }));
    return 0;
}
