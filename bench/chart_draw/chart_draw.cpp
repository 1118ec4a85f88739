// Our side of the chart drawing benchmark: the plot window's chart (plot
// area, axes with marks and Century labels, a 0.2 mm solid black line) of
// a 32767-point spectrum drawn into a 1600 x 1200 image. Writes the
// spectrum for the other programs and prints the best time in ms.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "control/LumigraCtrl.h"
#include "kinds/Axes.h"
#include "kinds/Charts.h"
#include "kinds/Data.h"
#include "kinds/Resources.h"
#include "kinds/Shapes.h"
#include "kinds/Strokes.h"
#include "model/Collection.h"
#include "paint/PaintPass.h"

using namespace lumigra;
using platform::com::Variant;

namespace {

constexpr int kPoints = 32767;
constexpr int kWidth = 1600, kHeight = 1200;
// The 150 x 112.5 mm surface of the chart fills the image.
constexpr double kDpi = kWidth / (150.0 / 25.4);

// A long-slit spectrum: sloping continuum, absorption and emission lines,
// and deterministic noise.
void spectrum(std::vector<double>& x, std::vector<double>& y)
{
    uint64_t state = 12345;
    for (int i = 0; i < kPoints; ++i) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        const double noise = (static_cast<double>(state >> 11) / 9007199254740992.0 - 0.5) * 40;
        const double w = 4000 + i * 0.1;
        double f = 1000 + 0.05 * (w - 4000) + 150 * std::sin(w / 90);
        f -= 500 * std::exp(-0.5 * std::pow((w - 4861.3) / 2.0, 2));
        f += 800 * std::exp(-0.5 * std::pow((w - 6562.8) / 1.5, 2));
        x.push_back(w);
        y.push_back(f + noise);
    }
}

template <class T>
T* add(LumigraCtrl& c, int id) { return static_cast<T*>(c.collection(id)->addNamed("")); }

LgPen* pen(LumigraCtrl& c, double width = 0)
{
    auto* p = add<LgPen>(c, cidPens);
    p->width_ = width;
    return p;
}

void build(LumigraCtrl& c, const std::vector<double>& xs, const std::vector<double>& ys)
{
    c.setExtent(kWidth, kHeight, kDpi, kDpi);
    c.backMode_ = 1;
    c.backColor_ = 0xFFFFFF;
    auto* chart = add<LgXyChart>(c, cidXyCharts);
    chart->markerSymbolInterval_ = 1;
    auto* area = add<LgRectangle>(c, cidRectangles);
    area->orgX_ = 13; area->orgY_ = 10; area->width_ = 120; area->height_ = 80;
    area->paintTool_ = lgPaintBrush;
    area->pen_.reset(pen(c));
    chart->plotArea_.reset(area);
    auto* font = add<LgFontHolder>(c, cidFontHolders);
    font->typeFace_ = "Century";
    font->size_ = 3.0;
    LgXyAxis* axes[2] = {add<LgXyAxis>(c, cidXyAxes), add<LgXyAxis>(c, cidXyAxes)};
    for (LgXyAxis* a : axes) {
        a->orgX_ = 13; a->orgY_ = 10;
        a->pen_.reset(pen(c));
        LgXyTick* t = a->tick();
        t->labelFont_.reset(font);
        t->pen_.reset(pen(c));
        t->markLength_ = 1.0;
        t->markStyle_ = lgTickMarkBoth;
    }
    axes[0]->length_ = 120;
    axes[0]->tick()->labelLocation_ = lgTickLabelRightAbove;
    axes[1]->orientation_ = lgXyAxisY;
    axes[1]->length_ = 80;
    axes[1]->tick()->labelLocation_ = lgTickLabelLeftAbove;
    chart->xAxis_.reset(axes[0]);
    chart->yAxis_.reset(axes[1]);
    auto* data = add<LgData>(c, cidDataCollection);
    // Packed single arrays, as the plot window hands its spectrum over.
    for (int slot : {1, 2}) {
        const auto& v = slot == 1 ? xs : ys;
        std::vector<float> singles(v.begin(), v.end());
        data->setData(slot, Variant::fromSingles(singles));
    }
    chart->data_.reset(data);
    auto* line = add<LgLine>(c, cidLines);
    line->pen1_.reset(pen(c, 0.2));
    line->length1_ = 1000;
    chart->entry(chart->lines_, lgMarkerLine).reset(line);
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const char* dataFile = argc > 1 ? argv[1] : "spectrum.txt";
    const int runs = argc > 2 ? std::atoi(argv[2]) : 15;
    const char* png = argc > 3 ? argv[3] : nullptr;

    std::vector<double> xs, ys;
    spectrum(xs, ys);
    if (FILE* f = std::fopen(dataFile, "w")) {
        for (int i = 0; i < kPoints; ++i)
            std::fprintf(f, "%.9g %.9g\n", static_cast<double>(static_cast<float>(xs[i])),
                         static_cast<double>(static_cast<float>(ys[i])));
        std::fclose(f);
    }
    auto* control = new LumigraCtrl;
    build(*control, xs, ys);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    double best = 1e300;
    for (int r = 0; r < runs + 1; ++r) {
        const auto t0 = std::chrono::steady_clock::now();
        QPainter p(&image);
        paintChart(*control, p, PaintFrame{QRectF(0, 0, kWidth, kHeight), kDpi, kDpi});
        p.end();
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        if (r > 0) // the first run warms fonts and caches
            best = std::min(best, ms);
    }
    if (png)
        image.save(png);
    std::printf("%.3f\n", best);
    control->Release();
    return 0;
}
