// A solid line of many points drawn by the line pass's sink gives the same
// PNG bytes as the plain polylines it stands for, for the data pens of the
// plot window (cosmetic, flat caps, bevel joins, aliased).
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

constexpr int kSide = 400;
// The sink hands over at most this many points per polyline.
constexpr int kSinkPolyline = 4096;

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

// Runs of points in millimetres (y up), broken where data are missing.
std::vector<std::vector<QPointF>> series(std::mt19937_64& random)
{
    std::uniform_real_distribution<double> u(0, 1);
    const int n = 3000 + static_cast<int>(u(random) * 9000);
    const double noise = std::pow(10.0, u(random) * 3 - 2);
    std::vector<std::vector<QPointF>> runs(1);
    for (int i = 0; i < n; ++i) {
        double y = 50 + noise * (u(random) - 0.5) + 20 * std::sin(i * 0.002);
        if (u(random) < 0.003)
            y += (u(random) - 0.5) * 90; // a steep spike
        if (u(random) < 0.0005)
            runs.emplace_back(); // a gap
        runs.back().emplace_back(5 + 190.0 * i / n, y);
    }
    return runs;
}

void mapMillimetres(QPainter& painter) { painter.setTransform(QTransform(2, 0, 0, -2, 0, kSide)); }

} // namespace

TEST(LinePieces, WideAndThinDataPensGiveThePlainPolylinesBytes)
{
    std::mt19937_64 random(20261210);
    for (int trial = 0; trial < 12; ++trial) {
        const auto runs = series(random);
        for (int width : {1, 2, 3}) {
            QImage viaSink(kSide, kSide, QImage::Format_RGB32), plain(kSide, kSide, QImage::Format_RGB32);
            viaSink.fill(Qt::white);
            plain.fill(Qt::white);
            {
                QPainter painter(&viaSink);
                mapMillimetres(painter);
                DevicePen pen;
                pen.draws = true;
                pen.pen = dataPen(width);
                DeviceDashSink sink(painter, {pen, pen, pen, pen});
                for (const auto& run : runs)
                    for (size_t i = 1; i < run.size(); ++i)
                        sink.dash(0, run[i - 1], run[i]);
            }
            {
                QPainter painter(&plain);
                mapMillimetres(painter);
                painter.setPen(dataPen(width));
                for (const auto& run : runs)
                    for (size_t first = 0; first + 1 < run.size(); first += kSinkPolyline - 1)
                        painter.drawPolyline(run.data() + first,
                                             static_cast<int>(std::min<size_t>(kSinkPolyline, run.size() - first)));
            }
            ASSERT_EQ(png(viaSink), png(plain)) << "trial " << trial << " width " << width;
        }
    }
}
