// Hit test and move of each drawable kind on known geometry, at 96 dpi
// where the tolerance of 3 pixels is 0.79375 mm.
#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetricsF>

#include <cmath>
#include <string>
#include <vector>

#include "control/LumigraCtrl.h"
#include "hit/HitTest.h"
#include "kinds/Axes.h"
#include "kinds/Charts.h"
#include "kinds/Resources.h"
#include "kinds/Shapes.h"
#include "kinds/Strokes.h"
#include "kinds/Text.h"
#include "model/Collection.h"

namespace {

using namespace lumigra;
using platform::com::Variant;

constexpr double kTolerance = 3 * 25.4 / 96;
// Just inside and just outside the tolerance.
constexpr double kIn = kTolerance - 0.05, kOut = kTolerance + 0.05;

struct Chart {
    LumigraCtrl* c = new LumigraCtrl;
    DeviceUnits units; // 96 dpi
    Chart() { c->setExtent(600, 450, 96, 96); }
    ~Chart() { c->Release(); }
    template <class T>
    T* add(int collection, const std::string& name = "")
    {
        return static_cast<T*>(c->collection(collection)->addNamed(name));
    }
    std::vector<std::string> hits(double x, double y) const
    {
        std::vector<std::string> names;
        for (LgObject* o : hitObjects(*c, QPointF(x, y), units))
            names.push_back(o->name());
        return names;
    }
    bool hit(double x, double y) const { return !hits(x, y).empty(); }
};

void setPoints(PointList& list, std::vector<QPointF> points)
{
    const auto n = static_cast<int32_t>(points.size());
    list.x = Variant::makeArray(platform::com::VT_R8, 0, n);
    list.y = Variant::makeArray(platform::com::VT_R8, 0, n);
    for (size_t i = 0; i < points.size(); ++i) {
        list.x.at(i) = Variant::fromR8(points[i].x());
        list.y.at(i) = Variant::fromR8(points[i].y());
    }
}

TEST(HitTest, ToleranceIsThreeDevicePixels)
{
    DeviceUnits units;
    EXPECT_NEAR(hitTolerance(units), kTolerance, 1e-12);
    units.perMmX = units.perMmY = 600 / 25.4;
    EXPECT_NEAR(hitTolerance(units), 3 * 25.4 / 600, 1e-12);
}

TEST(HitTest, RectanglesAndSymbolsByTheirBoxes)
{
    Chart k;
    auto* r = k.add<LgRectangle>(cidRectangles, "R");
    r->orgX_ = 30;
    r->orgY_ = 10;
    r->width_ = -20; // a negative width spans to the left
    r->height_ = 10;
    EXPECT_TRUE(k.hit(20, 15));
    EXPECT_TRUE(k.hit(10 - kIn, 15));
    EXPECT_FALSE(k.hit(10 - kOut, 15));
    EXPECT_TRUE(k.hit(30 + kIn * 0.7, 20 + kIn * 0.7)); // round the corner
    EXPECT_FALSE(k.hit(30 + kOut * 0.75, 20 + kOut * 0.75));
    EXPECT_FALSE(k.hit(20, 20 + kOut));
    r->visible_ = false;
    EXPECT_FALSE(k.hit(20, 15));

    auto* s = k.add<LgSymbol>(cidSymbols, "S");
    s->centerX_ = 50;
    s->centerY_ = 50;
    s->width_ = 4;
    s->height_ = 2;
    EXPECT_TRUE(k.hit(51.9, 50.9));
    EXPECT_TRUE(k.hit(52 + kIn, 50));
    EXPECT_FALSE(k.hit(52 + kOut, 50));
    EXPECT_FALSE(k.hit(50, 51 + kOut));
}

TEST(HitTest, LinesArrowLinesAndPolylinesByTheirStrokes)
{
    Chart k;
    auto* l = k.add<LgLine>(cidLines, "L");
    l->fromX_ = 0;
    l->fromY_ = 0;
    l->toX_ = 30;
    l->toY_ = 40; // along (0.6, 0.8); across (-0.8, 0.6)
    EXPECT_TRUE(k.hit(15 - 0.8 * kIn, 20 + 0.6 * kIn));
    EXPECT_FALSE(k.hit(15 - 0.8 * kOut, 20 + 0.6 * kOut));
    EXPECT_TRUE(k.hit(30 + 0.6 * kIn, 40 + 0.8 * kIn));   // past the end, within reach
    EXPECT_FALSE(k.hit(30 + 0.6 * kOut, 40 + 0.8 * kOut));
    l->visible_ = false;
    EXPECT_FALSE(k.hit(15, 20));

    // An arrow line by its line and the symbols at its ends; the line it
    // uses is not hit on its own.
    auto* a = k.add<LgSymbolLine>(cidSymbolLines, "A");
    auto* line = k.add<LgLine>(cidLines, "AL");
    line->fromX_ = 100;
    line->fromY_ = 100;
    line->toX_ = 120;
    line->toY_ = 100;
    a->line_.reset(line);
    auto* head = k.add<LgSymbol>(cidSymbols, "Head");
    head->width_ = head->height_ = 4;
    a->endSymbol_.reset(head);
    EXPECT_EQ(k.hits(110, 100 + kIn), std::vector<std::string>{"A"});
    EXPECT_FALSE(k.hit(110, 100 + kOut));
    EXPECT_EQ(k.hits(120, 101.9), std::vector<std::string>{"A"}); // inside the head's box
    EXPECT_FALSE(k.hit(100, 101.9));                             // no start symbol

    auto* p = k.add<LgPolyline>(cidPolylines, "P");
    auto* pl = k.add<LgLine>(cidLines, "PL");
    p->line_.reset(pl);
    setPoints(p->points_, {{200, 0}, {210, 10}, {220, 0}});
    EXPECT_TRUE(k.hit(210, 10 + kIn));
    EXPECT_FALSE(k.hit(210, 5)); // inside the bend: a polyline has no inside
    pl->visible_ = false;
    EXPECT_FALSE(k.hit(210, 10));
}

TEST(HitTest, PolygonsByTheirInsideAndEdges)
{
    Chart k;
    auto* g = k.add<LgPolygon>(cidPolygons, "G");
    setPoints(g->points_, {{0, 0}, {20, 0}, {10, 20}});
    EXPECT_TRUE(k.hit(10, 5));
    EXPECT_TRUE(k.hit(10, 20 + kIn));
    EXPECT_FALSE(k.hit(10, 20 + kOut));
    EXPECT_FALSE(k.hit(2, 15));
    // Points that are not numbers are left out, as in the drawing.
    g->points_.x.at(1) = Variant::fromString("x");
    EXPECT_FALSE(k.hit(10, 5));
}

TEST(HitTest, LabelsByTheirMeasuredExtentTurnedWithThem)
{
    Chart k;
    auto* font = k.add<LgFontHolder>(cidFontHolders);
    font->typeFace_ = "DejaVu Sans";
    font->size_ = 5;
    auto* label = k.add<LgLabel>(cidLabels, "T");
    label->fonts_[0].reset(font);
    label->strings_[0] = "MMMMMMMM";
    label->orgX_ = 50;
    label->orgY_ = 50;
    // The text's advance as the font measures it, independently of the layout.
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(static_cast<int>(std::lround(5 * 96 / 25.4)));
    const double width = QFontMetricsF(f).horizontalAdvance(QStringLiteral("MMMMMMMM")) * 25.4 / 96;
    ASSERT_GT(width, 10);
    EXPECT_TRUE(k.hit(50 + width - 0.5, 51));
    EXPECT_FALSE(k.hit(50 + width + 1.0 + kOut, 51));
    EXPECT_FALSE(k.hit(50, 50 + 5 + kOut));
    EXPECT_TRUE(k.hit(50 + width / 2, 49.5)); // the descent below the baseline

    label->angle_ = 90;
    EXPECT_TRUE(k.hit(49, 50 + width - 0.5));
    EXPECT_FALSE(k.hit(50 + width / 2, 51));

    label->angle_ = 0;
    label->alignX_ = lgFontAlignRight;
    EXPECT_TRUE(k.hit(50 - width + 0.5, 51));
    EXPECT_FALSE(k.hit(50 + 2, 51));

    // A label without text or font takes no room; a hidden one is not hit.
    label->alignX_ = lgFontAlignLeft;
    label->visible_ = false;
    EXPECT_FALSE(k.hit(51, 51));
    label->visible_ = true;
    label->strings_[0].clear();
    EXPECT_FALSE(k.hit(50, 50));
}

TEST(HitTest, LegendsByTheirAreaAndChartsByTheirPlotArea)
{
    Chart k;
    auto* legend = k.add<LgLegend>(cidLegends, "Key");
    auto* area = k.add<LgRectangle>(cidRectangles, "KeyArea");
    area->orgX_ = 100;
    area->orgY_ = 100;
    area->width_ = 30;
    area->height_ = 20;
    legend->area_.reset(area);
    // The area belongs to the legend: only the legend is hit.
    EXPECT_EQ(k.hits(110, 110), std::vector<std::string>{"Key"});

    auto* chart = k.add<LgXyChart>(cidXyCharts, "G");
    auto* x = k.add<LgXyAxis>(cidXyAxes, "X");
    auto* y = k.add<LgXyAxis>(cidXyAxes, "Y");
    x->orgX_ = y->orgX_ = 13;
    x->orgY_ = y->orgY_ = 10;
    x->length_ = 120;
    y->orientation_ = lgXyAxisY;
    y->length_ = 80;
    chart->xAxis_.reset(x);
    chart->yAxis_.reset(y);
    // Without a plot area: the box the axes span.
    EXPECT_EQ(k.hits(70, 50), std::vector<std::string>{"G"});
    EXPECT_FALSE(k.hit(13 + 120 + kOut, 50));
    auto* plot = k.add<LgRectangle>(cidRectangles, "Plot");
    plot->orgX_ = 20;
    plot->orgY_ = 20;
    plot->width_ = 10;
    plot->height_ = 10;
    chart->plotArea_.reset(plot);
    EXPECT_EQ(k.hits(25, 25), std::vector<std::string>{"G"});
    EXPECT_FALSE(k.hit(70, 50));
    chart->visible_ = false;
    EXPECT_FALSE(k.hit(25, 25));
}

TEST(HitTest, XyAxesByTheirLineAndTheBandOfTheirMarks)
{
    Chart k;
    auto* x = k.add<LgXyAxis>(cidXyAxes, "X");
    x->orgX_ = 13;
    x->orgY_ = 10;
    x->length_ = 120;
    EXPECT_TRUE(k.hit(50, 10 - kIn));
    EXPECT_FALSE(k.hit(50, 10 - kOut));
    EXPECT_FALSE(k.hit(133 + kOut, 10));
    // Marks 2 mm long on both sides widen it.
    x->tick()->markLength_ = 2;
    x->tick()->markStyle_ = lgTickMarkBoth;
    EXPECT_TRUE(k.hit(50, 12 + kIn));
    EXPECT_TRUE(k.hit(50, 8 - kIn));
    EXPECT_FALSE(k.hit(50, 12 + kOut));
    x->tick()->markStyle_ = lgTickMarkLeft; // below a horizontal axis
    EXPECT_FALSE(k.hit(50, 12));
    EXPECT_TRUE(k.hit(50, 8.5));

    auto* y = k.add<LgXyAxis>(cidXyAxes, "Y");
    y->orientation_ = lgXyAxisY;
    y->orgX_ = 200;
    y->orgY_ = 10;
    y->length_ = 50;
    y->tick()->markLength_ = 1;
    EXPECT_TRUE(k.hit(201 + kIn, 30)); // marks to the right of a vertical axis
    EXPECT_FALSE(k.hit(200 - kOut, 30));
    EXPECT_FALSE(k.hit(200, 60 + kOut));
}

TEST(HitTest, PolarAndTriangularKindsByTheirBoundingShapes)
{
    Chart k;
    auto* round = k.add<LgPolarAxis>(cidPolarAxes, "Round");
    round->orgX_ = 50;
    round->orgY_ = 50;
    round->radius_ = 10;
    EXPECT_TRUE(k.hit(55, 55));
    EXPECT_TRUE(k.hit(60 + kIn * 0.99, 50));
    EXPECT_FALSE(k.hit(58, 58));
    // Half a turn: the upper half disc.
    round->startAngle_ = 0;
    round->endAngle_ = 180;
    EXPECT_TRUE(k.hit(50, 55));
    EXPECT_FALSE(k.hit(50, 45));

    auto* spoke = k.add<LgPolarAxis>(cidPolarAxes, "Spoke");
    spoke->type_ = lgPolarAxisStraight;
    spoke->orgX_ = 100;
    spoke->orgY_ = 50;
    spoke->radius_ = 10;
    spoke->startAngle_ = 90;
    EXPECT_EQ(k.hits(100 + kIn, 55), std::vector<std::string>{"Spoke"});
    EXPECT_FALSE(k.hit(100 + kOut, 55));

    auto* polar = k.add<LgPolarChart>(cidPolarCharts, "Polar");
    polar->straightAxis_.reset(spoke);
    EXPECT_EQ(k.hits(95, 45), std::vector<std::string>{"Polar"}); // the disc of the spoke's radius

    auto* tri = k.add<LgTriangularAxis>(cidTriangularAxes, "Tri");
    tri->orgX_ = 200;
    tri->orgY_ = 0;
    tri->length_ = 20;
    EXPECT_TRUE(k.hit(210, 5));
    EXPECT_TRUE(k.hit(210, 20 * std::sqrt(3.0) / 2 + kIn));
    EXPECT_FALSE(k.hit(201, 10));
    auto* triChart = k.add<LgTriangularChart>(cidTriangularCharts, "TriChart");
    triChart->triangularAxis_.reset(tri);
    EXPECT_EQ(k.hits(210, 5), (std::vector<std::string>{"Tri", "TriChart"}));
    tri->maximum_ = tri->minimum_; // no range: not drawn, not hit
    EXPECT_FALSE(k.hit(210, 5));
}

TEST(HitTest, TopmostFirstByPaintOrderAndIndex)
{
    Chart k;
    auto* a = k.add<LgRectangle>(cidRectangles, "A");
    auto* b = k.add<LgRectangle>(cidRectangles, "B");
    for (auto* r : {a, b}) {
        r->orgX_ = r == a ? 0 : 5;
        r->width_ = r->height_ = 10;
    }
    auto* font = k.add<LgFontHolder>(cidFontHolders);
    auto* label = k.add<LgLabel>(cidLabels, "Text");
    label->fonts_[0].reset(font);
    label->strings_[0] = "Text";
    label->orgX_ = 6;
    label->orgY_ = 5;
    EXPECT_EQ(k.hits(7, 6), (std::vector<std::string>{"Text", "B", "A"}));
    EXPECT_EQ(k.hits(2, 6), std::vector<std::string>{"A"});
    // Labels drawn before rectangles lie under them.
    ASSERT_TRUE(k.c->swapPaintOrder(k.c->collection(cidRectangles), k.c->collection(cidLabels)));
    EXPECT_EQ(k.hits(7, 6), (std::vector<std::string>{"B", "A", "Text"}));
    // A hidden collection hides every element.
    k.c->collection(cidRectangles)->setVisibleRaw(false);
    EXPECT_EQ(k.hits(7, 6), std::vector<std::string>{"Text"});
}

TEST(HitTest, MoveShiftsEachKindsStoredPosition)
{
    Chart k;
    constexpr double dx = 1.25, dy = -2.5;
    auto* r = k.add<LgRectangle>(cidRectangles);
    r->orgX_ = 1;
    r->orgY_ = 2;
    ASSERT_TRUE(moveObject(*r, dx, dy));
    EXPECT_EQ(QPointF(r->orgX_, r->orgY_), QPointF(1 + dx, 2 + dy));

    auto* l = k.add<LgLine>(cidLines);
    l->toX_ = 10;
    l->toY_ = 20;
    moveObject(*l, dx, dy);
    EXPECT_EQ(QPointF(l->fromX_, l->fromY_), QPointF(dx, dy));
    EXPECT_EQ(QPointF(l->toX_, l->toY_), QPointF(10 + dx, 20 + dy));

    auto* arrow = k.add<LgSymbolLine>(cidSymbolLines);
    auto* arrowLine = k.add<LgLine>(cidLines);
    arrow->line_.reset(arrowLine);
    moveObject(*arrow, dx, dy);
    EXPECT_EQ(QPointF(arrowLine->toX_, arrowLine->toY_), QPointF(dx, dy));

    auto* s = k.add<LgSymbol>(cidSymbols);
    moveObject(*s, dx, dy);
    EXPECT_EQ(QPointF(s->centerX_, s->centerY_), QPointF(dx, dy));

    auto* g = k.add<LgPolygon>(cidPolygons);
    setPoints(g->points_, {{0, 0}, {4, 0}, {2, 3}});
    moveObject(*g, dx, dy);
    EXPECT_EQ(g->points_.x.at(2).r8(), 2 + dx);
    EXPECT_EQ(g->points_.y.at(2).r8(), 3 + dy);

    auto* label = k.add<LgLabel>(cidLabels);
    moveObject(*label, dx, dy);
    EXPECT_EQ(QPointF(label->orgX_, label->orgY_), QPointF(dx, dy));

    auto* legend = k.add<LgLegend>(cidLegends);
    auto* area = k.add<LgRectangle>(cidRectangles);
    legend->area_.reset(area);
    moveObject(*legend, dx, dy);
    EXPECT_EQ(QPointF(area->orgX_, area->orgY_), QPointF(dx, dy));

    // A chart moves its plot area and its axes; one axis used twice moves once.
    auto* chart = k.add<LgXyChart>(cidXyCharts);
    auto* axis = k.add<LgXyAxis>(cidXyAxes);
    auto* plot = k.add<LgRectangle>(cidRectangles);
    chart->xAxis_.reset(axis);
    chart->yAxis_.reset(axis);
    chart->plotArea_.reset(plot);
    moveObject(*chart, dx, dy);
    EXPECT_EQ(QPointF(axis->orgX_, axis->orgY_), QPointF(dx, dy));
    EXPECT_EQ(QPointF(plot->orgX_, plot->orgY_), QPointF(dx, dy));

    auto* polar = k.add<LgPolarChart>(cidPolarCharts);
    auto* pa = k.add<LgPolarAxis>(cidPolarAxes);
    polar->ellipticAxis_.reset(pa);
    moveObject(*polar, dx, dy);
    EXPECT_EQ(QPointF(pa->orgX_, pa->orgY_), QPointF(dx, dy));

    auto* tri = k.add<LgTriangularChart>(cidTriangularCharts);
    auto* ta = k.add<LgTriangularAxis>(cidTriangularAxes);
    tri->triangularAxis_.reset(ta);
    moveObject(*tri, dx, dy);
    EXPECT_EQ(QPointF(ta->orgX_, ta->orgY_), QPointF(dx, dy));

    // Kinds without a place, and offsets that are not numbers, move nothing.
    EXPECT_FALSE(moveObject(*k.add<LgPen>(cidPens), dx, dy));
    EXPECT_FALSE(moveObject(*r, std::nan(""), 0));
    EXPECT_EQ(r->orgX_, 1 + dx);
    // A move marks the chart modified.
    k.c->setModified(false);
    moveObject(*r, dx, dy);
    EXPECT_TRUE(k.c->isModified());
}

} // namespace
