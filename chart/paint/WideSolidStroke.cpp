#include "paint/WideSolidStroke.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <vector>

#include "draw/BuriedSegments.h"

namespace lumigra {

namespace {

// Points per piece of a wide stroke when every segment is drawn.
constexpr int kWidePiecePoints = 64;
// Kept segments stroked per call: one outline's fill cost grows faster
// than its length, and each call has its own overhead.
constexpr int kSegmentsPerCall = 48;
// Beyond this the raster clips outlines to its coordinate range, and
// segments shorter than this have no reliable direction: such polylines
// are drawn whole.
constexpr double kCoordinateLimit = 30000;
constexpr double kShortestSegment = 1e-6;
// Runs ending this near their start go as polylines (see below).
constexpr double kClosedRun = 1e-3;

// A wide aliased stroke is filled as one outline whose cost grows faster
// than its length. Drawn as overlapping pieces that share a segment, every
// join lies inside some piece, so the union is the same.
void drawInPieces(QPainter& painter, const QPointF* points, int count)
{
    for (int first = 0; first + 1 < count; first += kWidePiecePoints - 2)
        painter.drawPolyline(points + first, std::min(kWidePiecePoints, count - first));
}

// The device pixels the stroke may change.
StrokeBounds strokeBounds(const QPainter& painter)
{
    const QPaintDevice* device = painter.paintEngine()->paintDevice();
    QRect pixels(0, 0, device->width(), device->height());
    if (painter.hasClipping())
        pixels &= painter.deviceTransform().mapRect(painter.clipBoundingRect()).toAlignedRect().adjusted(-1, -1, 1, 1);
    return {pixels, device->height()};
}

} // namespace

void drawWideSolidPolyline(QPainter& painter, const QPointF* points, int count)
{
    const QTransform& toDevice = painter.deviceTransform();
    if (count < 4 || !painter.pen().isCosmetic() || toDevice.type() >= QTransform::TxProject) {
        drawInPieces(painter, points, count);
        return;
    }
    // Repeated points are no segment to the stroker; distinct[k] is the
    // last of the points at the k-th distinct place.
    std::vector<QPointF> device;
    std::vector<int> distinct;
    device.reserve(static_cast<size_t>(count));
    distinct.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const QPointF d = toDevice.map(points[i]);
        if (!(std::abs(d.x()) <= kCoordinateLimit && std::abs(d.y()) <= kCoordinateLimit)) {
            drawInPieces(painter, points, count);
            return;
        }
        if (!device.empty() && d.x() == device.back().x() && d.y() == device.back().y()) {
            distinct.back() = i;
            continue;
        }
        const QPointF step = device.empty() ? QPointF() : d - device.back();
        if (!device.empty() && QPointF::dotProduct(step, step) < kShortestSegment * kShortestSegment) {
            drawInPieces(painter, points, count);
            return;
        }
        device.push_back(d);
        distinct.push_back(i);
    }
    const std::vector<std::uint8_t> keep = keptSegments(device, painter.pen().widthF() / 2, strokeBounds(painter));
    const int segments = static_cast<int>(keep.size());
    QPainterPath path;
    int inPath = 0;
    for (int s = 0; s < segments;) {
        if (!keep[static_cast<size_t>(s)]) {
            ++s;
            continue;
        }
        int end = s;
        while (end < segments && keep[static_cast<size_t>(end)])
            ++end;
        const int first = distinct[static_cast<size_t>(s)];
        const int last = distinct[static_cast<size_t>(end)];
        const QPointF a = device[static_cast<size_t>(s)], b = device[static_cast<size_t>(end)];
        if (std::abs(a.x() - b.x()) < kClosedRun && std::abs(a.y() - b.y()) < kClosedRun) {
            // A path closes a run that ends where it starts; a polyline does not.
            painter.drawPolyline(points + first, last - first + 1);
        } else {
            path.moveTo(points[first]);
            for (int i = first + 1; i <= last; ++i)
                path.lineTo(points[i]);
            inPath += end - s;
            if (inPath >= kSegmentsPerCall) {
                painter.drawPath(path);
                path.clear();
                inPath = 0;
            }
        }
        s = end;
    }
    if (inPath > 0)
        painter.drawPath(path);
}

} // namespace lumigra
