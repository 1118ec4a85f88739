// A solid line of many points drawn by the line pass's sink gives the same
// PNG bytes as the plain polylines it stands for, for the data pens of the
// plot window (cosmetic, flat caps, bevel joins, aliased) at the widths its
// resolutions give them, over dense and sparse series of many shapes.
#include "draw/RecordingSink.h"
#include "paint/LineStroke.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

using namespace lumigra;

namespace {

constexpr int kWidth = 420, kHeight = 300;
// Two pixels a millimetre: quarter millimetres fall on half pixels.
constexpr double kPixelsPerMm = 2;
// The dashed clone's 0.3 mm pen at the chart benchmark's resolution.
constexpr int kDashedWidth = 3;
// Series of each shape drawn.
constexpr int kTrials = 3;
// The sink hands over at most this many points per polyline.
constexpr int kSinkPolyline = 4096;
// The plot area the chart clips to, in millimetres (y up).
const QRectF kPlotArea(12, 10, 180, 120);

using Run = std::vector<QPointF>;

QByteArray png(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QPen dataPen(int width)
{
    QPen pen(Qt::black, width, Qt::SolidLine, Qt::FlatCap, Qt::BevelJoin);
    pen.setCosmetic(true);
    return pen;
}

enum class Shape { Noise, Jitter, Steps, Spikes, Overflowing, HalfPixels, Comb, Sparse, Loops, Count };

// Runs of points in millimetres (y up), broken where data are missing.
std::vector<Run> series(Shape shape, std::mt19937_64& random)
{
    std::uniform_real_distribution<double> u(0, 1);
    const bool sparse = shape == Shape::Sparse || shape == Shape::Loops;
    const int n = sparse ? 20 + static_cast<int>(u(random) * 200) : 3000 + static_cast<int>(u(random) * 9000);
    const double noise = std::pow(10.0, u(random) * 3 - 2);
    const double left = shape == Shape::Overflowing ? -40 : 14, right = shape == Shape::Overflowing ? 260 : 190;
    std::vector<Run> runs(1);
    double level = 70;
    for (int i = 0; i < n; ++i) {
        double x = left + (right - left) * i / n;
        double y = 70 + noise * (u(random) - 0.5) + 30 * std::sin(i * 0.002);
        switch (shape) {
        case Shape::Jitter: // segments far shorter than a pixel, some under the raster's grid
            if (u(random) < 0.2 && !runs.back().empty()) {
                const double step = std::pow(10.0, -1 - 4 * u(random));
                x = runs.back().back().x() + step * (u(random) - 0.5);
                y = runs.back().back().y() + step * (u(random) - 0.5);
            }
            break;
        case Shape::Steps:
            if (u(random) < 0.01)
                level = 20 + 100 * u(random);
            y = u(random) < 0.3 ? level : std::round(y); // flat runs and repeated points
            break;
        case Shape::Spikes:
            if (u(random) < 0.01)
                y += (u(random) - 0.5) * 200;
            break;
        case Shape::Overflowing: y = 70 + (y - 70) * 3; break;
        case Shape::HalfPixels:
            x = std::round(x * 4) / 4;
            y = std::round(y * 4) / 4;
            break;
        case Shape::Comb: // tips of a dense zigzag on half pixels
            y = std::round((70 + (i % 2 ? 1 : -1) * (2 + 10 * u(random))) * 4) / 4;
            break;
        case Shape::Loops: // back and forth, runs ending where they start
            x = 100 + 60 * std::cos(i * 0.7) + noise * u(random);
            y = 70 + 40 * std::sin(i * 1.3);
            if (i % 17 == 16)
                runs.back().push_back(runs.back().front());
            break;
        default: break;
        }
        // A gap; the sink would join a run that starts where the last ended.
        if (u(random) < (sparse ? 0.01 : 0.0005) && !runs.back().empty() && runs.back().back() != QPointF(x, y))
            runs.emplace_back();
        runs.back().emplace_back(x, y);
    }
    return runs;
}

// The runs a dashed line object (the plot window's 1.3 mm dash, 0.7 mm
// gap) hands the sink: its dashes, joined where one goes on from the last.
std::vector<Run> dashed(const std::vector<Run>& runs)
{
    StrokePattern pattern;
    pattern.dashes[0] = DashStyle{true, 1.3, 0.7};
    PatternedStroke stroke(pattern);
    RecordingDashSink dashes;
    for (const Run& run : runs) {
        if (run.empty())
            continue;
        stroke.moveTo(run.front());
        for (size_t i = 1; i < run.size(); ++i)
            stroke.lineTo(run[i], dashes);
    }
    std::vector<Run> out;
    for (const auto& d : dashes.dashes()) {
        if (out.empty() || out.back().back() != d.from)
            out.push_back({d.from});
        out.back().push_back(d.to);
    }
    return out;
}

// The chart clips to its plot area; a series overflowing the image is
// drawn unclipped, against the image's own sides.
void prepare(QPainter& painter, Shape shape)
{
    painter.setTransform(QTransform(kPixelsPerMm, 0, 0, -kPixelsPerMm, 0, kHeight));
    if (shape != Shape::Overflowing)
        painter.setClipRect(kPlotArea, Qt::IntersectClip);
}

QImage viaSink(const std::vector<Run>& runs, Shape shape, int width)
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    prepare(painter, shape);
    DevicePen pen;
    pen.draws = true;
    pen.pen = dataPen(width);
    DeviceDashSink sink(painter, {pen, pen, pen, pen});
    for (const Run& run : runs)
        for (size_t i = 1; i < run.size(); ++i)
            sink.dash(0, run[i - 1], run[i]);
    return image;
}

QImage plain(const std::vector<Run>& runs, Shape shape, int width)
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    prepare(painter, shape);
    painter.setPen(dataPen(width));
    for (const Run& run : runs)
        for (size_t first = 0; first + 1 < run.size(); first += kSinkPolyline - 1)
            painter.drawPolyline(run.data() + first,
                                 static_cast<int>(std::min<size_t>(kSinkPolyline, run.size() - first)));
    return image;
}

} // namespace

