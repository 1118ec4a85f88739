#pragma once

#include <QPointF>

#include <vector>

namespace lumigra {

// The box a symbol is drawn in: centre and half sizes, millimetres, y up.
struct SymbolBox {
    double cx = 0;
    double cy = 0;
    double hx = 0;
    double hy = 0;
};

// Drawing calls of symbols. Pen and brush are the symbol's own; the sink
// knows them.
class PrimitiveSink {
public:
    virtual ~PrimitiveSink() = default;
    // Open line through the points with the pen (at least two points).
    virtual void polyline(const std::vector<QPointF>& points) = 0;
    // Closed shape filled with the brush and outlined with the pen (at least three points).
    virtual void polygon(const std::vector<QPointF>& points) = 0;
    // Ellipse with axes along x and y, filled and outlined like a polygon.
    virtual void ellipse(QPointF centre, double rx, double ry) = 0;
    // The symbol's picture stretched over the box.
    virtual void picture(const SymbolBox& box) = 0;
    // The box as a rectangle: filled with the brush, or outlined with the pen.
    virtual void fillRectangle(const SymbolBox& box) = 0;
    virtual void outlineRectangle(const SymbolBox& box) = 0;
};

} // namespace lumigra
