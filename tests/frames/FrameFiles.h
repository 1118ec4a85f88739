#pragma once
// Frames for the frame-operation tests: FITS files written through the
// image save, and a synthetic sky with stars, noise and cosmic rays.
#include "fits/FitsData.h"

#include "../support/CliRun.h"

#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace frametest {

inline std::string valueCard(const std::string& key, const std::string& value)
{
    std::string c = key;
    c.resize(8, ' ');
    c += "= ";
    c += std::string(value.size() < 20 ? 20 - value.size() : 0, ' ') + value;
    return testsupport::card(c);
}

// A float frame with the given extra cards.
inline std::string saveFrame(const std::string& path, const raylen::SingleImage& image,
                             const std::vector<std::string>& extra = {})
{
    raylen::HeaderCards h = {valueCard("SIMPLE", "T"), valueCard("BITPIX", "-32"), valueCard("NAXIS", "2"),
                             valueCard("NAXIS1", std::to_string(image.width())),
                             valueCard("NAXIS2", std::to_string(image.height()))};
    for (const std::string& e : extra)
        h.push_back(testsupport::card(e));
    h.push_back(testsupport::card("END"));
    EXPECT_EQ(raylen::sfSaveImgSng(path, h, image), "");
    return path;
}

inline raylen::SingleImage loadFrame(const std::string& path, raylen::HeaderCards* header = nullptr)
{
    raylen::HeaderCards h;
    raylen::FitsInfo info;
    raylen::SingleImage image;
    EXPECT_EQ(raylen::sfOpenFits(path, h, info, image), "") << path;
    if (header != nullptr)
        *header = h;
    return image;
}

// Sky 200 counts, stars of FWHM 3 px, gain 2 e/count, read noise 5 e, and
// cosmic-ray tracks of 1-4 pixels. truth and sigma are per pixel, hits
// marks every pixel a ray touched.
struct CosmicSky {
    static constexpr double gain = 2.0, readNoise = 5.0, sky = 200.0;
    raylen::SingleImage frame, truth, sigma;
    std::vector<uint8_t> hits;
    int width, height;

    CosmicSky(int w, int h, unsigned seed) : frame(w, h), truth(w, h), sigma(w, h), hits(size_t(w) * h), width(w), height(h)
    {
        std::mt19937 random(seed);
        std::uniform_real_distribution<double> uniform(0, 1);
        std::normal_distribution<double> normal(0, 1);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                truth(x, y) = sky;
        const double s = 3.0 / 2.3548;
        for (int k = 0; k < w * h / 2000; ++k) {
            const double cx = 5 + uniform(random) * (w - 10), cy = 5 + uniform(random) * (h - 10);
            const double flux = std::pow(10.0, 2.5 + 2.5 * uniform(random));
            for (int y = std::max(0, int(cy) - 10); y <= std::min(h - 1, int(cy) + 10); ++y)
                for (int x = std::max(0, int(cx) - 10); x <= std::min(w - 1, int(cx) + 10); ++x) {
                    const double r2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
                    truth(x, y) += static_cast<float>(flux / (2 * M_PI * s * s) * std::exp(-r2 / (2 * s * s)));
                }
        }
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                sigma(x, y) = static_cast<float>(std::sqrt(truth(x, y) * gain + readNoise * readNoise) / gain);
                frame(x, y) = static_cast<float>(truth(x, y) + normal(random) * sigma(x, y));
            }
        for (int k = 0; k < w * h / 1000; ++k) {
            const int cx = 3 + int(uniform(random) * (w - 6)), cy = 3 + int(uniform(random) * (h - 6));
            const int length = 1 + int(uniform(random) * 4);
            const double angle = uniform(random) * M_PI, amplitude = 200 + uniform(random) * 2800;
            for (int t = 0; t < length; ++t) {
                const int px = int(std::lround(cx + t * std::cos(angle))), py = int(std::lround(cy + t * std::sin(angle)));
                frame(px, py) += static_cast<float>(amplitude * (0.5 + 0.5 * uniform(random)));
                hits[size_t(py) * w + px] = 1;
            }
        }
    }

    std::vector<std::string> cards() const { return {"GAIN    =                  2.0", "RDNOISE =                  5.0"}; }
};

} // namespace frametest
