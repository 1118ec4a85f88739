#pragma once
// Each drawable kind's outline for the pointer and its move by (dx, dy)
// millimetres, one family per file. Shapes follow what the drawing draws:
// a hidden object or one without usable geometry gives an empty shape.
#include <cmath>
#include <initializer_list>
#include <set>

#include "hit/HitShape.h"
#include "model/Object.h"

namespace lumigra {

class LgLabel;
class LgLegend;
class LgLine;
class LgPolarAxis;
class LgPolarChart;
class LgPolygon;
class LgPolyline;
class LgRectangle;
class LgSymbol;
class LgSymbolLine;
class LgTriangularAxis;
class LgTriangularChart;
class LgXyAxis;
class LgXyChart;
struct PointList;

// Rectangles, polygons, polylines.
HitShape rectangleShape(const LgRectangle& rectangle);
HitShape polygonShape(const LgPolygon& polygon);
HitShape polylineShape(const LgPolyline& polyline);
void moveRectangle(LgRectangle& rectangle, double dx, double dy);
void movePoints(LgObject& owner, PointList& points, double dx, double dy);

// Lines, symbols, arrow lines.
HitShape lineShape(const LgLine& line);
HitShape symbolShape(const LgSymbol& symbol);
HitShape symbolLineShape(const LgSymbolLine& arrow);
void moveLine(LgLine& line, double dx, double dy);
void moveSymbol(LgSymbol& symbol, double dx, double dy);
void moveSymbolLine(LgSymbolLine& arrow, double dx, double dy);

// Labels (by their measured extent on the device) and legends (by their area).
HitShape labelShape(const LgLabel& label, const DeviceUnits& units);
HitShape legendShape(const LgLegend& legend);
void moveLabel(LgLabel& label, double dx, double dy);
void moveLegend(LgLegend& legend, double dx, double dy);

// XY axes (line and marks) and XY charts (plot area).
HitShape xyAxisShape(const LgXyAxis& axis);
HitShape xyChartShape(const LgXyChart& chart);
void moveXyAxis(LgXyAxis& axis, double dx, double dy);
void moveXyChart(LgXyChart& chart, double dx, double dy);

// Polar and triangular axes and charts, by their bounding shapes.
HitShape polarAxisShape(const LgPolarAxis& axis);
HitShape polarChartShape(const LgPolarChart& chart);
HitShape triangularAxisShape(const LgTriangularAxis& axis);
HitShape triangularChartShape(const LgTriangularChart& chart);
void movePolarAxis(LgPolarAxis& axis, double dx, double dy);
void movePolarChart(LgPolarChart& chart, double dx, double dy);
void moveTriangularAxis(LgTriangularAxis& axis, double dx, double dy);
void moveTriangularChart(LgTriangularChart& chart, double dx, double dy);

// A stored position moved by an offset; a field that is not finite stays.
inline void shiftField(double& field, double by)
{
    if (std::isfinite(field))
        field += by;
}

// An object placed by one point: the point moves, the chart repaints.
inline void moveOrigin(LgObject& o, double& x, double& y, double dx, double dy)
{
    shiftField(x, dx);
    shiftField(y, dy);
    o.changed();
}

// A box from an origin and a size, when every number is finite.
bool finiteBox(double x, double y, double w, double h, QRectF& box);

} // namespace lumigra

namespace lumigra {

// Each part of a chart once, even when two of its references name the same object.
template <class Move>
void moveParts(std::initializer_list<ObjRef*> parts, Move&& move)
{
    std::set<LgObject*> moved;
    for (ObjRef* ref : parts)
        if (LgObject* o = ref->get(); o && moved.insert(o).second)
            move(*o);
}

} // namespace lumigra
