// Symbols at a point, free lines and arrow lines.
#include <cmath>

#include "draw/PainterSinks.h"
#include "draw/SymbolStyles.h"
#include "kinds/Strokes.h"
#include "paint/DrawContext.h"
#include "paint/Drawers.h"
#include "paint/LineStroke.h"

namespace lumigra {

void drawSymbolAt(const LgSymbol& symbol, DrawContext& ctx, QPointF centre, double width, double height,
                  bool quarterTurn, double rotationDegrees)
{
    if (!symbol.visible_ || !std::isfinite(centre.x()) || !std::isfinite(centre.y()) || !std::isfinite(width)
        || !std::isfinite(height))
        return;
    const DevicePen pen = ctx.pen(symbol.pen_.get());
    const DeviceBrush brush = ctx.brush(symbol.brush_.get());
    const QImage* image = ctx.picture(symbol.picture_.get());
    QPainter& p = ctx.painter;
    p.save();
    if (rotationDegrees != 0 && std::isfinite(rotationDegrees)) {
        p.translate(centre);
        p.rotate(rotationDegrees); // y is up, so positive turns counter-clockwise
        p.translate(-centre);
    }
    MixScope mix(p, pen.mode);
    PainterPrimitiveSink sink(p, pen.draws ? pen.pen : QPen(Qt::NoPen), brush.fills ? brush.brush : QBrush(),
                              [&ctx, image](QPainter&, const QRectF& box) {
                                  if (image)
                                      ctx.drawImage(*image, box);
                              });
    drawSymbol(symbol.style_, symbol.customString_, centre.x(), centre.y(), width, height, quarterTurn, sink);
    p.restore();
}

void drawFreeLine(LgLine& line, DrawContext& ctx)
{
    LineStroke stroke(&line, ctx);
    stroke.moveTo(QPointF(line.fromX_, line.fromY_));
    stroke.lineTo(QPointF(line.toX_, line.toY_));
}

void drawSymbolLineBetween(const LgSymbolLine& arrow, DrawContext& ctx, QPointF from, QPointF to)
{
    if (!arrow.visible_)
        return;
    // The symbols turn with the line, so arrow heads point along it.
    const double angle = std::atan2(to.y() - from.y(), to.x() - from.x()) * 180 / M_PI;
    auto symbolAt = [&](const ObjRef& ref, QPointF at, double turn) {
        const LgObject* o = ref.get();
        if (!o || o->objectId() != lgxSymbol)
            return;
        const auto& s = *static_cast<const LgSymbol*>(o);
        drawSymbolAt(s, ctx, at, s.width_, s.height_, false, turn);
    };
    auto start = [&] { symbolAt(arrow.startSymbol_, from, angle + 180); };
    auto end = [&] { symbolAt(arrow.endSymbol_, to, angle); };
    auto line = [&] {
        LineStroke stroke(arrow.line_.get(), ctx);
        stroke.moveTo(from);
        stroke.lineTo(to);
    };
    switch (arrow.drawOrder_) {
    case lgStartSymbolLineEndSymbol: start(); line(); end(); break;
    case lgEndSymbolLineStartSymbol: end(); line(); start(); break;
    case lgLineFirst: line(); start(); end(); break;
    default: start(); end(); line(); break;
    }
}

void drawSymbolLine(const LgSymbolLine& arrow, DrawContext& ctx)
{
    // Without a line there are no end points: nothing to draw.
    const LgObject* o = arrow.line_.get();
    if (!o || o->objectId() != lgxLine)
        return;
    const auto& line = *static_cast<const LgLine*>(o);
    drawSymbolLineBetween(arrow, ctx, QPointF(line.fromX_, line.fromY_), QPointF(line.toX_, line.toY_));
}

} // namespace lumigra
