#pragma once
// The segments of a wide aliased stroke (flat caps, bevel joins, one opaque
// colour) that can be left out without changing a pixel: those whose
// stroked region, joins included, lies well inside what kept segments fill.
#include <QPointF>
#include <QRect>

#include <cstdint>
#include <vector>

namespace lumigra {

// Device pixels the stroke may change (the device within the clip), and the
// device's height, which bounds how far the raster's rounding can run.
struct StrokeBounds {
    QRect paintable;
    int deviceHeight = 0;
};

// points: device coordinates, finite, none equal to the one before it.
// Element s tells whether segment s (points s and s + 1) must be drawn.
std::vector<std::uint8_t> keptSegments(const std::vector<QPointF>& points, double halfWidth,
                                       const StrokeBounds& bounds);

} // namespace lumigra
