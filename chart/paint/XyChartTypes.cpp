// Chart types beside the simple chart. Steps and skews are strokes of the
// graph line; bars and heaps are filled with the chart's first brush and
// outlined with the graph line's first pen; vectors are arrow lines;
// bubbles are circles in the graph symbol's pen and brush.
#include <algorithm>
#include <cmath>
#include <limits>

#include "kinds/Charts.h"
#include "kinds/Data.h"
#include "kinds/Strokes.h"
#include "paint/DrawContext.h"
#include "paint/Drawers.h"
#include "paint/LineStroke.h"
#include "paint/XyAxisScale.h"
#include "paint/XyChartDrawing.h"

namespace lumigra {

namespace {

constexpr double kDefaultBarWidth = 5.0; // millimetres, for a single bar
constexpr double kMinBarWidth = 0.2;

const LgObject* strokeLine(const LgXyChart& c)
{
    const LgObject* l = tableEntry(c.lines_, lgGraphLine);
    return l ? l : tableEntry(c.lines_, lgMarkerLine);
}

DevicePen outlinePen(XyChartFrame& f)
{
    const LgObject* l = strokeLine(f.chart);
    if (!l || l->objectId() != lgxLine)
        return {};
    return f.ctx.pen(static_cast<const LgLine*>(l)->pen1_.get());
}

void fillShape(XyChartFrame& f, const QPolygonF& shape)
{
    const DeviceBrush brush = f.ctx.brush(tableEntry(f.chart.brushes_, lgTopHeapBrush));
    const DevicePen pen = outlinePen(f);
    if (!brush.fills && !pen.draws)
        return;
    MixScope mix(f.ctx.painter, pen.mode);
    f.ctx.painter.setPen(pen.draws ? pen.pen : QPen(Qt::NoPen));
    f.ctx.painter.setBrush(brush.fills ? brush.brush : QBrush());
    f.ctx.painter.drawPolygon(shape);
}

// Position of the bar base along the value axis.
std::optional<double> basePosition(XyChartFrame& f, const PreparedXyAxis& axis)
{
    const AxisPlacement& pl = const_cast<PreparedXyAxis&>(axis).scale.placement();
    switch (f.chart.barBasePointSelection_) {
    case lgBarBaseMaximum: return pl.position(pl.hi());
    case lgBarBaseMiddle: {
        auto a = pl.position(pl.lo()), b = pl.position(pl.hi());
        if (a && b)
            return (*a + *b) / 2;
        return std::nullopt;
    }
    case lgBarBaseManual: {
        auto v = f.chart.barBasePoint_.toDouble();
        return v ? pl.position(*v) : std::nullopt;
    }
    default: return pl.position(pl.lo());
    }
}

void steps(XyChartFrame& f, bool horizontalFirst)
{
    LineStroke stroke(strokeLine(f.chart), f.ctx);
    const auto& p = f.points;
    walkSeries(p, [&](size_t first, size_t last) {
        stroke.moveTo(p[first].pos);
        for (size_t i = first + 1; i <= last; ++i) {
            const QPointF corner = horizontalFirst ? QPointF(p[i].pos.x(), p[i - 1].pos.y())
                                                   : QPointF(p[i - 1].pos.x(), p[i].pos.y());
            stroke.lineTo(corner);
            stroke.lineTo(p[i].pos);
        }
    }, [](size_t, size_t) {});
}

void bars(XyChartFrame& f, bool vertical)
{
    const auto base = basePosition(f, vertical ? f.yAxis : f.xAxis);
    if (!base)
        return;
    std::vector<double> along;
    for (const auto& p : f.points)
        if (!p.missing)
            along.push_back(vertical ? p.pos.x() : p.pos.y());
    std::sort(along.begin(), along.end());
    double gap = std::numeric_limits<double>::infinity();
    for (size_t i = 1; i < along.size(); ++i)
        if (along[i] > along[i - 1])
            gap = std::min(gap, along[i] - along[i - 1]);
    const double width = std::isfinite(gap) ? std::max(kMinBarWidth, 0.8 * gap) : kDefaultBarWidth;
    const double offset = f.chart.symbolLocation_ == lgSymbolLocationLeft ? -width / 2
        : f.chart.symbolLocation_ == lgSymbolLocationRight               ? width / 2
                                                                          : 0;
    for (const auto& p : f.points) {
        if (p.missing)
            continue;
        const QRectF bar = vertical ? QRectF(QPointF(p.pos.x() - width / 2, *base), QPointF(p.pos.x() + width / 2, p.pos.y()))
                                    : QRectF(QPointF(*base, p.pos.y() - width / 2), QPointF(p.pos.x(), p.pos.y() + width / 2));
        fillShape(f, QPolygonF(bar.normalized()));
        drawTableSymbol(f.chart, f.ctx, lgGraphSymbol, vertical ? p.pos + QPointF(offset, 0) : p.pos + QPointF(0, offset));
    }
}

void skews(XyChartFrame& f, bool horizontal)
{
    const auto base = basePosition(f, horizontal ? f.xAxis : f.yAxis);
    LineStroke stroke(strokeLine(f.chart), f.ctx);
    if (!base)
        return;
    for (const auto& p : f.points) {
        if (p.missing)
            continue;
        stroke.moveTo(horizontal ? QPointF(*base, p.pos.y()) : QPointF(p.pos.x(), *base));
        stroke.lineTo(p.pos);
    }
}

void vectors(XyChartFrame& f, LgData& data)
{
    const size_t n = f.points.size();
    const auto dx = slotValues(data, lgIndexVectorDX, f.series.lower, n);
    const auto dy = slotValues(data, lgIndexVectorDY, f.series.lower, n);
    const LgObject* arrow = f.chart.symbolLine_.get();
    for (size_t i = 0; i < n; ++i) {
        if (f.points[i].missing)
            continue;
        auto tx = f.xAxis.position(f.series.x[i] + dx[i]);
        auto ty = f.yAxis.position(f.series.y[i] + dy[i]);
        if (!tx || !ty)
            continue;
        const QPointF to(*tx, *ty);
        if (arrow && arrow->objectId() == lgxSymbolLine) {
            drawSymbolLineBetween(*static_cast<const LgSymbolLine*>(arrow), f.ctx, f.points[i].pos, to);
        } else {
            LineStroke stroke(strokeLine(f.chart), f.ctx);
            stroke.moveTo(f.points[i].pos);
            stroke.lineTo(to);
        }
    }
}

void bubbles(XyChartFrame& f, LgData& data)
{
    const size_t n = f.points.size();
    const auto m = slotValues(data, lgIndexMagnitude, f.series.lower, n);
    double largest = 0;
    for (size_t i = 0; i < n; ++i)
        if (!f.points[i].missing && std::isfinite(m[i]))
            largest = std::max(largest, std::fabs(m[i]));
    if (!(largest > 0))
        return;
    const LgObject* o = tableEntry(f.chart.symbols_, lgGraphSymbol);
    const LgSymbol* symbol = o && o->objectId() == lgxSymbol ? static_cast<const LgSymbol*>(o) : nullptr;
    // The largest bubble is as wide as the graph symbol (10 mm without one).
    const double rmax = symbol && symbol->width_ > 0 ? symbol->width_ / 2 : 5.0;
    const DevicePen pen = symbol ? f.ctx.pen(symbol->pen_.get()) : outlinePen(f);
    const DeviceBrush brush = f.ctx.brush(symbol ? symbol->brush_.get() : tableEntry(f.chart.brushes_, 0));
    MixScope mix(f.ctx.painter, pen.mode);
    f.ctx.painter.setPen(pen.draws ? pen.pen : QPen(Qt::NoPen));
    f.ctx.painter.setBrush(brush.fills ? brush.brush : QBrush());
    for (size_t i = 0; i < n; ++i) {
        if (f.points[i].missing || !std::isfinite(m[i]))
            continue;
        const double ratio = std::fabs(m[i]) / largest;
        const double r = rmax * (f.chart.bubbleScale_ == lgBubbleScaleArea ? std::sqrt(ratio) : ratio);
        f.ctx.painter.drawEllipse(f.points[i].pos, r, r);
    }
}

// Heaps: each further slot is the top of one more layer over the one below.
void heaps(XyChartFrame& f, LgData& data, bool vertical)
{
    const size_t n = f.points.size();
    const auto base = basePosition(f, vertical ? f.yAxis : f.xAxis);
    if (!base)
        return;
    std::vector<int32_t> layers{vertical ? lgIndexDataY : lgIndexDataX};
    for (int32_t s = 3; s <= data.dataSize(); ++s)
        layers.push_back(s);
    std::vector<QPointF> below;
    std::vector<bool> belowOk(n, true);
    for (size_t i = 0; i < n; ++i)
        below.push_back(vertical ? QPointF(f.points[i].pos.x(), *base) : QPointF(*base, f.points[i].pos.y()));
    std::vector<QPointF> top(n);
    std::vector<bool> topOk(n, false);
    for (int32_t slot : layers) {
        const auto values = slotValues(data, slot, f.series.lower, n);
        for (size_t i = 0; i < n; ++i) {
            auto a = vertical ? f.xAxis.position(f.series.x[i]) : f.xAxis.position(values[i]);
            auto b = vertical ? f.yAxis.position(values[i]) : f.yAxis.position(f.series.y[i]);
            topOk[i] = a && b;
            if (topOk[i])
                top[i] = QPointF(*a, *b);
        }
        QPolygonF shape;
        for (size_t i = 0; i < n; ++i)
            if (topOk[i] && belowOk[i])
                shape << top[i];
        for (size_t i = n; i-- > 0;)
            if (topOk[i] && belowOk[i])
                shape << below[i];
        if (shape.size() >= 3)
            fillShape(f, shape);
        below = top;
        belowOk = topOk;
    }
    LineStroke stroke(tableEntry(f.chart.lines_, lgTopHeapLine), f.ctx);
    bool open = false;
    for (size_t i = 0; i < n; ++i) {
        if (!topOk[i]) {
            open = false;
            continue;
        }
        open ? stroke.lineTo(top[i]) : stroke.moveTo(top[i]);
        open = true;
        drawTableSymbol(f.chart, f.ctx, lgTopHeapSymbol, top[i]);
    }
}

} // namespace

bool drawChartType(XyChartFrame& f)
{
    LgData* data = chartData(f.chart);
    switch (f.chart.type_) {
    case lgChartXStep: steps(f, true); return true;
    case lgChartYStep: steps(f, false); return true;
    case lgChartHBar: bars(f, false); return true;
    case lgChartVBar: bars(f, true); return true;
    case lgChartXSkew: skews(f, true); return true;
    case lgChartYSkew: skews(f, false); return true;
    case lgChartVector: if (data) vectors(f, *data); return true;
    case lgChartBubble: if (data) bubbles(f, *data); return true;
    case lgChartXHeap: if (data) heaps(f, *data, false); return true;
    case lgChartYHeap: if (data) heaps(f, *data, true); return true;
    default: return false;
    }
}

} // namespace lumigra
