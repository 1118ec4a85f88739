#include "draw/PainterSinks.h"
#include "draw/PatternedStroke.h"
#include "draw/SymbolStyles.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

using namespace lumigra;

namespace {

// 100 x 100 mm at 2 pixels a millimetre, y up.
QImage blankSurface()
{
    QImage image(200, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

void mapMillimetres(QPainter& painter)
{
    painter.setTransform(QTransform(2, 0, 0, -2, 0, 200));
}

} // namespace

TEST(PainterSinks, DashedStrokeOnAnImage)
{
    QImage image = blankSurface();
    {
        QPainter painter(&image);
        mapMillimetres(painter);
        QPen black(Qt::black, 0);
        PainterDashSink sink(painter, {black, black, black, black});
        StrokePattern pattern;
        pattern.dashes[0] = DashStyle{true, 5, 5};
        PatternedStroke stroke(pattern);
        // Two pieces: the second continues the phase of the first.
        stroke.moveTo({0, 50.25});
        stroke.lineTo({32, 50.25}, sink);
        stroke.lineTo({100, 50.25}, sink);
    }
    // The row of y = 50.25 mm is pixel row 99.
    EXPECT_EQ(image.pixel(5, 99), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(15, 99), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(62, 99), qRgb(0, 0, 0));  // 31 mm: inside the dash 30-35
    EXPECT_EQ(image.pixel(66, 99), qRgb(0, 0, 0));  // 33 mm: same dash, second piece
    EXPECT_EQ(image.pixel(75, 99), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(195, 99), qRgb(255, 255, 255)); // 97.5 mm: gap 95-100
    EXPECT_EQ(image.pixel(185, 99), qRgb(0, 0, 0));       // 92.5 mm: dash 90-95
    EXPECT_EQ(image.pixel(100, 120), qRgb(255, 255, 255));
}

TEST(PainterSinks, FilledSymbols)
{
    QImage image = blankSurface();
    {
        QPainter painter(&image);
        mapMillimetres(painter);
        PainterPrimitiveSink sink(painter, QPen(Qt::blue, 0), QBrush(Qt::red),
                                  [](QPainter& p, const QRectF& r) { p.fillRect(r, Qt::green); });
        drawSymbol(78, {}, 25, 25, 10, 10, false, sink);  // box at lower left
        drawSymbol(82, {}, 75, 75, 20, 10, false, sink);  // ellipse at upper right
        drawSymbol(75, {}, 75, 25, 10, 10, false, sink);  // picture at lower right
    }
    EXPECT_EQ(image.pixel(50, 150), qRgb(255, 0, 0));    // box centre
    EXPECT_EQ(image.pixel(50, 161), qRgb(255, 255, 255)); // below the box
    EXPECT_EQ(image.pixel(150, 50), qRgb(255, 0, 0));    // ellipse centre
    EXPECT_EQ(image.pixel(150, 38), qRgb(255, 255, 255)); // 81 mm: above the 5 mm half height
    EXPECT_EQ(image.pixel(166, 50), qRgb(255, 0, 0));    // 83 mm: inside the 10 mm half width
    EXPECT_EQ(image.pixel(174, 50), qRgb(255, 255, 255)); // 87 mm: beyond it
    EXPECT_EQ(image.pixel(150, 150), qRgb(0, 255, 0));   // the picture over the fill
    EXPECT_EQ(image.pixel(140, 150), qRgb(0, 0, 255));   // its outline at x = 70 mm
}
