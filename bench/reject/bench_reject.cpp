// What the opt-in sigma rejection costs: the continuum fit of a 32767-point
// spectrum (order 5), the trace fit of 2048 centres (order 3) and the sky
// fits of every column of a 2048 × 256 frame (order 1, rows ±12 … ±30),
// each plain and with rejection, plus the whole extraction both ways.
//   bench_reject DATA_DIR [RUNS]
// Writes the same data for the numpy reference into DATA_DIR and prints
// "name seconds" lines, best of RUNS.
#include "numeric/SigmaReject.h"
#include "reduce/ApertureSum.h"
#include "reduce/Extract.h"
#include "reduce/Normalize.h"
#include "reduce/ScanParam.h"
#include "reduce/Trace.h"
#include "../support/BenchTiming.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <random>
#include <string>

using namespace raylen;

namespace {

constexpr int spectrumPoints = 32767;
constexpr int frameWidth = 2048, frameHeight = 256;
constexpr int skyInner = 12, skyOuter = 30;
const RejectOptions continuumReject{3, 3, 5}, traceReject{3, 3, 5}, skyReject{4, 4, 5};

using benchsupport::best;
using benchsupport::check;

void writeFloats(const std::string& path, const std::vector<float>& values)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(values.data()), static_cast<std::streamsize>(values.size() * sizeof(float)));
}

double traceTruth(int x)
{
    const double t = x / double(frameWidth - 1);
    return 128 + 9 * t - 6 * t * t;
}

// Continuum with absorption lines and noise.
void makeSpectrum(std::vector<float>& x, std::vector<float>& y)
{
    std::mt19937 random(5);
    std::normal_distribution<double> noise(0.0, 5.0);
    x.resize(spectrumPoints);
    y.resize(spectrumPoints);
    for (int i = 0; i < spectrumPoints; ++i) {
        const double w = 4000.0 + 0.12 * i;
        double v = 1000.0 + 0.05 * (w - 6000.0) - 1e-5 * (w - 6000.0) * (w - 6000.0);
        for (double line : {4861.3, 5175.0, 5889.9, 6562.8, 7600.0})
            v *= 1.0 - 0.7 * std::exp(-0.5 * std::pow((w - line) / 3.0, 2));
        x[static_cast<size_t>(i)] = static_cast<float>(w);
        y[static_cast<size_t>(i)] = static_cast<float>(v + noise(random));
    }
}

// A star on a sloped sky, read noise, one cosmic ray in the sky of every
// 50th column.
SingleImage makeFrame()
{
    SingleImage image(frameWidth, frameHeight);
    std::mt19937 random(3);
    std::normal_distribution<float> noise(0.0f, 3.0f);
    for (int y = 0; y < frameHeight; ++y)
        for (int x = 0; x < frameWidth; ++x) {
            const double profile = std::exp(-0.5 * std::pow((y - traceTruth(x)) / 1.8, 2));
            image(x, y) = static_cast<float>(2000 * profile + 20 + 0.02 * y) + noise(random);
        }
    for (int x = 0; x < frameWidth; x += 50)
        image(x, static_cast<int>(traceTruth(x)) + 20) += 3000.0f;
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_reject DATA_DIR [RUNS]\n");
        return 2;
    }
    const std::string dir = argv[1];
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;

    std::vector<float> x, y;
    makeSpectrum(x, y);
    std::vector<int32_t> region(spectrumPoints);
    for (int i = 0; i < spectrumPoints; ++i)
        region[static_cast<size_t>(i)] = i;
    writeFloats(dir + "/spectrum_x.f32", x);
    writeFloats(dir + "/spectrum_y.f32", y);
    std::vector<double> cont;
    std::printf("cont_plain %.6f\n", best(runs, [&] { check(sfContinuumFit(x, y, region, 5, cont)); }));
    std::printf("cont_reject %.6f\n",
                best(runs, [&] { check(sfContinuumFit(x, y, region, 5, cont, continuumReject)); }));
    // How many points each rejection leaves out, for the reference to match.
    std::ofstream counts(dir + "/ours_counts.txt");
    std::vector<char> flags;
    check(sfContinuumFit(x, y, region, 5, cont, continuumReject, &flags));
    counts << "cont " << std::count(flags.begin(), flags.end(), 1) << "\n";

    const SingleImage image = makeFrame();
    writeFloats(dir + "/frame.f32", std::vector<float>(&image(0, 0), &image(0, 0) + frameWidth * frameHeight));
    ScanParam p;
    dsInitScanParam(p);
    p.lngStartX = 0;
    p.lngEndX = frameWidth - 1;
    p.lngStartY = 100;
    p.lngEndY = 160;
    p.blnSkySub = -1;
    p.intSkyStart1 = -skyOuter;
    p.intSkyEnd1 = -skyInner;
    p.intSkyStart2 = skyInner;
    p.intSkyEnd2 = skyOuter;
    p.intSkyFitOrder = 1;
    std::vector<float> cx, cy;
    check(sfInputPeakData(0, image, p.lngStartX, p.lngEndX, p.lngStartY, p.lngEndY, cx, cy));
    writeFloats(dir + "/centres.f32", cy);
    ScanParam traced = p;
    std::printf("trace_plain %.6f\n", best(runs, [&] { check(fitTrace("3", cx, cy, traced).status); }));
    std::printf("trace_reject %.6f\n", best(runs, [&] { check(fitTrace("3", cx, cy, traced, traceReject).status); }));
    const TraceFit traceFit = fitTrace("3", cx, cy, traced, traceReject);
    counts << "trace " << std::count(traceFit.rejected.begin(), traceFit.rejected.end(), 1) << "\n";
    check(fitTrace("3", cx, cy, traced).status);

    // The sky fits alone, column by column on the fitted trace (what the
    // numpy side does), then the whole extraction.
    std::vector<float> centre(frameWidth);
    for (int c = 0; c < frameWidth; ++c)
        centre[static_cast<size_t>(c)] = traceCentre(traced, c);
    writeFloats(dir + "/trace.f32", centre);
    size_t skyRejected = 0;
    auto skyFits = [&](const RejectOptions& reject) {
        SkyFitter fitter(p, reject);
        SkyPolynomial sky;
        skyRejected = 0;
        for (int c = 0; c < frameWidth; ++c) {
            check(fitter.fit(image, c, centre[static_cast<size_t>(c)], sky));
            skyRejected += fitter.lastRejected();
        }
    };
    std::printf("sky_plain %.6f\n", best(runs, [&] { skyFits({}); }));
    std::printf("sky_reject %.6f\n", best(runs, [&] { skyFits(skyReject); }));
    counts << "sky " << skyRejected << "\n";
    std::vector<float> sx, sy;
    NullSpectrumView none;
    std::printf("extract_plain %.6f\n", best(runs, [&] { check(sfScanDataPro(traced, image, sx, sy, none)); }));
    std::printf("extract_reject %.6f\n",
                best(runs, [&] { check(sfScanDataPro(traced, image, sx, sy, none, skyReject)); }));
    return 0;
}
