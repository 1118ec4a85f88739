#pragma once

#include "axis/AxisPlacement.h"

#include <QPointF>

#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace lumigra {

// The X and Y arrays of a chart (slots 1 and 2, same indices) and their
// missing values.
struct SeriesInput {
    std::span<const double> x;
    std::span<const double> y;
    std::optional<double> missingX;
    std::optional<double> missingY;
};

struct SeriesPoint {
    QPointF pos;          // millimetres on the drawing surface
    bool missing = true;  // missing value, not finite, or not placeable
};

// Places each point by the chart's two axes (the horizontal one gives x).
// The result has one entry per index of the shorter array.
std::vector<SeriesPoint> placeSeries(const SeriesInput& input, const AxisPlacement& xAxis, const AxisPlacement& yAxis);
// The same into `points`, whose storage is reused.
void placeSeries(const SeriesInput& input, const AxisPlacement& xAxis, const AxisPlacement& yAxis,
                 std::vector<SeriesPoint>& points);

// Line pass: calls run(first, last) for every stretch of consecutive
// present points (single points included, first == last), and gap(before,
// after) for every stretch of missing points between two present ones.
void walkSeries(std::span<const SeriesPoint> points, const std::function<void(std::size_t, std::size_t)>& run,
                const std::function<void(std::size_t, std::size_t)>& gap);

// Symbol pass: which symbol a present point inside the plot area gets.
struct SymbolChoice {
    std::size_t index = 0;
    bool isolated = false; // both neighbours missing or absent
    bool marker = false;   // selected by the marker interval
};

// The plot area as left/right and bottom/top edges (either order).
struct PlotBounds {
    double left = 0;
    double right = 0;
    double bottom = 0;
    double top = 0;
    bool contains(QPointF p) const;
};

// markerInterval n > 0 selects points 0, n, 2n, … counted from the first index.
std::vector<SymbolChoice> chooseSymbols(std::span<const SeriesPoint> points, const PlotBounds& area,
                                        int markerInterval);

} // namespace lumigra
