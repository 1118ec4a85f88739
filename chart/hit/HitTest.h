#pragma once
// Which chart objects lie under a point, topmost first, and moving an
// object by an offset in drawing millimetres.
#include <QPointF>
#include <QRectF>

#include <vector>

#include "hit/HitShape.h"

namespace lumigra {

class ChartDocument;
class LgObject;

// The outline of a drawable object as the drawing places it on a device
// of these units; empty for a kind that is not drawn on its own.
HitShape shapeOf(const LgObject& object, const DeviceUnits& units);

// Every visible object whose outline takes the point (drawing millimetres),
// topmost first: the collections in reverse paint order, each from its
// last element. Objects drawn by others (a chart's plot area, its lines)
// belong to them and are not hit on their own.
std::vector<LgObject*> hitObjects(ChartDocument& control, QPointF at, const DeviceUnits& units);

// Moves the object's stored position by (dx, dy) millimetres; false for a
// kind without a position.
bool moveObject(LgObject& object, double dx, double dy);

} // namespace lumigra
