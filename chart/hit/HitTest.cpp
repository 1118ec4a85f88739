#include "hit/HitTest.h"

#include <algorithm>
#include <utility>

#include "document/ChartDocument.h"
#include "hit/HitKinds.h"
#include "kinds/Axes.h"
#include "kinds/Charts.h"
#include "kinds/Shapes.h"
#include "kinds/Strokes.h"
#include "kinds/Text.h"
#include "model/Collection.h"
#include "paint/PaintPass.h"

namespace lumigra {

namespace {

// Kinds whose elements with parents are drawn by the objects using them.
bool drawnByUsers(int collection)
{
    return collection == cidRectangles || collection == cidSymbols || collection == cidLines
        || collection == cidSymbolLines || collection == cidLabels;
}

// The drawable collections from the last painted to the first.
std::vector<std::pair<int, LgCollection*>> topmostFirst(ChartDocument& control)
{
    std::vector<std::pair<int, LgCollection*>> order;
    for (int id : kPaintSequence)
        if (LgCollection* c = control.collection(id))
            order.emplace_back(id, c);
    // The pass draws rank by rank, each rank in the fixed sequence.
    std::stable_sort(order.begin(), order.end(),
                     [](const auto& a, const auto& b) { return a.second->paintOrder() < b.second->paintOrder(); });
    std::reverse(order.begin(), order.end());
    return order;
}

} // namespace

HitShape shapeOf(const LgObject& o, const DeviceUnits& units)
{
    switch (o.objectId()) {
    case lgxRectangle: return rectangleShape(static_cast<const LgRectangle&>(o));
    case lgxPolygon: return polygonShape(static_cast<const LgPolygon&>(o));
    case lgxPolyline: return polylineShape(static_cast<const LgPolyline&>(o));
    case lgxLine: return lineShape(static_cast<const LgLine&>(o));
    case lgxSymbol: return symbolShape(static_cast<const LgSymbol&>(o));
    case lgxSymbolLine: return symbolLineShape(static_cast<const LgSymbolLine&>(o));
    case lgxLabel: return labelShape(static_cast<const LgLabel&>(o), units);
    case lgxLegend: return legendShape(static_cast<const LgLegend&>(o));
    case lgxXyAxis: return xyAxisShape(static_cast<const LgXyAxis&>(o));
    case lgxXyChart: return xyChartShape(static_cast<const LgXyChart&>(o));
    case lgxPolarAxis: return polarAxisShape(static_cast<const LgPolarAxis&>(o));
    case lgxPolarChart: return polarChartShape(static_cast<const LgPolarChart&>(o));
    case lgxTriangularAxis: return triangularAxisShape(static_cast<const LgTriangularAxis&>(o));
    case lgxTriangularChart: return triangularChartShape(static_cast<const LgTriangularChart&>(o));
    default: return {};
    }
}

std::vector<LgObject*> hitObjects(ChartDocument& control, QPointF at, const DeviceUnits& units)
{
    std::vector<LgObject*> hits;
    const double tolerance = hitTolerance(units);
    for (const auto& [id, c] : topmostFirst(control)) {
        if (!c->visible())
            continue;
        for (int32_t i = c->count() - 1; i >= 0; --i) {
            LgObject* o = c->at(i);
            if (drawnByUsers(id) && o->parents() > 0)
                continue;
            if (shapeOf(*o, units).contains(at, tolerance))
                hits.push_back(o);
        }
    }
    return hits;
}

bool moveObject(LgObject& o, double dx, double dy)
{
    if (!std::isfinite(dx) || !std::isfinite(dy))
        return false;
    switch (o.objectId()) {
    case lgxRectangle: moveRectangle(static_cast<LgRectangle&>(o), dx, dy); return true;
    case lgxPolygon: movePoints(o, static_cast<LgPolygon&>(o).points_, dx, dy); return true;
    case lgxPolyline: movePoints(o, static_cast<LgPolyline&>(o).points_, dx, dy); return true;
    case lgxLine: moveLine(static_cast<LgLine&>(o), dx, dy); return true;
    case lgxSymbol: moveSymbol(static_cast<LgSymbol&>(o), dx, dy); return true;
    case lgxSymbolLine: moveSymbolLine(static_cast<LgSymbolLine&>(o), dx, dy); return true;
    case lgxLabel: moveLabel(static_cast<LgLabel&>(o), dx, dy); return true;
    case lgxLegend: moveLegend(static_cast<LgLegend&>(o), dx, dy); return true;
    case lgxXyAxis: moveXyAxis(static_cast<LgXyAxis&>(o), dx, dy); return true;
    case lgxXyChart: moveXyChart(static_cast<LgXyChart&>(o), dx, dy); return true;
    case lgxPolarAxis: movePolarAxis(static_cast<LgPolarAxis&>(o), dx, dy); return true;
    case lgxPolarChart: movePolarChart(static_cast<LgPolarChart&>(o), dx, dy); return true;
    case lgxTriangularAxis: moveTriangularAxis(static_cast<LgTriangularAxis&>(o), dx, dy); return true;
    case lgxTriangularChart: moveTriangularChart(static_cast<LgTriangularChart&>(o), dx, dy); return true;
    default: return false;
    }
}

} // namespace lumigra
