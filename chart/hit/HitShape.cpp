#include "hit/HitShape.h"

#include <algorithm>
#include <cmath>

namespace lumigra {

namespace {

bool finite(QPointF p) { return std::isfinite(p.x()) && std::isfinite(p.y()); }

bool nearPolyline(const QPolygonF& line, QPointF at, double tolerance, bool closed)
{
    const qsizetype n = line.size();
    if (n == 1)
        return std::hypot(at.x() - line[0].x(), at.y() - line[0].y()) <= tolerance;
    for (qsizetype i = 0; i + 1 < n; ++i)
        if (distanceToSegment(at, line[i], line[i + 1]) <= tolerance)
            return true;
    return closed && n > 2 && distanceToSegment(at, line[n - 1], line[0]) <= tolerance;
}

} // namespace

double hitTolerance(const DeviceUnits& units)
{
    const double perMm = (units.perMmX + units.perMmY) / 2;
    return perMm > 0 ? kHitTolerancePixels / perMm : 0;
}

double distanceToSegment(QPointF p, QPointF a, QPointF b)
{
    const QPointF d = b - a;
    const double length2 = d.x() * d.x() + d.y() * d.y();
    double t = 0;
    if (length2 > 0)
        t = std::clamp(((p.x() - a.x()) * d.x() + (p.y() - a.y()) * d.y()) / length2, 0.0, 1.0);
    const QPointF q = a + t * d;
    return std::hypot(p.x() - q.x(), p.y() - q.y());
}

void HitShape::addBox(const QRectF& box)
{
    const QRectF b = box.normalized();
    areas.push_back(QPolygonF{b.topLeft(), b.topRight(), b.bottomRight(), b.bottomLeft()});
}

void HitShape::add(const HitShape& other)
{
    areas.insert(areas.end(), other.areas.begin(), other.areas.end());
    strokes.insert(strokes.end(), other.strokes.begin(), other.strokes.end());
}

QRectF HitShape::bounds() const
{
    QRectF out;
    bool first = true;
    for (const auto* list : {&areas, &strokes})
        for (const QPolygonF& p : *list)
            for (QPointF q : p) {
                if (!finite(q))
                    continue;
                if (first) {
                    out = QRectF(q, QSizeF(0, 0));
                    first = false;
                } else {
                    out.setLeft(std::min(out.left(), q.x()));
                    out.setRight(std::max(out.right(), q.x()));
                    out.setTop(std::min(out.top(), q.y()));
                    out.setBottom(std::max(out.bottom(), q.y()));
                }
            }
    return out;
}

bool HitShape::contains(QPointF at, double tolerance) const
{
    if (!finite(at))
        return false;
    for (const QPolygonF& a : areas)
        if (a.containsPoint(at, Qt::OddEvenFill) || nearPolyline(a, at, tolerance, true))
            return true;
    for (const QPolygonF& s : strokes)
        if (nearPolyline(s, at, tolerance, false))
            return true;
    return false;
}

} // namespace lumigra
