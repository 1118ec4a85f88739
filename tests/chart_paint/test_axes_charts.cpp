// Axes and charts at the control: ends found from every chart and read
// back, placement, probability snapping, the line and symbol passes.
#include <gtest/gtest.h>

#include <cmath>

#include "Scene.h"
#include "paint/XyAxisScale.h"

using namespace scene;
using platform::com::VT_R8;

TEST(AxesCharts, TwoChartsShareAnAxisAndTheFoundEndsAreReadBack)
{
    Control c;
    PlotChart p = plotWindowChart(*c, {0.5, 2, 5}, {1, 2, 3});
    auto* other = add<LgXyChart>(*c, cidXyCharts);
    other->xAxis_.reset(p.x);
    other->yAxis_.reset(p.y);
    auto* d = add<LgData>(*c, cidDataCollection);
    setSlot(*d, 1, {3, 9.2});
    setSlot(*d, 2, {1, 2});
    other->data_.reset(d);
    add<LgXyChart>(*c, cidXyCharts)->xAxis_.reset(p.x); // no data set: contributes nothing
    render(*c);
    ASSERT_EQ(p.x->minimum_.vt(), VT_R8);
    ASSERT_EQ(p.x->maximum_.vt(), VT_R8);
    EXPECT_EQ(p.x->minimum_.r8(), 0.0);
    EXPECT_EQ(p.x->maximum_.r8(), 10.0);
    // Marks every 2 from 0 to 10 across 120 mm: 24 mm apart.
    EXPECT_EQ(*xyPlotPosition(*c, *p.x, 2), 13 + 24.0);
    EXPECT_EQ(p.y->minimum_.r8(), 1.0);
    EXPECT_EQ(p.y->maximum_.r8(), 3.0);
}

TEST(AxesCharts, ReverseAndProbabilitySnapping)
{
    Control c;
    PlotChart p = plotWindowChart(*c, {0.02, 0.5, 0.97}, {1, 2, 3});
    LgXyAxis& x = *p.x;
    x.orgX_ = 20;
    x.length_ = 100;
    x.minimumSelection_ = x.maximumSelection_ = lgSelectionManual;
    x.minimum_ = platform::com::Variant::fromR8(0);
    x.maximum_ = platform::com::Variant::fromR8(1);
    x.reverse_ = true;
    EXPECT_DOUBLE_EQ(*xyPlotPosition(*c, x, 0), 120);
    EXPECT_DOUBLE_EQ(*xyPlotPosition(*c, x, 1), 20);
    x.reverse_ = false;
    x.style_ = lgXyAxisNumericNormal;
    x.minimumSelection_ = x.maximumSelection_ = lgSelectionAutomatic;
    // Data 0.02 ... 0.97 spans 0.01 ... 0.99 of the probability table.
    EXPECT_NEAR(*xyPlotPosition(*c, x, 0.01), 20, 1e-9);
    EXPECT_NEAR(*xyPlotPosition(*c, x, 0.99), 120, 1e-9);
    EXPECT_NEAR(*xyPlotPosition(*c, x, 0.5), 70, 1e-9);
    EXPECT_FALSE(xyPlotPosition(*c, x, 0).has_value());
}

TEST(AxesCharts, LinePassSkipsMissingPointsAndSymbolsStayInThePlotArea)
{
    Control c(600, 450);
    PlotChart p = plotWindowChart(*c, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, {5, 5, 5, -1, 5, 5, 5, 5, 5, 5, 5});
    p.data->slot(2).missing = platform::com::Variant::fromR8(-1);
    p.y->minimumSelection_ = p.y->maximumSelection_ = lgSelectionManual;
    p.y->minimum_ = platform::com::Variant::fromR8(0);
    p.y->maximum_ = platform::com::Variant::fromR8(10);
    p.x->maximumSelection_ = lgSelectionManual;
    p.x->maximum_ = platform::com::Variant::fromR8(8); // points 9 and 10 lie outside
    auto* box = add<LgSymbol>(*c, cidSymbols);
    box->style_ = lgSymbolBox1;
    box->width_ = box->height_ = 2;
    box->brush_.reset(solidBrush(*c, 0x00FF00));
    p.chart->entry(p.chart->symbols_, lgMarkerSymbol).reset(box);
    QImage image = render(*c);
    const int h = image.height();
    auto at = [&](double v) { return 13 + v * 15; }; // x value to mm
    // The line runs at y 50 mm from 0 to 2 and from 4 on, not across the gap.
    EXPECT_TRUE(dark(image.pixel(pixelOf(*c, at(1.5), 50, h))));
    EXPECT_FALSE(dark(image.pixel(pixelOf(*c, at(3), 50, h))));
    EXPECT_TRUE(dark(image.pixel(pixelOf(*c, at(6.5), 50, h))));
    // Clipped at the plot area's right edge.
    EXPECT_FALSE(dark(image.pixel(pixelOf(*c, at(8.5), 50, h))));
    // A green box at every point inside, none at 9 and 10.
    const int inside = countColour(image, 0x00FF00);
    EXPECT_GT(inside, 8 * 30);
    EXPECT_EQ(countColour(image, 0x00FF00, QRect(pixelOf(*c, at(8) + 1.5, 60, h), pixelOf(*c, 155, 40, h))), 0);
    // LineFirst: the box lies over the line at a point.
    EXPECT_EQ(image.pixel(pixelOf(*c, at(5) + 0.3, 50, h)) & 0xFFFFFF, 0x00FF00u);
    p.chart->lineFirst_ = false;
    image = render(*c);
    EXPECT_TRUE(dark(image.pixel(pixelOf(*c, at(5) + 0.3, 50, h))));
}
