#pragma once
// A wide solid polyline on a raster device, drawn without the segments
// that others bury; same pixels as the whole polyline.
#include <QPainter>

namespace lumigra {

// Draws the polyline with the painter's pen. The caller has made sure the
// pen is wide, solid, opaque and aliased on a raster device, so that the
// union of pieces is what shows.
void drawWideSolidPolyline(QPainter& painter, const QPointF* points, int count);

} // namespace lumigra
