// The plot window as drawn: the spectrum's line through its points, the red
// fit overlay, the marker line. With RAYLEN_SHOTS_DIR set the window and the
// axis dialog are also saved as pictures to look at.
#include "PlotHarness.h"

#include "plot/gui/FrmPlotAxis.h"

#include <QImage>

#include <fstream>
#include <QMdiSubWindow>

namespace plottest {
namespace {

bool darkNear(const QImage& image, QPointF at, int radius)
{
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx) {
            const QPoint p(int(at.x()) + dx, int(at.y()) + dy);
            if (image.valid(p) && qGray(image.pixel(p)) < 100)
                return true;
        }
    return false;
}

int redPixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            if (qRed(c) > 180 && qGreen(c) < 90 && qBlue(c) < 90)
                ++count;
        }
    return count;
}

void saveShot(const QImage& image, const char* name)
{
    if (const char* dir = std::getenv("RAYLEN_SHOTS_DIR"))
        image.save(QString::fromUtf8(dir) + "/" + name);
}

Spectrum shotSpectrum()
{
    // A real frame's profile when one is given, else a line on a slope.
    if (const char* file = std::getenv("RAYLEN_SHOT_SPECTRUM")) {
        Spectrum s;
        std::ifstream in(file);
        std::string line;
        while (std::getline(in, line)) {
            const auto comma = line.find(',');
            s.x.push_back(std::stof(line.substr(0, comma)));
            s.y.push_back(std::stof(line.substr(comma + 1)));
        }
        return s;
    }
    Spectrum s;
    for (int i = 0; i < 600; ++i) {
        const double x = 6450 + 0.4 * i;
        s.x.push_back(static_cast<float>(x));
        s.y.push_back(static_cast<float>(900 + 0.6 * (x - 6450) - 400 * std::exp(-0.5 * std::pow((x - 6563) / 3, 2)) +
                                         15 * std::sin(i * 0.9)));
    }
    return s;
}

TEST(PlotPixels, TheLinePassesThroughItsPointsAndTheOverlayIsRed)
{
    const Spectrum s = shotSpectrum();
    PlotHarness h(s, "star.txt");
    h.main->resize(900, 700);
    if (auto* frame = qobject_cast<QMdiSubWindow*>(h.plot->parentWidget()))
        frame->resize(h.plot->size() + QSize(16, 40));
    QApplication::processEvents();
    h.plot->Lumigra1->repaint();
    QImage chart = h.plot->Lumigra1->grab().toImage();
    EXPECT_EQ(redPixels(chart), 0);
    int onLine = 0;
    for (size_t i = 0; i < s.x.size(); i += 37)
        onLine += darkNear(chart, h.pixelOf(s.x[i], s.y[i]), 1) ? 1 : 0;
    EXPECT_EQ(onLine, int((s.x.size() + 36) / 37));

    // A fit between two points of the continuum draws the red overlay.
    const size_t a = s.x.size() / 3, b = s.x.size() / 3 + s.x.size() / 10;
    h.twice('k', s.x[a], s.y[a], s.x[b], s.y[b]);
    h.plot->Lumigra1->repaint();
    chart = h.plot->Lumigra1->grab().toImage();
    EXPECT_GT(redPixels(chart), 20);
    saveShot(h.main->grab().toImage(), "plot_window.png");

    h.plot->mnuAxis->trigger();
    QApplication::processEvents();
    ASSERT_NE(raylen::frmPlotAxis(), nullptr);
    saveShot(raylen::frmPlotAxis()->grab().toImage(), "axis_dialog.png");
    raylen::unloadFrmPlotAxis();
}

} // namespace
} // namespace plottest
