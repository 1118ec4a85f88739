#pragma once
// The outline an object offers to the pointer, in drawing millimetres:
// areas take a press anywhere inside or near their edge, strokes a press
// near them.
#include <QPolygonF>
#include <QRectF>

#include <vector>

#include "resources/DeviceUnits.h"

namespace lumigra {

// A press this many device pixels off a stroke still hits it.
inline constexpr double kHitTolerancePixels = 3;

// kHitTolerancePixels in drawing millimetres on a device.
double hitTolerance(const DeviceUnits& units);

struct HitShape {
    std::vector<QPolygonF> areas;   // closed outlines
    std::vector<QPolygonF> strokes; // open polylines (a single point is a dot)

    bool empty() const { return areas.empty() && strokes.empty(); }
    // A box: its inside and its outline.
    void addBox(const QRectF& box);
    void addStroke(QPointF from, QPointF to) { strokes.push_back(QPolygonF{from, to}); }
    // Everything of another shape.
    void add(const HitShape& other);
    // The smallest box around every part; null when empty.
    QRectF bounds() const;
    bool contains(QPointF at, double tolerance) const;
};

// The distance from a point to the segment from a to b.
double distanceToSegment(QPointF p, QPointF a, QPointF b);

} // namespace lumigra
