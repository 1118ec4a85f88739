// Optimal extraction (Horne) of every column of a 4096 × 512 frame against
// the anchor measured in the same run: the box extraction with sky over the
// same aperture (width 14 = ±3.5 σ, sky -24:-12,12:24 of order 1), logged
// three ways: as the optimal run uses it (with the uncertainty), as the box
// extraction runs without the new options, and with the program's default
// aperture (width 6, sky -20:-10,10:20).
// The four runs take turns; each figure is the fastest of REPEATS.
//   bench_optimal [REPEATS]
#include "reduce/Extract.h"
#include "reduce/ScanParam.h"
#include "support/BenchTiming.h"

#include <cmath>
#include <cstdio>
#include <random>

using namespace raylen;

namespace {

constexpr int kWidth = 4096, kHeight = 512;
constexpr double kGain = 2.0, kReadNoise = 5.0;

SingleImage makeFrame()
{
    SingleImage image(kWidth, kHeight);
    std::mt19937 random(3);
    std::normal_distribution<double> read(0.0, kReadNoise);
    for (int x = 0; x < kWidth; ++x) {
        const double t = x / double(kWidth - 1);
        const double centre = 250 + 8 * t - 5 * t * t;
        for (int y = 0; y < kHeight; ++y) {
            const double fraction = 0.5 * (std::erf((y + 0.5 - centre) / (std::sqrt(2.0) * 2.0)) -
                                           std::erf((y - 0.5 - centre) / (std::sqrt(2.0) * 2.0)));
            std::poisson_distribution<long> electrons(kGain * (3000 * fraction + 40));
            image(x, y) = static_cast<float>((electrons(random) + read(random)) / kGain);
        }
    }
    return image;
}

ScanParam aperture(int16_t width, int16_t near, int16_t far)
{
    ScanParam p;
    dsInitScanParam(p);
    p.lngStartX = 0;
    p.lngEndX = kWidth - 1;
    p.lngStartY = 0;
    p.lngEndY = kHeight - 1;
    p.intTraceOrder = 2;
    p.dblTraceCoef[0] = 250;
    p.dblTraceCoef[1] = 8.0 / (kWidth - 1);
    p.dblTraceCoef[2] = -5.0 / ((kWidth - 1.0) * (kWidth - 1.0));
    p.intScanWidth = width;
    p.blnSkySub = -1;
    p.intSkyStart1 = static_cast<int16_t>(-far);
    p.intSkyEnd1 = static_cast<int16_t>(-near);
    p.intSkyStart2 = near;
    p.intSkyEnd2 = far;
    p.intSkyFitOrder = 1;
    return p;
}

} // namespace

int main(int argc, char** argv)
{
    const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const SingleImage image = makeFrame();
    const ScanParam ours = aperture(14, 12, 24), defaults = aperture(6, 10, 20);
    NullSpectrumView plotter;
    ExtractOptions box;
    box.noise = {kGain, kReadNoise};
    ExtractOptions optimal = box;
    optimal.optimal = true;
    std::vector<float> x, y;
    ExtractResult result;
    size_t rejected = 0;

    // Taking turns, so that the ratios compare runs made under the same load.
    const std::vector<double> times = benchsupport::bestEach(
        repeats, {[&] { benchsupport::check(sfScanDataPro(ours, image, x, y, plotter)); },
                  [&] { benchsupport::check(sfScanDataPro(defaults, image, x, y, plotter)); },
                  [&] { benchsupport::check(sfScanDataPro(ours, image, box, result, plotter)); },
                  [&] {
                      benchsupport::check(sfScanDataPro(ours, image, optimal, result, plotter));
                      rejected = result.rejectedPixels;
                  }});
    const double plain = times[0], plainDefault = times[1], withSigma = times[2], horne = times[3];
    std::printf("box with sky, width 14, no uncertainty (as without options): %.3f ms\n", plain * 1e3);
    std::printf("box with sky, default aperture (width 6):                    %.3f ms\n", plainDefault * 1e3);
    std::printf("box with sky, width 14, with uncertainty (as ours):          %.3f ms\n", withSigma * 1e3);
    std::printf("optimal, width 14, with uncertainty:                         %.3f ms (%zu pixels rejected)\n",
                horne * 1e3, rejected);
    std::printf("optimal / box with uncertainty = %.2f\n", horne / withSigma);
    std::printf("optimal / box without options  = %.2f\n", horne / plain);
    std::printf("optimal / box default aperture = %.2f\n", horne / plainDefault);
    return 0;
}
