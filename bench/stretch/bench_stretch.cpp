// A 4096 × 4096 float image (sky-like: a floor with noise and a few bright
// stars), timed best of N:
//   limits   99.5 % percentile limits
//   asinh    the asinh stretch to grey
//   sqrt     the square-root stretch to grey
//   view     one repaint's sampling of a 1280 × 900 viewport at zoom ¼ and 2
// Prints one "name seconds" line each; with a FILE argument the image is
// also written there as raw float32 for the numpy anchor.
#include "BenchTiming.h"

#include "display/PercentileLimits.h"
#include "display/ScaledView.h"
#include "display/Stretch.h"

#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int side = 4096;
constexpr int viewWidth = 1280, viewHeight = 900;

raylen::SingleImage skyImage()
{
    raylen::SingleImage image(side, side);
    std::mt19937 random(7);
    std::normal_distribution<float> noise(0.0f, 12.0f);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            image(x, y) = 300.0f + noise(random);
    std::uniform_int_distribution<int> place(0, side - 1);
    for (int star = 0; star < 2000; ++star)
        image(place(random), place(random)) += 60000.0f;
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = 5;
    const raylen::SingleImage image = skyImage();
    if (argc > 1) {
        std::ofstream out(argv[1], std::ios::binary);
        out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size() * 4));
    }
    raylen::DisplayLimits limits;
    const double limitTime = benchsupport::best(runs, [&] {
        if (!raylen::percentileLimits(image, side, side, 99.5, limits))
            std::exit(1);
    });
    raylen::GreyImage grey;
    const double asinhTime = benchsupport::best(runs, [&] {
        raylen::stretchGrey(image, side, side, limits, raylen::StretchCurve::Asinh, grey);
    });
    const double sqrtTime = benchsupport::best(runs, [&] {
        raylen::stretchGrey(image, side, side, limits, raylen::StretchCurve::SquareRoot, grey);
    });
    raylen::GreySource source;
    source.origin = grey.data();
    source.rowStep = side;
    source.width = side;
    source.height = side;
    std::vector<uint8_t> screen(static_cast<size_t>(viewWidth) * viewHeight);
    for (double factor : {0.25, 2.0}) {
        const double viewTime = benchsupport::best(runs, [&] {
            raylen::sampleView(source, raylen::ViewScale{factor}, 100, 100, viewWidth, viewHeight, screen.data(),
                               viewWidth);
        });
        std::printf("view%g %.6f\n", factor, viewTime);
    }
    std::printf("limits %.6f %.3f %.3f\nasinh %.6f\nsqrt %.6f\n", limitTime, limits.low, limits.high, asinhTime,
                sqrtTime);
    return 0;
}
