#include "paint/WideSolidStroke.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "draw/BuriedSegments.h"

namespace lumigra {

namespace {

// Kept segments stroked per call: the raster scans a fill of up to 32
// edges row by row and a larger one chunk by chunk over all its edges,
// which costs more than the calls saved.
constexpr int kSegmentsPerCall = 4;
// The raster clips outlines reaching beyond this many pixels (or wider or
// higher than it), which moves their edges slightly: such lines are drawn
// whole.
constexpr double kRasterLimit = 32767;
// Segments shorter than this have no reliable direction.
constexpr double kShortestSegment = 1e-6;
// Runs ending this near their start go as polylines (see below).
constexpr double kClosedRun = 1e-3;
// Outlines reach this far beyond the points, in pixels besides half the
// pen, counting the rows the raster's clipping may shift.
constexpr double kOutlineMargin = 3;

// Reused: fresh large blocks each call cost page faults.
struct Scratch {
    std::vector<QPointF> device;
    std::vector<int> distinct;
    std::vector<std::pair<int, int>> singles;
};

Scratch& scratch()
{
    thread_local Scratch reused;
    return reused;
}

// The device pixels the stroke may change: within the system clip, whose
// sides are where the raster clips edges, and within the painter's clip.
StrokeBounds strokeBounds(const QPainter& painter)
{
    const QPaintDevice* device = painter.paintEngine()->paintDevice();
    QRect pixels(0, 0, device->width(), device->height());
    if (const QRegion system = painter.paintEngine()->systemClip(); !system.isEmpty())
        pixels &= system.boundingRect();
    if (painter.hasClipping())
        pixels &= painter.deviceTransform().mapRect(painter.clipBoundingRect()).toAlignedRect().adjusted(-1, -1, 1, 1);
    return {pixels, device->height()};
}

// The device points, merged where repeated (the stroker skips those);
// distinct[k] is the last of the points at the k-th place. False when the
// line has to be drawn whole.
bool devicePoints(const QTransform& toDevice, const QPointF* points, int count, std::vector<QPointF>& device,
                  std::vector<int>& distinct)
{
    device.reserve(static_cast<size_t>(count));
    distinct.reserve(static_cast<size_t>(count));
    // The affine map written out: the places only steer the choice of
    // segments, which allows far more than a last-digit difference.
    const double m11 = toDevice.m11(), m12 = toDevice.m12(), m21 = toDevice.m21(), m22 = toDevice.m22();
    const double dx = toDevice.dx(), dy = toDevice.dy();
    for (int i = 0; i < count; ++i) {
        const QPointF p = points[i];
        const QPointF d(m11 * p.x() + m21 * p.y() + dx, m12 * p.x() + m22 * p.y() + dy);
        if (!std::isfinite(d.x()) || !std::isfinite(d.y()))
            return false;
        if (!device.empty() && d.x() == device.back().x() && d.y() == device.back().y()) {
            distinct.back() = i;
            continue;
        }
        const QPointF step = device.empty() ? QPointF() : d - device.back();
        if (!device.empty() && QPointF::dotProduct(step, step) < kShortestSegment * kShortestSegment)
            return false;
        device.push_back(d);
        distinct.push_back(i);
    }
    return true;
}

// Draws the kept runs, several to a path. A path of nothing but single
// segments would be drawn as lines, by other rules than a stroke's outline:
// each path holds a longer run, and single segments left over at the end
// go as polylines.
void drawKept(QPainter& painter, const QPointF* points, const std::vector<QPointF>& device,
              const std::vector<int>& distinct, const std::vector<std::uint8_t>& keep)
{
    const int segments = static_cast<int>(keep.size());
    QPainterPath path;
    int inPath = 0;
    bool strokesPath = false;
    std::vector<std::pair<int, int>>& singles = scratch().singles;
    singles.clear();
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
            strokesPath = strokesPath || end - s > 1;
            if (end - s == 1)
                singles.emplace_back(first, last);
            if (inPath >= kSegmentsPerCall && strokesPath) {
                painter.drawPath(path);
                path.clear();
                inPath = 0;
                strokesPath = false;
                singles.clear();
            }
        }
        s = end;
    }
    if (strokesPath)
        painter.drawPath(path);
    else
        for (const auto& [first, last] : singles)
            painter.drawPolyline(points + first, last - first + 1);
}

} // namespace

void drawWideSolidPolyline(QPainter& painter, const QPointF* points, int count)
{
    const QTransform& toDevice = painter.deviceTransform();
    std::vector<QPointF>& device = scratch().device;
    std::vector<int>& distinct = scratch().distinct;
    device.clear();
    distinct.clear();
    // Leaving segments out needs the stroke's width in device pixels: a
    // cosmetic pen on a device without scaled pixels.
    if (count < 3 || !painter.pen().isCosmetic() || toDevice.type() >= QTransform::TxProject ||
        painter.paintEngine()->paintDevice()->devicePixelRatio() != 1 || painter.device()->devicePixelRatio() != 1 ||
        !devicePoints(toDevice, points, count, device, distinct)) {
        painter.drawPolyline(points, count);
        return;
    }
    const double halfWidth = painter.pen().widthF() / 2;
    const StrokeBounds bounds = strokeBounds(painter);
    double x0 = device.front().x(), x1 = x0, y0 = device.front().y(), y1 = y0;
    for (const QPointF& p : device) {
        x0 = std::min(x0, p.x());
        x1 = std::max(x1, p.x());
        y0 = std::min(y0, p.y());
        y1 = std::max(y1, p.y());
    }
    const double margin = halfWidth + kOutlineMargin;
    const QRectF reach(QPointF(x0 - margin, y0 - margin), QPointF(x1 + margin, y1 + margin));
    if (!reach.intersects(QRectF(bounds.paintable)))
        return; // no pixel it could fill is painted
    if (!QRectF(-kRasterLimit, -kRasterLimit, 2 * kRasterLimit, 2 * kRasterLimit).contains(reach) ||
        reach.width() > kRasterLimit || reach.height() > kRasterLimit) {
        painter.drawPolyline(points, count);
        return;
    }
    drawKept(painter, points, device, distinct, keptSegments(device, halfWidth, bounds));
}

} // namespace lumigra
