#pragma once
// What the drawing of one XY chart works with: its placed points, plot
// area and the device tools of its tables.
#include <QRectF>

#include <vector>

#include "draw/SeriesPoints.h"
#include "paint/ChartSeries.h"

namespace lumigra {

class DrawContext;
class LgXyChart;
struct PreparedXyAxis;

struct XyChartFrame {
    LgXyChart& chart;
    DrawContext& ctx;
    PreparedXyAxis& xAxis;
    PreparedXyAxis& yAxis;
    ChartSeries series;
    std::vector<SeriesPoint> points;
    PlotBounds bounds;     // the plot area, or everything when there is none
    bool hasArea = false;
};

// The chart types other than the simple one (steps, bars, skews, vectors,
// bubbles, heaps); returns false for the simple type.
bool drawChartType(XyChartFrame& f);

class LgChart;

// Symbol of the chart's table drawn at a point in millimetres.
void drawTableSymbol(const LgChart& chart, DrawContext& ctx, int index, QPointF at);

// The line pass and symbol pass of any chart kind over its placed points.
struct SimpleChart {
    const LgChart& chart;
    DrawContext& ctx;
    const std::vector<SeriesPoint>& points;
    const ChartSeries& series;
    PlotBounds bounds;
};
void drawSimpleChart(const SimpleChart& f);

} // namespace lumigra
