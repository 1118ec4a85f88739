// Time from the open dispatch of a 4096 × 4096 BITPIX 16 file to the first
// painted picture of the image window, against the core open and render of
// the same file in the same run. Prints medians, their ratio and peak memory.
#include "fits/FitsData.h"
#include "display/Bitmap.h"
#include "image/gui/FrmImage.h"
#include "image/gui/ImageWindowLink.h"
#include "image/gui/PicImage.h"
#include "platform/UiService.h"
#include "state/AppState.h"
#include "shell/gui/FileIntake.h"
#include "shell/gui/MdiRaylen.h"

#include <QApplication>
#include <QElapsedTimer>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int side = 4096;

// BITPIX 16 with BZERO 32768: a sky gradient, a spectrum band and noise.
void writeImage(const std::string& path)
{
    std::string header;
    auto card = [&header](std::string text) {
        text.resize(80, ' ');
        header += text;
    };
    card("SIMPLE  =                    T");
    card("BITPIX  =                   16");
    card("NAXIS   =                    2");
    card("NAXIS1  =                 4096");
    card("NAXIS2  =                 4096");
    card("BZERO   =                32768");
    card("BSCALE  =                    1");
    card("END");
    header.resize(2880, ' ');
    std::vector<unsigned char> data(static_cast<size_t>(side) * side * 2);
    unsigned state = 12345;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            state = state * 1103515245u + 12345u;
            int value = 1000 + x / 8 + (std::abs(y - 2048) < 12 ? 20000 : 0) + static_cast<int>((state >> 16) % 64);
            int stored = value - 32768;
            size_t at = (static_cast<size_t>(y) * side + x) * 2;
            data[at] = static_cast<unsigned char>((stored >> 8) & 0xFF);
            data[at + 1] = static_cast<unsigned char>(stored & 0xFF);
        }
    data.resize((data.size() + 2879) / 2880 * 2880, 0);
    std::ofstream out(path, std::ios::binary);
    out.write(header.data(), static_cast<std::streamsize>(header.size()));
    out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    raylen::ImageWindow imageWindow;
    raylen::setImageWindowLink(&imageWindow);
    platform::ScriptedUiService ui;
    platform::ScopedUiService scope(&ui);

    const std::string folder = std::filesystem::temp_directory_path().string() + "/raylen-bench-" +
                               std::to_string(::getpid());
    std::filesystem::create_directories(folder);
    const std::string path = folder + "/big16.fit";
    writeImage(path);

    raylen::MdiRaylen main;
    main.show();
    QApplication::processEvents();

    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    std::vector<double> core, window;
    long peakAfterCore = 0;
    for (int run = 0; run < runs; ++run) {
        {
            raylen::HeaderCards header;
            raylen::FitsInfo info;
            raylen::SingleImage image;
            raylen::BitmapBytes render;
            float maximum = 0, minimum = 0;
            QElapsedTimer timer;
            timer.start();
            std::string message = raylen::sfOpenFits(path, header, info, image);
            if (message.empty())
                message = raylen::sfCreateBitMap(image, info.NAXIS1, info.NAXIS2, maximum, minimum, render, true);
            core.push_back(timer.nsecsElapsed() / 1e6);
            if (!message.empty()) {
                std::fprintf(stderr, "%s\n", message.c_str());
                return 1;
            }
            peakAfterCore = std::max(peakAfterCore, peakKilobytes());
        }
        {
            // Each run opens into a fresh image window, as the first open does.
            raylen::unloadFrmImage();
            raylen::appState().sngImage = raylen::SingleImage();
            raylen::appState().renderFile.clear();
            raylen::appState().renderFile.shrink_to_fit();
            QApplication::processEvents();
            QElapsedTimer timer;
            timer.start();
            std::string message = raylen::sfOpenFilePro(path);
            raylen::FrmImage* image = raylen::frmImage();
            if (!message.empty() || image == nullptr) {
                std::fprintf(stderr, "open failed: %s\n", message.c_str());
                return 1;
            }
            while (image->picImage->paintCount() == 0)
                QApplication::processEvents(QEventLoop::AllEvents, 5);
            window.push_back(timer.nsecsElapsed() / 1e6);
        }
    }
    const double coreMs = median(core), windowMs = median(window);
    std::printf("image 4096 x 4096 BITPIX 16, %d runs\n", runs);
    std::printf("core open+render median   %8.1f ms\n", coreMs);
    std::printf("open to first paint median %8.1f ms\n", windowMs);
    std::printf("ratio                      %8.3f (limit 1.3)\n", windowMs / coreMs);
    std::printf("peak RSS after core runs   %8.1f MiB\n", peakAfterCore / 1024.0);
    std::printf("peak RSS overall           %8.1f MiB\n", peakKilobytes() / 1024.0);
    std::filesystem::remove_all(folder);
    return windowMs / coreMs <= 1.3 ? 0 : 2;
}