TEST(LinePieces, DataPensOfEveryResolutionGiveThePlainPolylinesBytes)
{
    std::mt19937_64 random(20261211);
    for (int trial = 0; trial < kTrials; ++trial)
        for (int shape = 0; shape < static_cast<int>(Shape::Count); ++shape) {
            const auto runs = series(static_cast<Shape>(shape), random);
            for (int width : {1, 2, 3, 5})
                ASSERT_EQ(png(viaSink(runs, static_cast<Shape>(shape), width)),
                          png(plain(runs, static_cast<Shape>(shape), width)))
                    << "trial " << trial << " shape " << shape << " width " << width;
            const auto dashes = dashed(runs);
            ASSERT_EQ(png(viaSink(dashes, static_cast<Shape>(shape), kDashedWidth)),
                      png(plain(dashes, static_cast<Shape>(shape), kDashedWidth)))
                << "trial " << trial << " shape " << shape << " dashed";
        }
}

// Points of a noisy spectrum, in pixels, where leaving out segments once
// changed pixels: a kept run's flat end passed within the raster's rounding
// of a pixel centre that the whole line's join leaves out; a lone kept
// segment was drawn by the rules for lines.
TEST(LinePieces, RunEndsAndLoneSegmentsKeepThePlainPolylinesBytes)
{
    const std::vector<std::vector<QPointF>> cases = {
        {{199.43888981775623, 207.64595177642823},
         {199.49774285236583, 207.44961878363361},
         {199.52716936967062, 207.30622452076562},
         {199.55659588697543, 207.24584718572544}},
        {{76.47999999999999, 151.83655290087421}, {76.512, 155.70235115671363}, {76.543999999999997, 156.35850911802981}}};
    constexpr int kPenWidth = 2;
    for (const auto& points : cases) {
        QImage viaSink(kWidth, kHeight, QImage::Format_RGB32), plain(kWidth, kHeight, QImage::Format_RGB32);
        viaSink.fill(Qt::white);
        plain.fill(Qt::white);
        {
            QPainter painter(&viaSink);
            DevicePen pen;
            pen.draws = true;
            pen.pen = dataPen(kPenWidth);
            DeviceDashSink sink(painter, {pen, pen, pen, pen});
            for (size_t i = 1; i < points.size(); ++i)
                sink.dash(0, points[i - 1], points[i]);
        }
        QPainter painter(&plain);
        painter.setPen(dataPen(kPenWidth));
        painter.drawPolyline(points.data(), static_cast<int>(points.size()));
        painter.end();
        EXPECT_EQ(png(viaSink), png(plain)) << points.size() << " points";
    }
}
