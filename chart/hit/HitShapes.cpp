// Rectangles, polygons and polylines.
#include <cmath>

#include "hit/HitKinds.h"
#include "kinds/Shapes.h"
#include "kinds/Strokes.h"
#include "paint/Drawers.h"

namespace lumigra {

bool finiteBox(double x, double y, double w, double h, QRectF& box)
{
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(w) || !std::isfinite(h))
        return false;
    box = QRectF(x, y, w, h).normalized();
    return true;
}

HitShape rectangleShape(const LgRectangle& r)
{
    HitShape s;
    QRectF box;
    if (r.visible_ && finiteBox(r.orgX_, r.orgY_, r.width_, r.height_, box))
        s.addBox(box);
    return s;
}

HitShape polygonShape(const LgPolygon& polygon)
{
    HitShape s;
    if (!polygon.visible_)
        return s;
    const QPolygonF points = finitePoints(polygon.points_);
    if (points.size() >= 3)
        s.areas.push_back(points);
    return s;
}

HitShape polylineShape(const LgPolyline& polyline)
{
    HitShape s;
    const LgObject* line = polyline.line_.get();
    if (!polyline.visible_ || !line || line->objectId() != lgxLine || !static_cast<const LgLine*>(line)->visible_)
        return s;
    const QPolygonF points = finitePoints(polyline.points_);
    if (points.size() >= 2)
        s.strokes.push_back(points);
    return s;
}

void moveRectangle(LgRectangle& r, double dx, double dy) { moveOrigin(r, r.orgX_, r.orgY_, dx, dy); }

void movePoints(LgObject& owner, PointList& points, double dx, double dy)
{
    const int32_t n = points.count();
    for (int32_t i = 0; i < n; ++i) {
        const auto k = static_cast<size_t>(i);
        if (auto x = points.x.at(k).toDouble(); x && std::isfinite(*x))
            points.x.at(k) = Variant::fromR8(*x + dx);
        if (auto y = points.y.at(k).toDouble(); y && std::isfinite(*y))
            points.y.at(k) = Variant::fromR8(*y + dy);
    }
    owner.changed();
}

} // namespace lumigra
