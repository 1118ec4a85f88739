#include "axis/AxisPlacement.h"
#include "axis/AxisTransform.h"
#include "draw/SeriesPoints.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

using namespace lumigra;

namespace {

std::string describeWalk(const std::vector<SeriesPoint>& points)
{
    std::string out;
    walkSeries(
        points, [&](std::size_t a, std::size_t b) { out += "run " + std::to_string(a) + "-" + std::to_string(b) + ";"; },
        [&](std::size_t a, std::size_t b) { out += "gap " + std::to_string(a) + "-" + std::to_string(b) + ";"; });
    return out;
}

} // namespace

TEST(SeriesPoints, MissingAndUnplaceableValues)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    LinearTransform linear;
    Log10Transform log;
    AxisPlacement xAxis(linear, {10, 100, false});
    AxisPlacement yAxis(log, {20, 60, false});
    ASSERT_TRUE(xAxis.setEnds(0, 10));
    ASSERT_TRUE(yAxis.setEnds(1, 1000));

    const std::vector<double> x{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, nan};
    const std::vector<double> y{1, 10, -99, 100, nan, 1000, -5, inf, 10, 10, 10, 10};
    const SeriesInput input{x, y, std::nullopt, -99.0};
    const std::vector<SeriesPoint> points = placeSeries(input, xAxis, yAxis);
    ASSERT_EQ(points.size(), 11u);
    const std::vector<bool> missing{false, false, true, false, true, false, true, true, false, false, true};
    for (std::size_t i = 0; i < points.size(); ++i)
        EXPECT_EQ(points[i].missing, missing[i]) << "point " << i;
    EXPECT_EQ(points[1].pos, QPointF(20, 40));
    EXPECT_EQ(points[5].pos, QPointF(60, 80));

    EXPECT_EQ(describeWalk(points), "run 0-1;gap 1-3;run 3-3;gap 3-5;run 5-5;gap 5-8;run 8-9;");

    // Points 3 and 5 stand alone; the marker interval counts from the first index.
    const PlotBounds area{10, 110, 20, 80};
    const std::vector<SymbolChoice> symbols = chooseSymbols(points, area, 3);
    ASSERT_EQ(symbols.size(), 6u);
    EXPECT_EQ(symbols[2].index, 3u);
    EXPECT_TRUE(symbols[2].isolated);
    EXPECT_TRUE(symbols[2].marker);
    EXPECT_TRUE(symbols[3].isolated);   // point 5 at the top edge, still inside
    EXPECT_FALSE(symbols[0].isolated);
    EXPECT_TRUE(symbols[0].marker);
    EXPECT_TRUE(symbols[5].marker);     // point 9
    EXPECT_FALSE(symbols[4].marker);    // point 8

    // A plot area given upside down still contains the same points; a
    // smaller one drops those outside.
    EXPECT_EQ(chooseSymbols(points, PlotBounds{110, 10, 80, 20}, 0).size(), 6u);
    EXPECT_EQ(chooseSymbols(points, PlotBounds{10, 110, 20, 79}, 0).size(), 5u);
}

TEST(SeriesPoints, EmptyAndAllMissing)
{
    LinearTransform linear;
    AxisPlacement axis(linear, {0, 10, false});
    ASSERT_TRUE(axis.setEnds(0, 1));
    EXPECT_TRUE(placeSeries(SeriesInput{}, axis, axis).empty());

    const std::vector<double> v{5, 5, 5};
    const auto allMissing = placeSeries(SeriesInput{v, v, 5.0, std::nullopt}, axis, axis);
    EXPECT_EQ(describeWalk(allMissing), "");
    EXPECT_TRUE(chooseSymbols(allMissing, PlotBounds{0, 10, 0, 10}, 1).empty());

    // A single point is a run of one and isolated; an undrawable axis places nothing.
    const std::vector<double> one{0.5};
    const auto single = placeSeries(SeriesInput{one, one, std::nullopt, std::nullopt}, axis, axis);
    EXPECT_EQ(describeWalk(single), "run 0-0;");
    EXPECT_TRUE(chooseSymbols(single, PlotBounds{0, 10, 0, 10}, 0)[0].isolated);
    AxisPlacement flat(linear, {0, 10, false});
    flat.setEnds(1, 1);
    EXPECT_TRUE(placeSeries(SeriesInput{one, one, std::nullopt, std::nullopt}, flat, axis)[0].missing);
}
