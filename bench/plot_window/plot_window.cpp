// The plot window timed: sfPlotLin of the chart drawing benchmark's
// 32767-point spectrum plus the window's repaint, and key k pressed twice
// (real key events) around an absorption line of a 10000-point spectrum.
// Prints "plot <ms>" and "gauss <ms>", best of the runs, and writes the
// 10000-point spectrum for the reference fit.
#include "plot/gui/FrmPlot.h"
#include "plot/gui/PlotTaskLinks.h"
#include "state/AppState.h"
#include "ProgramWindows.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point t0)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

struct Discard : raylen::ResultWriter {
    std::vector<std::string> lines;
    std::string sfMessage(const std::string& strMessage) override
    {
        lines.push_back(strMessage);
        return {};
    }
};

// Where a data point is drawn in the control, under the ends drawn now.
QPointF pixelOf(raylen::FrmPlot& plot, double x, double y)
{
    const raylen::PlotFrame f = plot.chart.frame();
    const double xMm = f.orgX + (x - f.xMin) / (f.xMax - f.xMin) * f.width;
    const double yMm = f.orgY + (y - f.yMin) / (f.yMax - f.yMin) * f.height;
    return {xMm * plot.Lumigra1->logicalDpiX() / 25.4, plot.Lumigra1->height() - yMm * plot.Lumigra1->logicalDpiY() / 25.4};
}

void keyAt(raylen::FrmPlot& plot, QPointF at)
{
    QMouseEvent move(QEvent::MouseMove, at, plot.Lumigra1->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(plot.Lumigra1, &move);
    QKeyEvent key(QEvent::KeyPress, Qt::Key_K, Qt::NoModifier, "k");
    QApplication::sendEvent(plot.Lumigra1, &key);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: bench_plot_window SPECTRUM32767 RUNS LINE10000.txt [window.png]\n");
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    raylen::ProgramWindows programWindows;
    const int runs = std::atoi(argv[2]);

    std::vector<float> x, y;
    std::ifstream in(argv[1]);
    for (double a = 0, b = 0; in >> a >> b;) {
        x.push_back(static_cast<float>(a));
        y.push_back(static_cast<float>(b));
    }
    raylen::appState().strFileName = argv[1];
    raylen::FrmPlot* plot = raylen::frmPlot();
    if (plot == nullptr)
        return 1;
    QApplication::processEvents();

    double bestPlot = 1e300;
    for (int r = 0; r <= runs; ++r) {
        const auto t0 = Clock::now();
        if (!plot->sfPlotLin(x, y).empty())
            return 1;
        plot->Lumigra1->repaint();
        if (r > 0) // the first run warms fonts and caches
            bestPlot = std::min(bestPlot, msSince(t0));
    }
    if (argc > 4)
        plot->Lumigra1->grab().toImage().save(argv[4]);

    // A 10000-point spectrum: absorption line on a slope with fixed noise.
    std::vector<float> lx, ly;
    uint64_t state = 99;
    for (int i = 0; i < 10000; ++i) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        const double noise = (static_cast<double>(state >> 11) / 9007199254740992.0 - 0.5) * 2;
        const double w = 6000 + 0.1 * i;
        lx.push_back(static_cast<float>(w));
        ly.push_back(static_cast<float>(200 + 0.01 * (w - 6000) - 80 * std::exp(-0.5 * std::pow((w - 6500) / 40, 2)) + noise));
    }
    if (std::FILE* f = std::fopen(argv[3], "w")) {
        for (size_t i = 0; i < lx.size(); ++i)
            std::fprintf(f, "%.9g %.9g\n", double(lx[i]), double(ly[i]));
        std::fclose(f);
    }
    Discard result;
    struct ResultTasks : raylen::PlotTasks {
        explicit ResultTasks(Discard& r) : to(r) {}
        raylen::ResultWriter* showResult() override { return &to; }
        Discard& to;
    } tasks(result);
    raylen::ServiceOverride<raylen::PlotTasks> installed(tasks);
    if (!plot->sfPlotLin(lx, ly).empty())
        return 1;
    plot->Lumigra1->repaint();
    // Marks on the continuum at both ends: the fit window is the whole spectrum.
    const QPointF left = pixelOf(*plot, lx.front(), 200), right = pixelOf(*plot, lx.back(), 210);
    double bestGauss = 1e300;
    for (int r = 0; r <= runs; ++r) {
        keyAt(*plot, left);
        const auto t0 = Clock::now();
        keyAt(*plot, right);
        if (r > 0)
            bestGauss = std::min(bestGauss, msSince(t0));
    }
    std::printf("plot %.3f\ngauss %.3f\n", bestPlot, bestGauss);
    for (size_t i = result.lines.size() >= 3 ? result.lines.size() - 3 : 0; i < result.lines.size(); ++i)
        std::fprintf(stderr, "%s\n", result.lines[i].c_str());
    raylen::unloadFrmPlot();
    return 0;
}
