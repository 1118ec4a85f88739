// Free lines, symbols and arrow lines.
#include <cmath>

#include "hit/HitKinds.h"
#include "kinds/Strokes.h"

namespace lumigra {

namespace {

const LgLine* lineOf(const LgSymbolLine& arrow)
{
    const LgObject* o = arrow.line_.get();
    return o && o->objectId() == lgxLine ? static_cast<const LgLine*>(o) : nullptr;
}

// The box a symbol covers at a centre.
void addSymbolBox(HitShape& s, const LgObject* o, QPointF centre)
{
    if (!o || o->objectId() != lgxSymbol)
        return;
    const auto& symbol = *static_cast<const LgSymbol*>(o);
    QRectF box;
    if (symbol.visible_
        && finiteBox(centre.x() - symbol.width_ / 2, centre.y() - symbol.height_ / 2, symbol.width_, symbol.height_,
                     box))
        s.addBox(box);
}

} // namespace

HitShape lineShape(const LgLine& line)
{
    HitShape s;
    if (line.visible_)
        s.addStroke(QPointF(line.fromX_, line.fromY_), QPointF(line.toX_, line.toY_));
    return s;
}

HitShape symbolShape(const LgSymbol& symbol)
{
    HitShape s;
    addSymbolBox(s, &symbol, QPointF(symbol.centerX_, symbol.centerY_));
    return s;
}

HitShape symbolLineShape(const LgSymbolLine& arrow)
{
    HitShape s;
    const LgLine* line = lineOf(arrow);
    if (!arrow.visible_ || !line)
        return s;
    const QPointF from(line->fromX_, line->fromY_), to(line->toX_, line->toY_);
    s.add(lineShape(*line));
    addSymbolBox(s, arrow.startSymbol_.get(), from);
    addSymbolBox(s, arrow.endSymbol_.get(), to);
    return s;
}

void moveLine(LgLine& line, double dx, double dy)
{
    shiftField(line.fromX_, dx);
    shiftField(line.toX_, dx);
    shiftField(line.fromY_, dy);
    shiftField(line.toY_, dy);
    line.changed();
}

void moveSymbol(LgSymbol& symbol, double dx, double dy)
{
    moveOrigin(symbol, symbol.centerX_, symbol.centerY_, dx, dy);
}

// An arrow line stands where its line does.
void moveSymbolLine(LgSymbolLine& arrow, double dx, double dy)
{
    if (LgObject* o = arrow.line_.get(); o && o->objectId() == lgxLine)
        moveLine(*static_cast<LgLine*>(o), dx, dy);
}

} // namespace lumigra
