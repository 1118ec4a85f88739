// One measurement per process, so that peak memory is the measurement's own:
//   bench_fits_open make FILE            writes a 4096 × 4096 BITPIX 16 file
//   bench_fits_open ours FILE            sfOpenFits (read, swap, scale to float)
//   bench_fits_open render FILE          sfOpenFits + sfCreateBitMap
//   bench_fits_open cfitsio FILE         fits_read_img into float
// Each prints "seconds peak_kib".
#include "fits/FitsData.h"
#include "display/Bitmap.h"
#include "files/FileAccess.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <sys/resource.h>
#include <vector>

#ifdef RAYLEN_HAVE_CFITSIO
#include <fitsio.h>
#endif

namespace {

constexpr int side = 4096;

long peakKib()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

int make(const std::string& path)
{
    auto card = [](std::string text) {
        text.resize(80, ' ');
        return text;
    };
    std::string header = card("SIMPLE  =                    T") + card("BITPIX  =                   16") +
                         card("NAXIS   =                    2") + card("NAXIS1  =                 4096") +
                         card("NAXIS2  =                 4096") + card("BSCALE  =                    1") +
                         card("BZERO   =                32768") + card("END");
    header.resize(2880, ' ');
    std::vector<unsigned char> data(static_cast<size_t>(side) * side * 2);
    std::mt19937 random(1);
    for (size_t i = 0; i < data.size(); i += 2) {
        uint16_t counts = static_cast<uint16_t>(300 + (random() % 4000));
        uint16_t stored = static_cast<uint16_t>(counts - 32768);
        data[i] = static_cast<unsigned char>(stored >> 8);
        data[i + 1] = static_cast<unsigned char>(stored);
    }
    data.resize((data.size() + 2879) / 2880 * 2880, 0);
    raylen::AtomicFileWriter writer(path);
    writer.write(header);
    writer.write(data.data(), data.size());
    writer.commit();
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench_fits_open make|ours|render|cfitsio FILE\n");
        return 2;
    }
    std::string mode = argv[1], path = argv[2];
    if (mode == "make")
        return make(path);
    auto start = std::chrono::steady_clock::now();
    double checksum = 0;
    if (mode == "ours" || mode == "render") {
        raylen::HeaderCards cards;
        raylen::FitsInfo info;
        raylen::SingleImage image;
        std::string message = raylen::sfOpenFits(path, cards, info, image);
        if (!message.empty()) {
            std::fprintf(stderr, "%s\n", message.c_str());
            return 1;
        }
        checksum = image(side / 2, side / 2);
        if (mode == "render") {
            float maximum = 0, minimum = 0;
            raylen::BitmapBytes bytes;
            message = raylen::sfCreateBitMap(image, info.NAXIS1, info.NAXIS2, maximum, minimum, bytes, true);
            if (!message.empty()) {
                std::fprintf(stderr, "%s\n", message.c_str());
                return 1;
            }
            checksum += bytes[1000];
        }
    } else if (mode == "cfitsio") {
#ifdef RAYLEN_HAVE_CFITSIO
        fitsfile* file = nullptr;
        int status = 0;
        fits_open_file(&file, path.c_str(), READONLY, &status);
        long size[2] = {0, 0};
        int naxis = 0;
        fits_get_img_dim(file, &naxis, &status);
        fits_get_img_size(file, 2, size, &status);
        std::vector<float> pixels(static_cast<size_t>(size[0]) * size[1]);
        long first[2] = {1, 1};
        int anyNull = 0;
        fits_read_pix(file, TFLOAT, first, static_cast<LONGLONG>(pixels.size()), nullptr, pixels.data(), &anyNull,
                      &status);
        fits_close_file(file, &status);
        if (status != 0) {
            fits_report_error(stderr, status);
            return 1;
        }
        checksum = pixels[pixels.size() / 2 + side / 2];
#else
        std::fprintf(stderr, "built without CFITSIO\n");
        return 1;
#endif
    } else {
        std::fprintf(stderr, "unknown mode %s\n", mode.c_str());
        return 2;
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%.6f %ld %g\n", seconds, peakKib(), checksum);
    return 0;
}
