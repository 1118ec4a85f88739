// The simple XY chart: plot area, line pass (graph line, marker line,
// missing-period line) and symbol pass (isolated, marker and singular
// points), data labels, clipped to the plot area.
#include "paint/XyChartDrawing.h"

#include <cmath>
#include <limits>

#include "kinds/Axes.h"
#include "kinds/Charts.h"
#include "kinds/Data.h"
#include "kinds/Shapes.h"
#include "kinds/Strokes.h"
#include "paint/DrawContext.h"
#include "paint/Drawers.h"
#include "paint/LineStroke.h"
#include "paint/TextDrawing.h"
#include "paint/XyAxisScale.h"

namespace lumigra {

namespace {

LgXyAxis* asAxis(LgObject* o) { return o && o->objectId() == lgxXyAxis ? static_cast<LgXyAxis*>(o) : nullptr; }

void linePass(const SimpleChart& f)
{
    const auto& pts = f.points;
    LineStroke graph(tableEntry(f.chart.lines_, lgGraphLine), f.ctx);
    LineStroke gaps(tableEntry(f.chart.lines_, lgMissingPeriod), f.ctx);
    if (graph.draws() || gaps.draws())
        walkSeries(
            pts,
            [&](size_t first, size_t last) {
                if (!graph.draws() || first == last)
                    return;
                graph.moveTo(pts[first].pos);
                for (size_t i = first + 1; i <= last; ++i)
                    graph.lineTo(pts[i].pos);
            },
            [&](size_t before, size_t after) {
                if (!gaps.draws())
                    return;
                gaps.moveTo(pts[before].pos);
                gaps.lineTo(pts[after].pos);
            });
    graph.flush();
    gaps.flush();
    // The marker line joins the points the marker interval selects.
    const int n = f.chart.markerSymbolInterval_;
    LineStroke marker(tableEntry(f.chart.lines_, lgMarkerLine), f.ctx);
    if (n <= 0 || !marker.draws())
        return;
    bool open = false;
    for (size_t i = 0; i < pts.size(); i += static_cast<size_t>(n)) {
        if (pts[i].missing) {
            open = false;
            continue;
        }
        if (open)
            marker.lineTo(pts[i].pos);
        else
            marker.moveTo(pts[i].pos);
        open = true;
    }
}

bool singular(const LgChart& c, double x, double y)
{
    auto ref = c.singularValue_.toDouble();
    if (c.singularCriterion_ == lgSingularNone || !ref)
        return false;
    const double v = c.singularIndex_ == lgSingularX ? x : y;
    switch (c.singularCriterion_) {
    case lgSingularLess: return v < *ref;
    case lgSingularLessEqual: return v <= *ref;
    case lgSingularEqual: return v == *ref;
    case lgSingularGreaterEqual: return v >= *ref;
    case lgSingularGreater: return v > *ref;
    default: return false;
    }
}

// Whether any of the symbols the symbol pass may draw would show.
bool drawsSymbols(const LgChart& chart)
{
    for (int index : {lgIsolatedPoint, lgGraphSymbol, lgMarkerSymbol, lgSingularPoint}) {
        const LgObject* o = tableEntry(chart.symbols_, index);
        if (o && o->objectId() == lgxSymbol && static_cast<const LgSymbol*>(o)->visible_)
            return true;
    }
    return false;
}

void symbolPass(const SimpleChart& f)
{
    if (!drawsSymbols(f.chart))
        return;
    const auto choices = chooseSymbols(f.points, f.bounds, f.chart.markerSymbolInterval_);
    const bool hasIsolated = tableEntry(f.chart.symbols_, lgIsolatedPoint) != nullptr;
    for (const SymbolChoice& c : choices) {
        const QPointF at = f.points[c.index].pos;
        if (c.isolated)
            drawTableSymbol(f.chart, f.ctx, hasIsolated ? lgIsolatedPoint : lgGraphSymbol, at);
        if (c.marker)
            drawTableSymbol(f.chart, f.ctx, lgMarkerSymbol, at);
        if (singular(f.chart, f.series.x[c.index], f.series.y[c.index]))
            drawTableSymbol(f.chart, f.ctx, lgSingularPoint, at);
    }
}

void dataLabels(XyChartFrame& f)
{
    const int n = f.chart.dataLabelInterval_;
    LgData* data = chartData(f.chart);
    if (n <= 0 || !data || data->dataSize() < 0 || !data->slots_[0].array.isArray())
        return;
    const DeviceFont font = f.ctx.font(f.chart.dataLabelFont_.get());
    if (!font.draws)
        return;
    const auto& texts = data->slots_[0].array;
    const HAlign h = f.chart.dataLabelAlignX_ == lgDataLabelAlignRight
        ? HAlign::Right
        : (f.chart.dataLabelAlignX_ == lgDataLabelAlignCenter ? HAlign::Centre : HAlign::Left);
    const VAlign v = f.chart.dataLabelAlignY_ == lgDataLabelAlignTop ? VAlign::Top : VAlign::Bottom;
    const QPointF offset(f.chart.dataLabelOffsetX_, f.chart.dataLabelOffsetY_);
    for (size_t i = 0; i < f.points.size(); i += static_cast<size_t>(n)) {
        const SeriesPoint& p = f.points[i];
        if (p.missing || !f.bounds.contains(p.pos))
            continue;
        const auto* e = texts.element(static_cast<int64_t>(f.series.lower) + static_cast<int64_t>(i));
        if (!e)
            continue;
        QPointF at = p.pos;
        if (f.chart.dataLabelLocation_ == lgDataLabelOnXAxis)
            at.setY(f.xAxis.horizontal ? asAxis(f.chart.xAxis_.get())->orgY_ : at.y());
        else if (f.chart.dataLabelLocation_ == lgDataLabelOnYAxis)
            at.setX(!f.yAxis.horizontal ? asAxis(f.chart.yAxis_.get())->orgX_ : at.x());
        drawText(f.ctx, font, QString::fromStdString(e->deref().toText().value_or("")), at + offset,
                 f.chart.dataLabelAngle_, h, v);
    }
}

} // namespace

void drawTableSymbol(const LgChart& chart, DrawContext& ctx, int index, QPointF at)
{
    const LgObject* o = tableEntry(chart.symbols_, index);
    if (!o || o->objectId() != lgxSymbol)
        return;
    const auto& s = *static_cast<const LgSymbol*>(o);
    drawSymbolAt(s, ctx, at, s.width_, s.height_);
}

void drawSimpleChart(const SimpleChart& f)
{
    if (f.chart.lineFirst_) {
        linePass(f);
        symbolPass(f);
    } else {
        symbolPass(f);
        linePass(f);
    }
}

namespace {

// The series and its places from the last chart drawn on this thread, kept:
// a repaint of a long spectrum reuses their pages rather than have the
// system hand out (and fault in) fresh ones each time.
struct KeptSeries {
    ChartSeries series;
    std::vector<SeriesPoint> points;
};

KeptSeries& keptSeries()
{
    thread_local KeptSeries kept;
    return kept;
}

// Lends the kept buffers to a frame and takes them back when it ends.
class SeriesLoan {
public:
    explicit SeriesLoan(XyChartFrame& f) : f_(f)
    {
        f_.series = std::move(keptSeries().series);
        f_.points = std::move(keptSeries().points);
    }
    ~SeriesLoan()
    {
        keptSeries().series = std::move(f_.series);
        keptSeries().points = std::move(f_.points);
    }
    SeriesLoan(const SeriesLoan&) = delete;
    SeriesLoan& operator=(const SeriesLoan&) = delete;

private:
    XyChartFrame& f_;
};

} // namespace

void drawXyChart(LgXyChart& chart, DrawContext& ctx)
{
    if (!chart.visible_)
        return;
    LgXyAxis* xa = asAxis(chart.xAxis_.get());
    LgXyAxis* ya = asAxis(chart.yAxis_.get());
    LgObject* areaObject = chart.plotArea_.get();
    const LgRectangle* area =
        areaObject && areaObject->objectId() == lgxRectangle ? static_cast<LgRectangle*>(areaObject) : nullptr;
    // The plot area belongs to the chart (to the first of charts sharing it).
    if (area && !ctx.drawn(*area)) {
        drawRectangle(*area, ctx);
        ctx.markDrawn(*areaObject);
    }
    if (!xa || !ya)
        return;
    PreparedXyAxis& px = ctx.xyAxis(*xa);
    PreparedXyAxis& py = ctx.xyAxis(*ya);
    if (!px.drawable() || !py.drawable())
        return;
    XyChartFrame f{chart, ctx, px, py, {}, {}, {}, false};
    SeriesLoan loan(f);
    if (!readSeries(chart, f.series))
        return;
    placeSeries(SeriesInput{f.series.x, f.series.y, f.series.missingX, f.series.missingY}, px.scale.placement(),
                py.scale.placement(), f.points);
    constexpr double inf = std::numeric_limits<double>::infinity();
    f.bounds = PlotBounds{-inf, inf, -inf, inf};
    if (area) {
        const QRectF box = QRectF(area->orgX_, area->orgY_, area->width_, area->height_).normalized();
        f.bounds = PlotBounds{box.left(), box.right(), box.top(), box.bottom()};
        f.hasArea = true;
        if (chart.clip_)
            ctx.painter.setClipRect(box, Qt::IntersectClip);
    }
    const bool typed = chart.type_ != lgChartSimple && drawChartType(f);
    if (typed && !chart.drawSimpleChart_)
        return;
    drawSimpleChart(SimpleChart{chart, ctx, f.points, f.series, f.bounds});
    dataLabels(f);
}

} // namespace lumigra
