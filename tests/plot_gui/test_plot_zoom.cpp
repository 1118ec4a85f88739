// The read-out and the keys against the chart as drawn, after a zoom with
// key a, after the axis dialog and after a resize of the control. Where a
// point lies is found in the rendered pixels, not from the chart's numbers.
#include "PlotHarness.h"

#include "platform/Format.h"
#include "plot/gui/FrmPlotAxis.h"

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace plottest {
namespace {

// Two narrow absorption lines on a flat continuum of 100; their bottoms are
// data points, so the drawn line's lowest pixels sit on them.
constexpr double lineA = 4861, bottomA = 23; // the deeper one
constexpr double lineB = 4780, bottomB = 61;
constexpr double continuum = 100;

Spectrum twoLines()
{
    Spectrum s;
    for (int i = 0; i <= 1000; ++i) {
        const double x = 4600 + 0.5 * i;
        const double y = continuum - (continuum - bottomA) * std::exp(-0.5 * std::pow((x - lineA) / 1.5, 2)) -
                         (continuum - bottomB) * std::exp(-0.5 * std::pow((x - lineB) / 1.5, 2));
        s.x.push_back(static_cast<float>(x));
        s.y.push_back(static_cast<float>(y));
    }
    return s;
}

bool dark(const QImage& image, int x, int y) { return qGray(image.pixel(x, y)) < 128; }

// The two line bottoms as drawn, and the pixel scale they give.
struct Drawn {
    QPointF a, b;
    double xPerPixel = 0, yPerPixel = 0;
    QPoint at(double x, double y) const
    {
        return QPoint(static_cast<int>(std::lround(a.x() + (x - lineA) / xPerPixel)),
                      static_cast<int>(std::lround(a.y() - (y - bottomA) / yPerPixel)));
    }
};

Drawn findLines(raylen::FrmPlot& plot)
{
    plot.Lumigra1->repaint();
    const QImage image = plot.Lumigra1->grab().toImage();
    // The plot area's frame: the outermost long dark rows and columns.
    auto longest = [&](bool rows, int& first, int& last) {
        const int lines = rows ? image.height() : image.width();
        const int along = rows ? image.width() : image.height();
        first = last = -1;
        for (int i = 0; i < lines; ++i) {
            int count = 0;
            for (int j = 0; j < along; ++j)
                count += rows ? dark(image, j, i) : dark(image, i, j);
            if (count > along / 3) {
                first = first < 0 ? i : first;
                last = i;
            }
        }
        EXPECT_GT(last, first);
    };
    int top = 0, bottom = 0, left = 0, right = 0;
    longest(true, top, bottom);
    longest(false, left, right);
    // Inside it, the lowest dark pixel of each column; the ticks reach in
    // less than the margin.
    constexpr int margin = 5;
    std::vector<int> lowest(static_cast<size_t>(image.width()), -1);
    for (int x = left + margin; x < right - margin; ++x)
        for (int y = bottom - margin; y > top + margin && lowest[x] < 0; --y)
            if (dark(image, x, y))
                lowest[x] = y;
    // The lowest of these rows away from a column, at the middle of its run.
    auto deepest = [&](int awayFrom) {
        int row = -1, n = 0;
        double sum = 0;
        for (int x = 0; x < image.width(); ++x) {
            if (std::abs(x - awayFrom) <= 20 || lowest[x] < row)
                continue;
            if (lowest[x] > row) {
                row = lowest[x];
                sum = n = 0;
            }
            sum += x;
            ++n;
        }
        return QPointF(sum / std::max(n, 1), row);
    };
    Drawn d;
    d.a = deepest(-100);
    d.b = deepest(static_cast<int>(d.a.x()));
    d.xPerPixel = (lineA - lineB) / (d.a.x() - d.b.x());
    d.yPerPixel = (bottomA - bottomB) / (d.b.y() - d.a.y());
    EXPECT_GT(d.xPerPixel, 0);
    EXPECT_GT(d.yPerPixel, 0);
    return d;
}

// What k and e measure between two points of the continuum.
struct Measured {
    double centre = 0, fwhm = 0, width = 0;
};

double valueOf(const std::string& line) { return std::stod(line.substr(line.find('=') + 1)); }

Measured measure(PlotHarness& h, const Drawn& d)
{
    h.result.lines.clear();
    for (char key : {'k', 'e'}) {
        h.moveTo(d.at(4850, continuum));
        h.key(key);
        h.moveTo(d.at(4872, continuum));
        h.key(key);
    }
    EXPECT_EQ(h.result.lines.size(), 6u);
    if (h.result.lines.size() != 6u)
        return {};
    // Newest first: the equivalent width, then the fit.
    return {valueOf(h.result.lines[4]), valueOf(h.result.lines[5]), valueOf(h.result.lines[2])};
}

// The read-out over both line bottoms is that point within one pixel's
// worth, and k and e give what they gave before the view changed.
void expectTrueToTheDrawing(PlotHarness& h, const Measured& before, const char* view)
{
    SCOPED_TRACE(view);
    const Drawn d = findLines(*h.plot);
    for (const auto& [at, x, y] : {std::tuple{d.a, lineA, bottomA}, std::tuple{d.b, lineB, bottomB}}) {
        h.moveTo(at);
        EXPECT_NEAR(h.plot->cursor().sngCursorX, x, d.xPerPixel);
        EXPECT_NEAR(h.plot->cursor().sngCursorY, y, d.yPerPixel);
        EXPECT_EQ(text(h.main->lblX->text()), "x " + platform::Format(h.plot->cursor().sngCursorX, "0.0"));
    }
    const Measured now = measure(h, d);
    EXPECT_NEAR(now.centre, before.centre, 0.02);
    EXPECT_NEAR(now.fwhm, before.fwhm, 0.05);
    EXPECT_NEAR(now.width, before.width, 0.1);
    // The red overlay starts at the first point from the first mark.
    const platform::com::Variant xs =
        platform::com::call(h.plot->chart.objCloneData.get(), dsp::data::GetData, {platform::com::Variant::fromI2(1)});
    ASSERT_TRUE(xs.isArray());
    EXPECT_NEAR(*xs.at(0).toDouble(), 4850, d.xPerPixel + 0.5);
}

Measured unzoomed(PlotHarness& h)
{
    const Drawn d = findLines(*h.plot);
    const Measured m = measure(h, d);
    EXPECT_NEAR(m.centre, lineA, 0.02);
    EXPECT_NEAR(m.width, (continuum - bottomA) / continuum * 1.5 * std::sqrt(2 * M_PI), 0.1);
    return m;
}

// Marks a range whose ends are not round, so the tick rule draws a wider one.
void zoomWithKeyA(PlotHarness& h)
{
    const Drawn d = findLines(*h.plot);
    h.moveTo(d.at(4693, continuum));
    h.key('a');
    h.moveTo(d.at(4911, continuum));
    h.key('a');
}

TEST(PlotZoom, ReadOutAndKeysFollowAZoomWithKeyA)
{
    PlotHarness h(twoLines());
    const Measured before = unzoomed(h);
    expectTrueToTheDrawing(h, before, "unzoomed");
    zoomWithKeyA(h);
    expectTrueToTheDrawing(h, before, "after key a");

    // Continuum marks land where s is pressed.
    h.plot->mnuNormalize->trigger();
    const Drawn d = findLines(*h.plot);
    h.moveTo(d.at(4840, continuum));
    h.key('s');
    h.moveTo(d.at(4885, continuum));
    h.key('s');
    const std::vector<int32_t>& list = raylen::appState().lngContRegion;
    ASSERT_GT(list.size(), 2u);
    EXPECT_NEAR(h.plot->plotX()[list.front()], 4840, d.xPerPixel + 0.5);
    EXPECT_NEAR(h.plot->plotX()[list.back()], 4885, d.xPerPixel + 0.5);
    raylen::appState().intTaskMode = raylen::taskNone;
}

TEST(PlotZoom, ReadOutAndKeysFollowTheAxisDialogAndAResize)
{
    PlotHarness h(twoLines());
    const Measured before = unzoomed(h);
    h.plot->mnuAxis->trigger();
    raylen::FrmPlotAxis* dialog = raylen::frmPlotAxis();
    ASSERT_NE(dialog, nullptr);
    QTest::mouseClick(dialog->chkAutoX, Qt::LeftButton, {}, QPoint(5, dialog->chkAutoX->height() / 2));
    QTest::mouseClick(dialog->chkAutoY, Qt::LeftButton, {}, QPoint(5, dialog->chkAutoY->height() / 2));
    dialog->txtMaxX->setText("4893");
    dialog->txtMinX->setText("4731");
    dialog->txtMaxY->setText("104");
    dialog->txtMinY->setText("17");
    QTest::mouseClick(dialog->cmdOK, Qt::LeftButton);
    expectTrueToTheDrawing(h, before, "after the axis dialog");

    // The window grown: the chart grows with it, and stays true.
    const QSize designed = h.plot->Lumigra1->size();
    h.plot->resize(h.plot->size() + QSize(120, 90));
    EXPECT_EQ(h.plot->Lumigra1->size(), h.plot->size());
    EXPECT_EQ(h.plot->chartDesignSize(), designed);
    expectTrueToTheDrawing(h, before, "after a resize");
    // A key pressed after the scale changed, without a move, acts on the
    // point now under the pointer.
    const Drawn zoomed = findLines(*h.plot);
    h.moveTo(zoomed.a);
    h.key('c');
    h.key('x'); // ignored, but the pointer is read again
    const Drawn automatic = findLines(*h.plot);
    // The scale read off the drawing is extrapolated here: three pixels' worth.
    EXPECT_NEAR(h.plot->cursor().sngCursorX, lineA + (zoomed.a.x() - automatic.a.x()) * automatic.xPerPixel,
                3 * automatic.xPerPixel);
}

} // namespace
} // namespace plottest
