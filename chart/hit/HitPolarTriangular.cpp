// Polar and triangular axes and charts by their bounding shapes: the sector
// an elliptic axis sweeps, the spoke of a straight one, the triangle of a
// triangular axis; a chart by its plot area, else by its axis.
#include <cmath>

#include "hit/HitKinds.h"
#include "kinds/Axes.h"
#include "kinds/Charts.h"
#include "kinds/Shapes.h"
#include "paint/TriangleGeometry.h"

namespace lumigra {

namespace {

// Corners of the arc of a sector; enough that the outline stays within a
// fraction of a pixel of the circle at usual sizes.
constexpr int kSectorSegments = 120;
constexpr double kFullTurn = 360;

QPointF direction(double degrees) { return QPointF(std::cos(degrees / 180 * M_PI), std::sin(degrees / 180 * M_PI)); }

const LgPolarAxis* asPolarAxis(const LgObject* o)
{
    return o && o->objectId() == lgxPolarAxis ? static_cast<const LgPolarAxis*>(o) : nullptr;
}

// A chart's plot area, when it has one.
bool plotAreaShape(const LgObject* o, HitShape& s)
{
    if (!o || o->objectId() != lgxRectangle)
        return false;
    const auto& area = *static_cast<const LgRectangle*>(o);
    QRectF box;
    if (finiteBox(area.orgX_, area.orgY_, area.width_, area.height_, box))
        s.addBox(box);
    return true;
}

bool usable(const LgPolarAxis& axis)
{
    return std::isfinite(axis.orgX_) && std::isfinite(axis.orgY_) && std::isfinite(axis.radius_) && axis.radius_ > 0
        && std::isfinite(axis.startAngle_) && std::isfinite(axis.endAngle_);
}

// The sector from the start to the end angle (a disc for a full turn).
QPolygonF sector(QPointF centre, double radius, double start, double end)
{
    QPolygonF out;
    const bool full = std::fabs(end - start) >= kFullTurn;
    if (!full)
        out << centre;
    const double span = full ? kFullTurn : end - start;
    for (int k = 0; k <= kSectorSegments; ++k)
        out << centre + radius * direction(start + span * k / kSectorSegments);
    return out;
}

} // namespace

HitShape polarAxisShape(const LgPolarAxis& axis)
{
    HitShape s;
    if (!axis.visible_ || !usable(axis))
        return s;
    const QPointF c(axis.orgX_, axis.orgY_);
    if (axis.type_ == lgPolarAxisElliptic)
        s.areas.push_back(sector(c, axis.radius_, axis.startAngle_, axis.endAngle_));
    else
        s.addStroke(c, c + axis.radius_ * direction(axis.startAngle_));
    return s;
}

HitShape polarChartShape(const LgPolarChart& chart)
{
    HitShape s;
    if (!chart.visible_ || plotAreaShape(chart.plotArea_.get(), s))
        return s;
    // The disc its values are placed in: the straight axis's radius about its origin.
    const LgPolarAxis* straight = asPolarAxis(chart.straightAxis_.get());
    if (straight && usable(*straight))
        s.areas.push_back(sector(QPointF(straight->orgX_, straight->orgY_), straight->radius_, 0, kFullTurn));
    return s;
}

HitShape triangularAxisShape(const LgTriangularAxis& axis)
{
    HitShape s;
    if (!axis.visible_ || !usableTriangle(axis))
        return s;
    const Triangle t = triangleOf(axis);
    s.areas.push_back(QPolygonF{t.a, t.b, t.c});
    return s;
}

HitShape triangularChartShape(const LgTriangularChart& chart)
{
    HitShape s;
    if (!chart.visible_ || plotAreaShape(chart.plotArea_.get(), s))
        return s;
    const LgObject* a = chart.triangularAxis_.get();
    if (a && a->objectId() == lgxTriangularAxis) {
        const auto& axis = *static_cast<const LgTriangularAxis*>(a);
        if (usableTriangle(axis)) {
            const Triangle t = triangleOf(axis);
            s.areas.push_back(QPolygonF{t.a, t.b, t.c});
        }
    }
    return s;
}

void movePolarAxis(LgPolarAxis& axis, double dx, double dy) { moveOrigin(axis, axis.orgX_, axis.orgY_, dx, dy); }

void moveTriangularAxis(LgTriangularAxis& axis, double dx, double dy)
{
    moveOrigin(axis, axis.orgX_, axis.orgY_, dx, dy);
}

void movePolarChart(LgPolarChart& chart, double dx, double dy)
{
    moveParts({&chart.plotArea_, &chart.ellipticAxis_, &chart.straightAxis_}, [&](LgObject& o) {
        if (o.objectId() == lgxRectangle)
            moveRectangle(static_cast<LgRectangle&>(o), dx, dy);
        else if (o.objectId() == lgxPolarAxis)
            movePolarAxis(static_cast<LgPolarAxis&>(o), dx, dy);
    });
}

void moveTriangularChart(LgTriangularChart& chart, double dx, double dy)
{
    moveParts({&chart.plotArea_, &chart.triangularAxis_}, [&](LgObject& o) {
        if (o.objectId() == lgxRectangle)
            moveRectangle(static_cast<LgRectangle&>(o), dx, dy);
        else if (o.objectId() == lgxTriangularAxis)
            moveTriangularAxis(static_cast<LgTriangularAxis&>(o), dx, dy);
    });
}

} // namespace lumigra
