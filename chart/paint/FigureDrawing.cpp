// Polygons (closed, filled) and polylines (open, in a line's pattern).
#include <cmath>

#include "kinds/Shapes.h"
#include "paint/DrawContext.h"
#include "paint/Drawers.h"
#include "paint/LineStroke.h"

namespace lumigra {

QPolygonF finitePoints(const PointList& list)
{
    QPolygonF out;
    const int32_t n = list.count();
    for (int32_t i = 0; i < n; ++i) {
        auto x = list.x.at(static_cast<size_t>(i)).toDouble();
        auto y = list.y.at(static_cast<size_t>(i)).toDouble();
        if (x && y && std::isfinite(*x) && std::isfinite(*y))
            out << QPointF(*x, *y);
    }
    return out;
}

void drawPolygon(const LgPolygon& polygon, DrawContext& ctx)
{
    if (!polygon.visible_)
        return;
    const QPolygonF points = finitePoints(polygon.points_);
    if (points.size() < 3)
        return;
    const DevicePen pen = ctx.pen(polygon.pen_.get());
    const DeviceBrush brush = ctx.brush(polygon.brush_.get());
    if (!pen.draws && !brush.fills)
        return;
    MixScope mix(ctx.painter, pen.mode);
    ctx.painter.setPen(pen.draws ? pen.pen : QPen(Qt::NoPen));
    ctx.painter.setBrush(brush.fills ? brush.brush : QBrush());
    ctx.painter.drawPolygon(points);
}

void drawPolyline(const LgPolyline& polyline, DrawContext& ctx)
{
    if (!polyline.visible_)
        return;
    const QPolygonF points = finitePoints(polyline.points_);
    LineStroke stroke(polyline.line_.get(), ctx);
    if (points.size() < 2 || !stroke.draws())
        return;
    stroke.moveTo(points.first());
    for (qsizetype i = 1; i < points.size(); ++i)
        stroke.lineTo(points[i]);
}

} // namespace lumigra
