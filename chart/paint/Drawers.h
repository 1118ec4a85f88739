#pragma once
// Drawing of each object kind, from outside the object model.
#include <QPointF>
#include <QPolygonF>

#include <utility>

namespace lumigra {

class DrawContext;
class LgLabel;
class LgLegend;
class LgLine;
class LgPolarAxis;
class LgPolarChart;
class LgPolygon;
class LgPolyline;
class LgRectangle;
class LgSymbol;
class LgSymbolLine;
class LgTriangularAxis;
class LgTriangularChart;
class LgXyAxis;
class LgXyChart;
class LgXyTick;
struct PointList;

void drawXyChart(LgXyChart& chart, DrawContext& ctx);
void drawXyAxis(LgXyAxis& axis, DrawContext& ctx);
// Where a tick's marks reach across an axis at across (the axis's other
// coordinate): from the lower to the higher end.
std::pair<double, double> tickMarkSpan(const LgXyTick& tick, double across);
void drawPolarChart(LgPolarChart& chart, DrawContext& ctx);
void drawPolarAxis(LgPolarAxis& axis, DrawContext& ctx);
void drawTriangularChart(LgTriangularChart& chart, DrawContext& ctx);
void drawTriangularAxis(LgTriangularAxis& axis, DrawContext& ctx);

// Box, fill by PaintTool, outline and shadow; a hidden rectangle draws nothing.
void drawRectangle(const LgRectangle& rectangle, DrawContext& ctx);
// A symbol at a centre with a size (its own when drawn on its own).
// rotation turns the symbol counter-clockwise about its centre (arrow heads).
void drawSymbolAt(const LgSymbol& symbol, DrawContext& ctx, QPointF centre, double width, double height,
                  bool quarterTurn = false, double rotationDegrees = 0);
// A line on its own, from (FromX, FromY) to (ToX, ToY).
void drawFreeLine(LgLine& line, DrawContext& ctx);
// An arrow line between two points, in its DrawOrder.
void drawSymbolLineBetween(const LgSymbolLine& arrow, DrawContext& ctx, QPointF from, QPointF to);
void drawSymbolLine(const LgSymbolLine& arrow, DrawContext& ctx);
void drawLabel(const LgLabel& label, DrawContext& ctx);
void drawLegend(LgLegend& legend, DrawContext& ctx);
// The finite points of a figure's point list.
QPolygonF finitePoints(const PointList& list);
void drawPolygon(const LgPolygon& polygon, DrawContext& ctx);
void drawPolyline(const LgPolyline& polyline, DrawContext& ctx);

} // namespace lumigra
