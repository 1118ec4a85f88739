#include "draw/SeriesPoints.h"

#include <algorithm>
#include <cmath>

namespace lumigra {

namespace {

bool isMissing(double v, const std::optional<double>& missing)
{
    return !std::isfinite(v) || (missing && v == *missing);
}

} // namespace

std::vector<SeriesPoint> placeSeries(const SeriesInput& input, const AxisPlacement& xAxis, const AxisPlacement& yAxis)
{
    std::vector<SeriesPoint> points;
    placeSeries(input, xAxis, yAxis, points);
    return points;
}

void placeSeries(const SeriesInput& input, const AxisPlacement& xAxis, const AxisPlacement& yAxis,
                 std::vector<SeriesPoint>& points)
{
    const std::size_t n = std::min(input.x.size(), input.y.size());
    points.assign(n, SeriesPoint{});
    for (std::size_t i = 0; i < n; ++i) {
        const double x = input.x[i];
        const double y = input.y[i];
        if (isMissing(x, input.missingX) || isMissing(y, input.missingY))
            continue;
        const auto px = xAxis.position(x);
        const auto py = yAxis.position(y);
        if (!px || !py)
            continue;
        points[i].pos = QPointF(*px, *py);
        points[i].missing = false;
    }
}

void walkSeries(std::span<const SeriesPoint> points, const std::function<void(std::size_t, std::size_t)>& run,
                const std::function<void(std::size_t, std::size_t)>& gap)
{
    std::size_t i = 0;
    std::optional<std::size_t> lastPresent;
    while (i < points.size()) {
        if (points[i].missing) {
            ++i;
            continue;
        }
        const std::size_t first = i;
        while (i + 1 < points.size() && !points[i + 1].missing)
            ++i;
        if (lastPresent && *lastPresent + 1 < first && gap)
            gap(*lastPresent, first);
        if (run)
            run(first, i);
        lastPresent = i;
        ++i;
    }
}

bool PlotBounds::contains(QPointF p) const
{
    return p.x() >= std::min(left, right) && p.x() <= std::max(left, right) && p.y() >= std::min(bottom, top)
        && p.y() <= std::max(bottom, top);
}

std::vector<SymbolChoice> chooseSymbols(std::span<const SeriesPoint> points, const PlotBounds& area,
                                        int markerInterval)
{
    std::vector<SymbolChoice> choices;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (points[i].missing || !area.contains(points[i].pos))
            continue;
        SymbolChoice c;
        c.index = i;
        const bool leftMissing = i == 0 || points[i - 1].missing;
        const bool rightMissing = i + 1 >= points.size() || points[i + 1].missing;
        c.isolated = leftMissing && rightMissing;
        c.marker = markerInterval > 0 && i % static_cast<std::size_t>(markerInterval) == 0;
        choices.push_back(c);
    }
    return choices;
}

} // namespace lumigra
