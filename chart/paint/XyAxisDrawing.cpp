// An XY axis: its line, then for the main tick and each subtick the grid
// lines, marks and labels at the marks laid out when the axis was prepared.
#include <cmath>

#include "document/ChartDocument.h"
#include "kinds/Axes.h"
#include "kinds/Charts.h"
#include "kinds/Shapes.h"
#include "model/Collection.h"
#include "paint/DrawContext.h"
#include "paint/Drawers.h"
#include "paint/LineStroke.h"
#include "paint/TextDrawing.h"
#include "paint/XyAxisScale.h"
#include "platform/Format.h"

namespace lumigra {

namespace {

constexpr double kLabelGap = 0.5; // millimetres between a mark and its label

// The plot area grid lines cross: that of the first chart on the axis.
const LgRectangle* gridArea(ChartDocument& control, const LgXyAxis& axis)
{
    LgCollection* charts = control.collection(cidXyCharts);
    for (int32_t i = 0; charts && i < charts->count(); ++i) {
        auto* c = static_cast<LgXyChart*>(charts->at(i));
        if (c->xAxis_.get() != &axis && c->yAxis_.get() != &axis)
            continue;
        const LgObject* area = c->plotArea_.get();
        if (area && area->objectId() == lgxRectangle)
            return static_cast<const LgRectangle*>(area);
    }
    return nullptr;
}

QString labelText(const LgXyAxis& axis, const LgXyTick& tick, const TickMark& mark)
{
    if (mark.customIndex >= 0 && axis.tickValues_.isArray()
        && static_cast<size_t>(mark.customIndex) < axis.tickValues_.elementCount()) {
        const auto& v = axis.tickValues_.at(static_cast<size_t>(mark.customIndex)).deref();
        if (auto n = v.vt() == platform::com::VT_BSTR ? std::nullopt : v.toDouble())
            return QString::fromStdString(platform::Format(*n, tick.labelFormat()));
        return QString::fromStdString(v.toText().value_or(""));
    }
    return QString::fromStdString(platform::Format(mark.value, tick.labelFormat()));
}

void drawMarks(const LgXyAxis& axis, const LgXyTick& tick, const TickLayout& layout, bool horizontal,
               const LgRectangle* area, DrawContext& ctx)
{
    const double across = horizontal ? axis.orgY_ : axis.orgX_;
    const double len = std::isfinite(tick.markLength_) ? tick.markLength_ : 0;
    const auto [from, to] = tickMarkSpan(tick, across);
    auto point = [horizontal](double along, double acrossValue) {
        return horizontal ? QPointF(along, acrossValue) : QPointF(acrossValue, along);
    };
    const DevicePen pen = ctx.pen(tick.pen_.get());
    const DeviceFont font = ctx.font(tick.labelFont_.get());
    const int side = tick.labelLocation_ > 0 ? 1 : (tick.labelLocation_ < 0 ? -1 : 0);
    LineStroke grid(tick.gridLine_.get(), ctx);
    QRectF box = area ? QRectF(area->orgX_, area->orgY_, area->width_, area->height_).normalized() : QRectF();
    for (const TickMark& m : layout.marks) {
        if (grid.draws() && area) {
            if (!ctx.budget.add(1))
                return;
            if (horizontal) {
                grid.moveTo(QPointF(m.position, box.top()));
                grid.lineTo(QPointF(m.position, box.bottom()));
            } else {
                grid.moveTo(QPointF(box.left(), m.position));
                grid.lineTo(QPointF(box.right(), m.position));
            }
            grid.flush();
        }
        if (pen.draws && len != 0) {
            MixScope mix(ctx.painter, pen.mode);
            ctx.painter.setPen(pen.pen);
            ctx.painter.drawLine(point(m.position, from), point(m.position, to));
        }
        if (!font.draws || side == 0)
            continue;
        // Right is the right-hand side going along the axis: below a
        // horizontal axis, right of a vertical one; left the other side.
        const double gap = std::fabs(len) + kLabelGap;
        QPointF at;
        HAlign h = HAlign::Centre;
        VAlign v = VAlign::Centre;
        if (horizontal) {
            at = point(m.position, across - side * gap);
            v = side > 0 ? VAlign::Top : VAlign::Bottom;
        } else {
            at = point(m.position, across + side * gap);
            h = side > 0 ? HAlign::Left : HAlign::Right;
            v = std::abs(tick.labelLocation_) == 1 ? VAlign::Bottom : VAlign::Centre;
        }
        drawText(ctx, font, labelText(axis, tick, m), at, tick.labelAngle_, h, v);
    }
}

} // namespace

std::pair<double, double> tickMarkSpan(const LgXyTick& tick, double across)
{
    const double len = std::isfinite(tick.markLength_) ? tick.markLength_ : 0;
    switch (tick.markStyle_) {
    case lgTickMarkLeft: return {across - len, across};
    case lgTickMarkBoth: return {across - len, across + len};
    default: return {across, across + len}; // right of (above) the axis
    }
}

void drawXyAxis(LgXyAxis& axis, DrawContext& ctx)
{
    if (!axis.visible_)
        return;
    PreparedXyAxis& prepared = ctx.xyAxis(axis);
    if (!prepared.drawable())
        return;
    const bool horizontal = prepared.horizontal;
    const DevicePen pen = ctx.pen(axis.pen_.get());
    if (pen.draws) {
        MixScope mix(ctx.painter, pen.mode);
        ctx.painter.setPen(pen.pen);
        const QPointF start(axis.orgX_, axis.orgY_);
        ctx.painter.drawLine(start, horizontal ? start + QPointF(axis.length_, 0) : start + QPointF(0, axis.length_));
    }
    const LgRectangle* area = gridArea(ctx.control, axis);
    for (const TickLevel& level : prepared.levels) {
        if (!level.tick || !level.tick->visible_)
            continue;
        drawMarks(axis, *level.tick, level.layout, horizontal, area, ctx);
    }
}

} // namespace lumigra
