// The drawing pass: background, mapping of millimetres, paint order, loop
// budget with its overlay, and bad data.
#include <gtest/gtest.h>

#include <QPainter>

#include <cmath>
#include <limits>

#include "Scene.h"
#include "draw/PatternedStroke.h"

using namespace scene;

namespace {

constexpr QRgb kOrange = 0xFF8000;

LgLine* freeLine(LumigraCtrl& c, QPointF from, QPointF to, int32_t colour = 0)
{
    LgLine* l = solidLine(c, pen(c, colour));
    l->fromX_ = from.x();
    l->fromY_ = from.y();
    l->toX_ = to.x();
    l->toY_ = to.y();
    return l;
}

// Rows of the image holding a pixel of the colour in column x.
std::vector<int> rowsWith(const QImage& image, int x, QRgb colour)
{
    std::vector<int> rows;
    for (int y = 0; y < image.height(); ++y)
        if ((image.pixel(x, y) & 0xFFFFFF) == colour)
            rows.push_back(y);
    return rows;
}

} // namespace

TEST(PaintPass, BackgroundFromBackModeAmbientAndMonochrome)
{
    Control c(40, 30);
    c->backColor_ = 0x0000FF; // red
    EXPECT_EQ(render(*c).pixel(5, 5) & 0xFFFFFF, 0xFF0000u);
    c->backMode_ = 0;
    c->ambientBackColor_ = 0x00FF00;
    EXPECT_EQ(render(*c).pixel(5, 5) & 0xFFFFFF, 0x00FF00u);
    c->backMode_ = 1;
    c->monochrome_ = true;
    c->backColor_ = 0x64C8C8; // RGB(200, 200, 100): blue not above 127
    EXPECT_EQ(render(*c).pixel(5, 5) & 0xFFFFFF, 0x000000u);
    c->backColor_ = 0xC8C8C8;
    EXPECT_EQ(render(*c).pixel(5, 5) & 0xFFFFFF, 0xFFFFFFu);
}

