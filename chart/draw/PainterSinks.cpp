#include "draw/PainterSinks.h"

#include <QPainter>

namespace lumigra {

namespace {

// Long polylines are handed over in pieces so the buffer stays small.
constexpr int kMaxPendingPoints = 4096;

QRectF boxRect(const SymbolBox& box)
{
    return QRectF(box.cx - box.hx, box.cy - box.hy, 2 * box.hx, 2 * box.hy);
}

} // namespace

PainterDashSink::PainterDashSink(QPainter& painter, const std::array<QPen, 4>& pens)
    : painter_(painter), pens_(pens)
{
}

PainterDashSink::~PainterDashSink()
{
    flush();
}

void PainterDashSink::dash(int penIndex, QPointF from, QPointF to)
{
    if (penIndex < 0 || penIndex > 3)
        return;
    const bool continues = penIndex == pendingPen_ && !pending_.isEmpty() && pending_.last() == from;
    if (!continues || pending_.size() >= kMaxPendingPoints) {
        flush();
        pending_.append(from);
        pendingPen_ = penIndex;
    }
    pending_.append(to);
}

void PainterDashSink::flush()
{
    if (pending_.size() >= 2) {
        painter_.setPen(pens_[static_cast<std::size_t>(pendingPen_)]);
        painter_.setBrush(Qt::NoBrush);
        painter_.drawPolyline(pending_);
    }
    pending_.clear();
    pendingPen_ = -1;
}

PainterPrimitiveSink::PainterPrimitiveSink(QPainter& painter, const QPen& pen, const QBrush& brush,
                                           PictureDrawer picture)
    : painter_(painter), pen_(pen), brush_(brush), picture_(std::move(picture))
{
}

void PainterPrimitiveSink::polyline(const std::vector<QPointF>& points)
{
    painter_.setPen(pen_);
    painter_.setBrush(Qt::NoBrush);
    painter_.drawPolyline(points.data(), static_cast<int>(points.size()));
}

void PainterPrimitiveSink::polygon(const std::vector<QPointF>& points)
{
    painter_.setPen(pen_);
    painter_.setBrush(brush_);
    painter_.drawPolygon(points.data(), static_cast<int>(points.size()));
}

void PainterPrimitiveSink::ellipse(QPointF centre, double rx, double ry)
{
    painter_.setPen(pen_);
    painter_.setBrush(brush_);
    painter_.drawEllipse(centre, rx, ry);
}

void PainterPrimitiveSink::picture(const SymbolBox& box)
{
    if (picture_)
        picture_(painter_, boxRect(box));
}

void PainterPrimitiveSink::fillRectangle(const SymbolBox& box)
{
    painter_.fillRect(boxRect(box), brush_);
}

void PainterPrimitiveSink::outlineRectangle(const SymbolBox& box)
{
    painter_.setPen(pen_);
    painter_.setBrush(Qt::NoBrush);
    painter_.drawRect(boxRect(box));
}

} // namespace lumigra
