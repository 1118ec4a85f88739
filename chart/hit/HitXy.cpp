// XY axes by their line and the band their marks cover; XY charts by their
// plot area (or, without one, by the box their two axes span).
#include <algorithm>

#include "hit/HitKinds.h"
#include "kinds/Axes.h"
#include "kinds/Charts.h"
#include "kinds/Shapes.h"
#include "paint/Drawers.h"

namespace lumigra {

namespace {

const LgXyAxis* asAxis(const LgObject* o)
{
    return o && o->objectId() == lgxXyAxis ? static_cast<const LgXyAxis*>(o) : nullptr;
}

const LgRectangle* asRectangle(const LgObject* o)
{
    return o && o->objectId() == lgxRectangle ? static_cast<const LgRectangle*>(o) : nullptr;
}

bool horizontal(const LgXyAxis& axis) { return axis.orientation_ != lgXyAxisY; }

} // namespace

HitShape xyAxisShape(const LgXyAxis& axis)
{
    HitShape s;
    if (!axis.visible_ || !std::isfinite(axis.orgX_) || !std::isfinite(axis.orgY_) || !std::isfinite(axis.length_))
        return s;
    const bool h = horizontal(axis);
    const QPointF start(axis.orgX_, axis.orgY_);
    const QPointF end = start + (h ? QPointF(axis.length_, 0) : QPointF(0, axis.length_));
    s.addStroke(start, end);
    const LgObject* t = axis.tick_.get();
    if (t && t->objectId() == lgxXyTick && static_cast<const LgXyTick*>(t)->visible_) {
        const auto [from, to] = tickMarkSpan(*static_cast<const LgXyTick*>(t), h ? axis.orgY_ : axis.orgX_);
        if (from != to) {
            const double a0 = std::min(h ? start.x() : start.y(), h ? end.x() : end.y());
            const double a1 = std::max(h ? start.x() : start.y(), h ? end.x() : end.y());
            s.addBox(h ? QRectF(QPointF(a0, from), QPointF(a1, to)) : QRectF(QPointF(from, a0), QPointF(to, a1)));
        }
    }
    return s;
}

HitShape xyChartShape(const LgXyChart& chart)
{
    HitShape s;
    if (!chart.visible_)
        return s;
    QRectF box;
    if (const LgRectangle* area = asRectangle(chart.plotArea_.get())) {
        if (finiteBox(area->orgX_, area->orgY_, area->width_, area->height_, box))
            s.addBox(box);
        return s;
    }
    const LgXyAxis* x = asAxis(chart.xAxis_.get());
    const LgXyAxis* y = asAxis(chart.yAxis_.get());
    if (x && y && horizontal(*x) && !horizontal(*y) && finiteBox(x->orgX_, y->orgY_, x->length_, y->length_, box))
        s.addBox(box);
    return s;
}

void moveXyAxis(LgXyAxis& axis, double dx, double dy) { moveOrigin(axis, axis.orgX_, axis.orgY_, dx, dy); }

// A chart is placed by its plot area and its axes; data stay as they are.
void moveXyChart(LgXyChart& chart, double dx, double dy)
{
    moveParts({&chart.plotArea_, &chart.xAxis_, &chart.yAxis_}, [&](LgObject& o) {
        if (o.objectId() == lgxRectangle)
            moveRectangle(static_cast<LgRectangle&>(o), dx, dy);
        else if (o.objectId() == lgxXyAxis)
            moveXyAxis(static_cast<LgXyAxis&>(o), dx, dy);
    });
}

} // namespace lumigra
