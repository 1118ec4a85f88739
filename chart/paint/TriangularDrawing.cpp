// Triangular axes and charts. The axis is an equilateral triangle standing
// on its lower-left corner (OrgX, OrgY) with sides Length long; a point of a
// triangular chart has three shares (slots 1, 2, 3) of the corners
// lower-left, lower-right and top, normalised by their sum.
#include <cmath>
#include <limits>

#include "kinds/Axes.h"
#include "kinds/Charts.h"
#include "kinds/Data.h"
#include "kinds/Shapes.h"
#include "paint/DrawContext.h"
#include "paint/Drawers.h"
#include "paint/LineStroke.h"
#include "paint/TextDrawing.h"
#include "paint/TriangleGeometry.h"
#include "paint/XyChartDrawing.h"
#include "platform/Format.h"

namespace lumigra {

void drawTriangularAxis(LgTriangularAxis& axis, DrawContext& ctx)
{
    if (!axis.visible_ || !usableTriangle(axis))
        return;
    const Triangle t = triangleOf(axis);
    const QPolygonF shape{t.a, t.b, t.c};
    const DevicePen pen = ctx.pen(axis.pen_.get());
    const DeviceBrush brush = ctx.brush(axis.brush_.get());
    {
        MixScope mix(ctx.painter, pen.mode);
        ctx.painter.setPen(pen.draws ? pen.pen : QPen(Qt::NoPen));
        ctx.painter.setBrush(brush.fills ? brush.brush : QBrush());
        ctx.painter.drawPolygon(shape);
    }
    const double span = axis.maximum_ - axis.minimum_;
    const double step = std::isfinite(axis.markInterval_) && axis.markInterval_ > 0 ? axis.markInterval_ : span / 2;
    LineStroke grid(axis.markLine1_.get(), ctx);
    const DevicePen markPen = ctx.pen(axis.markPen1_.get());
    const DeviceFont font = ctx.font(axis.labelFont1_.get());
    // Each side carries the scale of one share; grid lines run parallel to
    // the side opposite the corner whose share is constant along them.
    const QPointF corners[3] = {t.a, t.b, t.c};
    for (double v = axis.minimum_ + step; v < axis.maximum_ - 1e-9 * span; v += step) {
        if (!ctx.budget.add(1))
            return;
        const double f = (v - axis.minimum_) / span;
        for (int k = 0; k < 3; ++k) {
            const QPointF& from = corners[k];
            const QPointF& next = corners[(k + 1) % 3];
            const QPointF& prev = corners[(k + 2) % 3];
            const QPointF p = next + f * (from - next); // on the side next -> from
            const QPointF q = prev + f * (from - prev); // on the side prev -> from
            if (grid.draws()) {
                grid.moveTo(p);
                grid.lineTo(q);
                grid.flush();
            }
            const QPointF side = from - next;
            const double len = std::hypot(side.x(), side.y());
            const QPointF out(side.y() / len, -side.x() / len); // outward normal of that side
            if (markPen.draws && axis.markLength_ != 0 && std::isfinite(axis.markLength_)) {
                MixScope mix(ctx.painter, markPen.mode);
                ctx.painter.setPen(markPen.pen);
                ctx.painter.drawLine(p, p + axis.markLength_ * out);
            }
            if (font.draws)
                drawText(ctx, font, QString::fromStdString(platform::Format(v, axis.labelFormat_)),
                         p + (std::fabs(axis.markLength_) + 0.5) * out, 0,
                         out.x() > 0.3 ? HAlign::Left : (out.x() < -0.3 ? HAlign::Right : HAlign::Centre),
                         out.y() > 0.3 ? VAlign::Bottom : (out.y() < -0.3 ? VAlign::Top : VAlign::Centre));
        }
    }
}

void drawTriangularChart(LgTriangularChart& chart, DrawContext& ctx)
{
    if (!chart.visible_)
        return;
    LgObject* area = chart.plotArea_.get();
    if (area && area->objectId() == lgxRectangle && !ctx.drawn(*area)) {
        drawRectangle(*static_cast<LgRectangle*>(area), ctx);
        ctx.markDrawn(*area);
    }
    const LgObject* a = chart.triangularAxis_.get();
    if (!a || a->objectId() != lgxTriangularAxis || !usableTriangle(*static_cast<const LgTriangularAxis*>(a)))
        return;
    const Triangle t = triangleOf(*static_cast<const LgTriangularAxis*>(a));
    auto series = readSeries(chart);
    LgData* data = chartData(chart);
    if (!series || !data)
        return;
    const auto third = slotValues(*data, 3, series->lower, series->x.size());
    std::vector<SeriesPoint> points(series->x.size());
    for (size_t i = 0; i < points.size(); ++i) {
        const double p = series->x[i], q = series->y[i], r = third[i];
        const double sum = p + q + r;
        const bool missing = !std::isfinite(sum) || sum == 0 || p < 0 || q < 0 || r < 0
            || (series->missingX && p == *series->missingX) || (series->missingY && q == *series->missingY);
        if (!missing)
            points[i] = SeriesPoint{(p * t.a + q * t.b + r * t.c) / sum, false};
    }
    constexpr double inf = std::numeric_limits<double>::infinity();
    drawSimpleChart(SimpleChart{chart, ctx, points, *series, PlotBounds{-inf, inf, -inf, inf}});
}

} // namespace lumigra
