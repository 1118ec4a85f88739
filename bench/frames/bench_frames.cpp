// Frame operations: writes the frames into DATA_DIR, then times
//   clean    sfCleanCosmicRays on a 4096 × 4096 sky with stars and rays
//   median   sfCombineFrames of ten 2048 × 2048 frames, median
//   clipmean the same, mean with sigma clipping 3:3
//   median_err, clipmean_err  the same two with the uncertainty (the
//            spread of the kept values), as ccdproc always computes it
// printing "name seconds" lines, best of RUNS (files read as part of it).
//   bench_frames DATA_DIR [RUNS]
#include "fits/FitsData.h"
#include "image/Combine.h"
#include "image/CosmicClean.h"
#include "../support/BenchTiming.h"

#include <cmath>
#include <cstdio>
#include <random>
#include <string>

using namespace raylen;
using benchsupport::best;
using benchsupport::check;

namespace {

constexpr int cleanSize = 4096, combineSize = 2048, combineFrames = 10;
constexpr double gain = 2.0, readNoise = 5.0, sky = 200.0;

std::string valueCard(const std::string& key, const std::string& value)
{
    std::string c = key;
    c.resize(8, ' ');
    c += "= " + std::string(20 - value.size(), ' ') + value;
    c.resize(80, ' ');
    return c;
}

void save(const std::string& path, const SingleImage& image)
{
    HeaderCards h = {valueCard("SIMPLE", "T"), valueCard("BITPIX", "-32"), valueCard("NAXIS", "2"),
                     valueCard("NAXIS1", std::to_string(image.width())),
                     valueCard("NAXIS2", std::to_string(image.height())), valueCard("GAIN", "2.0"),
                     valueCard("RDNOISE", "5.0"), valueCard("EXPTIME", "60.")};
    std::string end = "END";
    end.resize(80, ' ');
    h.push_back(end);
    check(sfSaveImgSng(path, h, image));
}

// Sky with noise, faint stars of FWHM 3 px, and one ray per thousand pixels.
SingleImage skyFrame(int size, unsigned seed, bool rays)
{
    std::mt19937 random(seed);
    std::normal_distribution<float> normal(0, 1);
    std::uniform_real_distribution<double> uniform(0, 1);
    SingleImage truth(size, size), frame(size, size);
    for (size_t i = 0; i < truth.size(); ++i)
        truth.data()[i] = static_cast<float>(sky);
    const double s = 3.0 / 2.3548;
    for (int k = 0; k < size * size / 2000; ++k) {
        const double cx = 10 + uniform(random) * (size - 20), cy = 10 + uniform(random) * (size - 20);
        const double flux = std::pow(10.0, 2.5 + 2.5 * uniform(random));
        for (int y = int(cy) - 8; y <= int(cy) + 8; ++y)
            for (int x = int(cx) - 8; x <= int(cx) + 8; ++x)
                truth(x, y) += static_cast<float>(flux / (2 * M_PI * s * s) *
                                                  std::exp(-((x - cx) * (x - cx) + (y - cy) * (y - cy)) / (2 * s * s)));
    }
    for (size_t i = 0; i < frame.size(); ++i) {
        const float t = truth.data()[i];
        frame.data()[i] = t + normal(random) * static_cast<float>(std::sqrt(t * gain + readNoise * readNoise) / gain);
    }
    if (rays)
        for (int k = 0; k < size * size / 1000; ++k) {
            const int x = 2 + int(uniform(random) * (size - 4)), y = 2 + int(uniform(random) * (size - 4));
            frame(x, y) += static_cast<float>(200 + 2800 * uniform(random));
            if (uniform(random) < 0.5)
                frame(x + 1, y) += static_cast<float>(200 + 2800 * uniform(random));
        }
    return frame;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_frames DATA_DIR [RUNS]\n");
        return 2;
    }
    const std::string dir = argv[1];
    const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
    const std::string cleanPath = dir + "/clean_in.fit";
    save(cleanPath, skyFrame(cleanSize, 1, true));
    std::vector<std::string> files;
    for (int f = 0; f < combineFrames; ++f) {
        files.push_back(dir + "/combine" + std::to_string(f) + ".fit");
        save(files.back(), skyFrame(combineSize, 100 + f, f == 3));
    }

    size_t cleaned = 0;
    const double clean = best(runs, [&] {
        HeaderCards header;
        FitsInfo info;
        SingleImage image;
        check(sfOpenFits(cleanPath, header, info, image));
        CleanParameters p;
        p.gain = gain;
        p.readNoise = readNoise;
        CleanResult result;
        check(sfCleanCosmicRays(image, header, p, result));
        cleaned = result.cleaned;
    });
    std::printf("clean %.4f\n", clean);
    std::fprintf(stderr, "cleaned=%zu\n", cleaned);
    auto combine = [&](CombineMethod method, CombineReject reject, bool withError) {
        return best(runs, [&] {
            CombineOptions o;
            o.method = method;
            o.reject = reject;
            SingleImage result, sigma;
            HeaderCards header;
            check(sfCombineFrames(files, o, result, header, withError ? &sigma : nullptr));
        });
    };
    std::printf("median %.4f\n", combine(CombineMethod::median, CombineReject::none, false));
    std::printf("clipmean %.4f\n", combine(CombineMethod::mean, CombineReject::sigmaClip, false));
    std::printf("median_err %.4f\n", combine(CombineMethod::median, CombineReject::none, true));
    std::printf("clipmean_err %.4f\n", combine(CombineMethod::mean, CombineReject::sigmaClip, true));
    return 0;
}
