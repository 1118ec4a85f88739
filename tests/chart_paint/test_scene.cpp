// One chart using every drawable kind, rendered offscreen; the image is
// saved for a look where LUMIGRA_KEEP_SCENE names a file, and pixels that
// matter are checked.
#include <gtest/gtest.h>

#include <QPainter>

#include <cmath>

#include "Scene.h"

using namespace scene;

namespace {

LgSymbol* symbol(LumigraCtrl& c, int style, double w, double h, int32_t brushColour, int32_t penColour = 0)
{
    auto* s = add<LgSymbol>(c, cidSymbols);
    s->style_ = static_cast<int16_t>(style);
    s->width_ = w;
    s->height_ = h;
    s->pen_.reset(pen(c, penColour));
    s->brush_.reset(solidBrush(c, brushColour));
    return s;
}

LgLabel* label(LumigraCtrl& c, double x, double y, const std::string& text, LgFontHolder* f)
{
    auto* l = add<LgLabel>(c, cidLabels);
    l->orgX_ = x;
    l->orgY_ = y;
    l->strings_[0] = text;
    l->fonts_[0].reset(f);
    return l;
}

// Everything on one surface of 200 x 150 mm.
void buildScene(LumigraCtrl& c)
{
    std::vector<double> xs, ys;
    for (int i = 0; i <= 40; ++i) {
        xs.push_back(i * 0.25);
        ys.push_back(std::sin(i * 0.25) * 3 + 4);
    }
    ys[20] = -999; // missing
    PlotChart p = plotWindowChart(c, xs, ys);
    p.data->slot(2).missing = platform::com::Variant::fromR8(-999);
    p.chart->entry(p.chart->symbols_, lgMarkerSymbol).reset(symbol(c, lgSymbolBox1, 1.5, 1.5, 0x00AA00));
    p.chart->markerSymbolInterval_ = 5;
    LgLine* grid = solidLine(c, pen(c, 0xC0C0C0));
    grid->length1_ = 1.3;
    grid->space1_ = 0.7;
    p.y->tick()->gridLine_.reset(grid);
    LgXyTick* sub = static_cast<LgXyTick*>(LgXyTick::create(&c));
    sub->level_ = 2;
    sub->markLength_ = 0.5;
    sub->pen_.reset(pen(c));
    p.x->tick()->subTick_.reset(sub);
    sub->Release();

    // A second chart of bars on its own axes at the right.
    auto* bars = add<LgXyChart>(c, cidXyCharts, "Bars");
    auto* bx = add<LgXyAxis>(c, cidXyAxes);
    auto* by = add<LgXyAxis>(c, cidXyAxes);
    bx->orgX_ = 145; bx->orgY_ = 10; bx->length_ = 45; bx->pen_.reset(pen(c));
    by->orgX_ = 145; by->orgY_ = 10; by->length_ = 40; by->orientation_ = lgXyAxisY; by->pen_.reset(pen(c));
    bars->xAxis_.reset(bx);
    bars->yAxis_.reset(by);
    bars->type_ = lgChartVBar;
    bars->drawSimpleChart_ = false;
    bars->entry(bars->brushes_, 0).reset(solidBrush(c, 0xFF8040));
    bars->entry(bars->lines_, lgGraphLine).reset(solidLine(c, pen(c)));
    auto* bd = add<LgData>(c, cidDataCollection);
    setSlot(*bd, 1, {1, 2, 3, 4});
    setSlot(*bd, 2, {3, 5, 2, 6});
    bars->data_.reset(bd);

    LgFontHolder* title = font(c, "ＭＳ 明朝", 5);
    label(c, 15, 95, "スペクトル Hα", title);
    LgLabel* sup = label(c, 100, 95, "10", font(c, "Century", 4));
    sup->strings_[1] = "-3";
    sup->fonts_[1].reset(font(c, "Century", 2.5));
    sup->alignY_[1] = lgFontAlignSuperscript;

    auto* r = add<LgRectangle>(c, cidRectangles);
    r->orgX_ = 145; r->orgY_ = 60; r->width_ = 45; r->height_ = 25;
    r->paintTool_ = lgPaintBrush;
    auto* hatch = add<LgBrush>(c, cidBrushes);
    hatch->style_ = lgBrushR;
    hatch->foreColor_ = 0x800000;
    r->brush_.reset(hatch);
    r->pen_.reset(pen(c, 0, 0.5));
    r->shadowBrush_.reset(solidBrush(c, 0x808080));
    r->shadowShiftX_ = 1.5;
    r->shadowShiftY_ = -1.5;

    auto* s = symbol(c, lgSymbolCircle2, 6, 6, 0xFFFF00, 0x0000FF); // cyan, red outline
    s->centerX_ = 150; s->centerY_ = 100;
    auto* star = symbol(c, lgSymbolStar, 6, 6, 0, 0x008000);
    star->centerX_ = 160; star->centerY_ = 100;

    auto* arrow = add<LgSymbolLine>(c, cidSymbolLines);
    LgLine* shaft = solidLine(c, pen(c, 0x0000C0, 0.3));
    shaft->fromX_ = 170; shaft->fromY_ = 95; shaft->toX_ = 190; shaft->toY_ = 110;
    arrow->line_.reset(shaft);
    arrow->endSymbol_.reset(symbol(c, lgSymbolArrowHead2, 2, 2, 0x0000C0, 0x0000C0));

    auto* poly = add<LgPolygon>(c, cidPolygons);
    setSlot(*add<LgData>(c, cidDataCollection), 1, {0}); // unrelated data set
    poly->points_.x = platform::com::Variant::makeArray(platform::com::VT_R8, 0, 3);
    poly->points_.y = platform::com::Variant::makeArray(platform::com::VT_R8, 0, 3);
    const double px[3] = {150, 170, 160}, py[3] = {115, 115, 130};
    for (size_t i = 0; i < 3; ++i) {
        poly->points_.x.at(i) = platform::com::Variant::fromR8(px[i]);
        poly->points_.y.at(i) = platform::com::Variant::fromR8(py[i]);
    }
    poly->brush_.reset(solidBrush(c, 0xFF00FF));
    poly->pen_.reset(pen(c));

    auto* polyline = add<LgPolyline>(c, cidPolylines);
    polyline->points_.x = poly->points_.x;
    polyline->points_.y = poly->points_.y;
    for (size_t i = 0; i < 3; ++i)
        polyline->points_.x.at(i) = platform::com::Variant::fromR8(px[i] + 25);
    LgLine* dashed = solidLine(c, pen(c, 0x008000, 0.4));
    dashed->length1_ = 2;
    dashed->space1_ = 1;
    polyline->line_.reset(dashed);

    auto* legend = add<LgLegend>(c, cidLegends);
    auto* area = add<LgRectangle>(c, cidRectangles);
    area->orgX_ = 100; area->orgY_ = 60; area->width_ = 35; area->height_ = 12;
    area->pen_.reset(pen(c));
    legend->area_.reset(area);
    auto* item = static_cast<LgLegendItem*>(legend->items()->addNamed(""));
    item->chart_.reset(p.chart);
    item->label_.reset(label(c, 0, 0, "Graph1", font(c, "Century", 3)));
    item->lineIndex_ = lgMarkerLine;
    item->symbolIndex_ = lgMarkerSymbol;

    // Polar and triangular charts in the upper right corner.
    auto* pa = add<LgPolarAxis>(c, cidPolarAxes);
    pa->type_ = lgPolarAxisStraight;
    pa->orgX_ = 185; pa->orgY_ = 135; pa->radius_ = 12;
    pa->pen_.reset(pen(c));
    auto* circle = add<LgPolarAxis>(c, cidPolarAxes);
    circle->orgX_ = 185; circle->orgY_ = 135; circle->radius_ = 12;
    circle->pen_.reset(pen(c));
    auto* pc = add<LgPolarChart>(c, cidPolarCharts);
    pc->straightAxis_.reset(pa);
    pc->ellipticAxis_.reset(circle);
    auto* pd = add<LgData>(c, cidDataCollection);
    setSlot(*pd, 1, {0, 60, 120, 180, 240, 300, 359});
    setSlot(*pd, 2, {1, 2, 3, 4, 5, 6, 7});
    pc->data_.reset(pd);
    pc->entry(pc->lines_, lgGraphLine).reset(solidLine(c, pen(c, 0xC00000)));

    auto* ta = add<LgTriangularAxis>(c, cidTriangularAxes);
    ta->orgX_ = 140; ta->orgY_ = 120; ta->length_ = 25;
    ta->pen_.reset(pen(c));
    ta->markLine1_.reset(solidLine(c, pen(c, 0xC0C0C0)));
    auto* tc = add<LgTriangularChart>(c, cidTriangularCharts);
    tc->triangularAxis_.reset(ta);
    auto* td = add<LgData>(c, cidDataCollection);
    setSlot(*td, 1, {1, 0.2, 0.3});
    setSlot(*td, 2, {0, 0.5, 0.3});
    setSlot(*td, 3, {0, 0.3, 0.4});
    tc->data_.reset(td);
    tc->entry(tc->symbols_, lgMarkerSymbol).reset(symbol(c, lgSymbolDiamond, 2, 2, 0x0000FF));
    tc->markerSymbolInterval_ = 1;
}

} // namespace