TEST(PaintPass, MillimetresUpFromTheLowerEdgeWithOriginScaleAndExactHeight)
{
    Control c(400, 300);
    freeLine(*c, {10, 10}, {50, 10}, 0x0000FF);
    // 10 mm at 96 dpi is 37.8 px up from the lower edge, from x 37.8 to 189.
    EXPECT_EQ(rowsWith(render(*c), 100, 0xFF0000), std::vector<int>{262});
    QImage image = render(*c);
    EXPECT_EQ(image.pixel(36, 262) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(image.pixel(38, 262) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(image.pixel(188, 262) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(image.pixel(190, 262) & 0xFFFFFF, 0xFFFFFFu);

    // The origin moves the drawing down by 5 mm; magnification 2 doubles the distances.
    c->orgY_ = 5;
    EXPECT_EQ(rowsWith(render(*c), 100, 0xFF0000), std::vector<int>{281});
    c->orgY_ = 0;
    c->scaleFactor_ = 2;
    EXPECT_EQ(rowsWith(render(*c), 100, 0xFF0000), std::vector<int>{224});

    // With ExactScale the surface is as high as the stored height, counted from the top.
    c->scaleFactor_ = 1;
    c->exactScale_ = true;
    c->scaleHeightStored_ = 50; // mm: the line is 40 mm below the upper edge
    EXPECT_EQ(rowsWith(render(*c), 100, 0xFF0000), std::vector<int>{151});
}

TEST(PaintPass, ClashingPaintOrdersDrawBothThenReturnToDefaults)
{
    Control c(200, 150);
    auto* r = add<LgRectangle>(*c, cidRectangles);
    r->orgX_ = 5;
    r->orgY_ = 5;
    r->width_ = 30;
    r->height_ = 30;
    r->paintTool_ = lgPaintBrush;
    r->brush_.reset(solidBrush(*c, 0x0000FF));
    freeLine(*c, {0, 20}, {50, 20}, 0xFF0000);
    // Lines first (order 1, with the XY charts), rectangles after: the box covers the line.
    c->collection(cidLines)->setPaintOrderRaw(1);
    c->collection(cidRectangles)->setPaintOrderRaw(2);
    QImage image = render(*c);
    const QPoint p = pixelOf(*c, 20, 20, image.height());
    EXPECT_EQ(image.pixel(p) & 0xFFFFFF, 0xFF0000u);
    // Every collection is back at its default rank.
    EXPECT_EQ(c->collection(cidLines)->paintOrder(), 11);
    EXPECT_EQ(c->collection(cidRectangles)->paintOrder(), 7);
    EXPECT_EQ(c->collection(cidXyCharts)->paintOrder(), 1);
    // By default lines (11) come after rectangles (7).
    image = render(*c);
    EXPECT_EQ(image.pixel(p) & 0xFFFFFF, 0x0000FFu);
}

TEST(PaintPass, TickLoopOverBudgetStopsWithTheMaxLoopOverlay)
{
    Control c(400, 300);
    c->maxLoop_ = 1000;
    PlotChart p = plotWindowChart(*c, {0, 10}, {0, 1});
    p.x->tick()->markIntervalSelection_ = lgSelectionManual;
    p.x->tick()->markInterval_ = platform::com::Variant::fromR8(1e-4); // 100000 marks
    PaintResult result;
    QImage image = render(*c, &result);
    EXPECT_EQ(result.overlay, LoopBudget::Overlay::MaxLoopExceeded);
    EXPECT_EQ(result.overlayText, "中止:最大計算回数(MaxLoop=1000)を超えたので描画を中止しました。");
    EXPECT_EQ(image.pixel(1, image.height() - 2) & 0xFFFFFF, kOrange);
    // A sane interval draws without overlay.
    p.x->tick()->markInterval_ = platform::com::Variant::fromR8(1);
    image = render(*c, &result);
    EXPECT_EQ(result.overlay, LoopBudget::Overlay::None);
    EXPECT_NE(image.pixel(1, image.height() - 2) & 0xFFFFFF, kOrange);
}

TEST(PaintPass, StrokeLimitShowsItsMessageOncePerPaint)
{
    Control c(500, 200);
    LgLine* l = freeLine(*c, {10, 10}, {110, 10});
    l->length1_ = 0.01; // 10000 strokes for 100 mm
    LgLine* second = freeLine(*c, {10, 20}, {110, 20});
    second->length1_ = 0.01;
    PaintResult result;
    QImage image = render(*c, &result);
    EXPECT_EQ(result.overlay, LoopBudget::Overlay::Message);
    EXPECT_EQ(result.overlayText, PatternedStroke::limitMessage({10, 10}, {110, 10}));
    EXPECT_EQ(result.overlayText,
              "(10.000000,10.000000)から(110.000000,10.000000)までの直線を引くために必要なストロークが5000を超えた"
              "ので直線描画を中止しました。");
    // 5000 strokes of 0.01 mm: the line stops half way (at 60 mm, x 226 px).
    const int row = pixelOf(*c, 0, 10, image.height()).y();
    EXPECT_TRUE(dark(image.pixel(200, row)));
    EXPECT_FALSE(dark(image.pixel(300, row)));
    EXPECT_EQ(image.pixel(1, image.height() - 2) & 0xFFFFFF, kOrange);

    // A dash of length 0 draws nothing and says nothing.
    l->length1_ = 0;
    second->visible_ = false;
    image = render(*c, &result);
    EXPECT_EQ(result.overlay, LoopBudget::Overlay::None);
    EXPECT_FALSE(dark(image.pixel(200, row)));
}

TEST(PaintPass, BadDataNeitherHangsNorCrashes)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    Control c(400, 300);
    PlotChart p = plotWindowChart(*c, {0, 1, nan, 3, inf, 5, 6}, {1, nan, 2, -inf, 4, 1e308, 2});
    freeLine(*c, {nan, 0}, {10, inf});
    auto* sym = add<LgSymbol>(*c, cidSymbols);
    sym->style_ = lgSymbolCircle1;
    sym->width_ = inf;
    sym->height_ = 2;
    PaintResult result;
    QImage image = render(*c, &result);
    EXPECT_EQ(image.size(), QSize(400, 300));
    // Equal manual ends: the axis is not drawn, the rest is.
    p.y->minimumSelection_ = p.y->maximumSelection_ = lgSelectionManual;
    p.y->minimum_ = p.y->maximum_ = platform::com::Variant::fromR8(2);
    image = render(*c, &result);
    const QPoint corner = pixelOf(*c, 13, 50, image.height());
    EXPECT_FALSE(dark(image.pixel(corner.x() - 3, corner.y()))); // no y axis labels or marks
    EXPECT_EQ(result.overlay, LoopBudget::Overlay::None);
    // Huge manual ends with a tiny manual interval end in the overlay, not a hang.
    p.y->maximum_ = platform::com::Variant::fromR8(1e300);
    p.y->tick()->markIntervalSelection_ = lgSelectionManual;
    p.y->tick()->markInterval_ = platform::com::Variant::fromR8(1e-300);
    render(*c, &result);
    EXPECT_EQ(result.overlay, LoopBudget::Overlay::MaxLoopExceeded);
}
