#pragma once

#include "draw/PatternedStroke.h"
#include "draw/PrimitiveSink.h"

#include <QBrush>
#include <QPen>
#include <QPolygonF>

#include <array>
#include <functional>

class QPainter;

namespace lumigra {

// Draws stroke dashes on a painter whose transform already maps
// millimetres (y up) to the device. Dashes that continue one another with
// the same pen are joined into one polyline, so a solid line along many
// points costs one draw call instead of one per dash.
class PainterDashSink final : public DashSink {
public:
    PainterDashSink(QPainter& painter, const std::array<QPen, 4>& pens);
    ~PainterDashSink() override;
    PainterDashSink(const PainterDashSink&) = delete;
    PainterDashSink& operator=(const PainterDashSink&) = delete;

    void dash(int penIndex, QPointF from, QPointF to) override;
    // Draws what is buffered; also done on destruction.
    void flush();

private:
    QPainter& painter_;
    std::array<QPen, 4> pens_;
    QPolygonF pending_;
    int pendingPen_ = -1;
};

// Draws symbol primitives with one pen and one brush on a painter mapped
// like the dash sink. The picture is drawn by a callback given the box as
// a rectangle in millimetres; without one nothing is drawn for it.
class PainterPrimitiveSink final : public PrimitiveSink {
public:
    using PictureDrawer = std::function<void(QPainter&, const QRectF&)>;

    PainterPrimitiveSink(QPainter& painter, const QPen& pen, const QBrush& brush, PictureDrawer picture = {});

    void polyline(const std::vector<QPointF>& points) override;
    void polygon(const std::vector<QPointF>& points) override;
    void ellipse(QPointF centre, double rx, double ry) override;
    void picture(const SymbolBox& box) override;
    void fillRectangle(const SymbolBox& box) override;
    void outlineRectangle(const SymbolBox& box) override;

private:
    QPainter& painter_;
    QPen pen_;
    QBrush brush_;
    PictureDrawer picture_;
};

} // namespace lumigra