TEST(Scene, EveryKindDrawsWhereItBelongs)
{
    Control c(756, 567); // 200 x 150 mm
    buildScene(*c);
    PaintResult result;
    QImage image = render(*c, &result);
    if (const char* keep = std::getenv("LUMIGRA_KEEP_SCENE"))
        image.save(keep);
    EXPECT_EQ(result.overlay, LoopBudget::Overlay::None) << result.overlayText;
    const int h = image.height();
    // The y axis line runs up x = 13 mm.
    EXPECT_TRUE(dark(image.pixel(pixelOf(*c, 13, 55, h))));
    EXPECT_FALSE(dark(image.pixel(pixelOf(*c, 13, 55, h) + QPoint(2, 0))));
    // Both ends found from the data: x 0 ... 10 by the nice-scale rule.
    EXPECT_TRUE(dark(image.pixel(pixelOf(*c, 13, 10, h) + QPoint(0, 3)))); // mark below, at 0
    // The solid circle of the double circle is filled in cyan.
    EXPECT_EQ(image.pixel(pixelOf(*c, 150 - 2.2, 100, h)) & 0xFFFFFF, 0x00FFFFu);
    // The polygon is filled in magenta.
    EXPECT_EQ(image.pixel(pixelOf(*c, 160, 120, h)) & 0xFFFFFF, 0xFF00FFu);
    // Bars in the brush colour RGB(64, 128, 255).
    EXPECT_GT(countColour(image, 0x4080FF), 200);
    // The marker symbols (every fifth point inside the plot area) in green.
    EXPECT_GT(countColour(image, 0x00AA00, QRect(pixelOf(*c, 13, 90, h), pixelOf(*c, 133, 10, h))), 9 * 9);
    // The shadow lies behind the hatched box, offset to the lower right.
    EXPECT_EQ(image.pixel(pixelOf(*c, 190.7, 59.5, h)) & 0xFFFFFF, 0x808080u);
}
