#pragma once
// New chart objects inserted from the edit pop-up: each kind with the
// resources it needs to show, placed at the pointer.
#include <QPointF>

namespace lumigra {

class LumigraCtrl;
class LgObject;

// In the order of the pop-up's items.
enum class InsertKind {
    XyChart,
    TriangularChart,
    PolarChart,
    XyAxis,
    TriangularAxis,
    PolarAxis,
    Label,
    Line,
    SymbolLine,
    Rectangle,
    Symbol,
    Legend,
    Polygon,
    Polyline,
};

// Adds one object of the kind to its collection (its pens, fonts, lines,
// axes and areas to theirs), its lower-left corner or centre at at
// (drawing millimetres); returns it. Raises the collections' errors.
LgObject* insertObject(LumigraCtrl& control, InsertKind kind, QPointF at);

} // namespace lumigra
