// Extraction of every column of a 4096 × 512 frame (trace order 2, width 6,
// sky rows -20:-10 and 10:20 fitted with order 1), against the anchor: one
// plain pass that sums every pixel of the same region, in the same run.
//   bench_extract [REPEATS]
// Prints the best time of each measurement and the ratios.
#include "reduce/Extract.h"
#include "reduce/ScanParam.h"
#include "reduce/Trace.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

using namespace raylen;

namespace {

constexpr int kWidth = 4096, kHeight = 512;

SingleImage makeFrame()
{
    SingleImage image(kWidth, kHeight);
    std::mt19937 random(3);
    std::normal_distribution<float> noise(0.0f, 3.0f);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const double t = x / double(kWidth - 1);
            const double centre = 250 + 8 * t - 5 * t * t;
            const double profile = std::exp(-0.5 * std::pow((y - centre) / 1.8, 2));
            image(x, y) = static_cast<float>(2000 * profile + 20 + 0.02 * y) + noise(random);
        }
    return image;
}

template <class Body>
double bestSeconds(int repeats, Body&& body)
{
    double best = 1e30;
    for (int i = 0; i < repeats; ++i) {
        const auto start = std::chrono::steady_clock::now();
        body();
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

} // namespace

int main(int argc, char** argv)
{
    const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const SingleImage image = makeFrame();
    ScanParam p;
    dsInitScanParam(p);
    p.lngStartX = 0;
    p.lngEndX = kWidth - 1;
    p.lngStartY = 0;
    p.lngEndY = kHeight - 1;
    std::vector<float> xs, ys;
    if (!sfInputPeakData(0, image, p.lngStartX, p.lngEndX, p.lngStartY, p.lngEndY, xs, ys).empty() ||
        !fitTrace("2", xs, ys, p).status.empty()) {
        std::fprintf(stderr, "trace failed\n");
        return 1;
    }
    NullSpectrumView none;

    volatile double sink = 0;
    const double plain = bestSeconds(repeats, [&] {
        double sum = 0;
        for (int32_t y = p.lngStartY; y <= p.lngEndY; ++y)
            for (int32_t x = p.lngStartX; x <= p.lngEndX; ++x)
                sum += image(x, y);
        sink = sum;
    });
    std::string status;
    const double extraction = bestSeconds(repeats, [&] { status = sfScanDataPro(p, image, xs, ys, none); });
    p.blnSkySub = 0;
    const double noSky = bestSeconds(repeats, [&] { status += sfScanDataPro(p, image, xs, ys, none); });
    const double centres = bestSeconds(repeats, [&] {
        status += sfInputPeakData(0, image, p.lngStartX, p.lngEndX, p.lngStartY, p.lngEndY, xs, ys);
    });
    if (!status.empty()) {
        std::fprintf(stderr, "%s\n", status.c_str());
        return 1;
    }
    std::printf("frame %d x %d, region all columns x all rows, best of %d\n", kWidth, kHeight, repeats);
    std::printf("anchor: plain sum of the region      %8.3f ms\n", plain * 1e3);
    std::printf("extraction with sky subtraction      %8.3f ms  ratio %.2f\n", extraction * 1e3, extraction / plain);
    std::printf("extraction without sky               %8.3f ms  ratio %.2f\n", noSky * 1e3, noSky / plain);
    std::printf("trace centres over the region        %8.3f ms  ratio %.2f\n", centres * 1e3, centres / plain);
    return 0;
}
