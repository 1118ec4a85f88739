// Polar axes and charts. A polar chart's slot 1 holds angles and slot 2
// radii. The straight axis is the radial scale (from its centre out to
// Radius, along StartAngle); the elliptic axis maps angle values onto
// StartAngle ... EndAngle degrees around the same centre.
#include <algorithm>
#include <cmath>
#include <optional>

#include "axis/NiceScale.h"
#include "document/ChartDocument.h"
#include "kinds/Axes.h"
#include "kinds/Charts.h"
#include "kinds/Data.h"
#include "kinds/Shapes.h"
#include "model/Collection.h"
#include "paint/DrawContext.h"
#include "paint/Drawers.h"
#include "paint/LineStroke.h"
#include "paint/TextDrawing.h"
#include "paint/XyChartDrawing.h"
#include "platform/Format.h"

namespace lumigra {

namespace {

constexpr int kCircleSegments = 120;

struct Range {
    double lo = 0;
    double hi = 0;
    double step = 0; // automatic mark interval
};

std::optional<double> finite(const platform::com::Variant& v)
{
    auto d = v.deref().vt() == platform::com::VT_BSTR ? std::nullopt : v.deref().toDouble();
    return d && std::isfinite(*d) ? d : std::nullopt;
}

// The value range of a polar axis: manual ends, else angles 0 ... 360 on
// an elliptic axis and 0 ... the largest radius of its charts, rounded.
std::optional<Range> axisRange(ChartDocument& control, const LgPolarAxis& axis)
{
    std::optional<double> lo, hi;
    if (axis.minimumSelection_ == lgSelectionManual)
        lo = finite(axis.minimum_);
    if (axis.maximumSelection_ == lgSelectionManual)
        hi = finite(axis.maximum_);
    if (axis.type_ == lgPolarAxisElliptic) {
        lo = lo.value_or(0);
        hi = hi.value_or(360);
    } else if (!lo || !hi) {
        std::optional<double> big, small;
        LgCollection* charts = control.collection(cidPolarCharts);
        for (int32_t i = 0; charts && i < charts->count(); ++i) {
            auto* c = static_cast<LgPolarChart*>(charts->at(i));
            LgObject* d = c->data_.get();
            if (c->straightAxis_.get() != &axis || !d || d->objectId() != lgxData)
                continue;
            auto& data = *static_cast<LgData*>(d);
            if (data.dataSize() < 2 || !data.slots_[2].array.isArray())
                continue;
            if (auto v = finite(data.extreme(2, true)))
                big = big ? std::max(*big, *v) : *v;
            if (auto v = finite(data.extreme(2, false)))
                small = small ? std::min(*small, *v) : *v;
        }
        if (!lo)
            lo = std::min(0.0, small.value_or(0));
        if (!hi)
            hi = big;
    }
    if (!lo || !hi || !(*hi > *lo))
        return std::nullopt;
    Range r{*lo, *hi, 0};
    if (auto nice = niceScale(r.lo, r.hi)) {
        if (axis.type_ != lgPolarAxisElliptic && axis.maximumSelection_ != lgSelectionManual)
            r.hi = nice->hi;
        r.step = nice->step;
    } else {
        r.step = (r.hi - r.lo) / 2;
    }
    return r;
}

double markStep(const LgPolarAxis& axis, const Range& r)
{
    const auto* tick = axis.tick_.as<LgPolarTick>();
    if (tick && tick->markIntervalSelection_ == lgSelectionManual)
        if (auto m = finite(tick->markInterval_); m && *m != 0)
            return std::fabs(*m);
    return r.step;
}

struct PolarScale {
    QPointF centre;
    double radius = 0;
    Range radial, angular;
    double startAngle = 0, endAngle = 360;
    bool reverse = false;

    std::optional<QPointF> place(double angle, double r) const
    {
        double t = (r - radial.lo) / (radial.hi - radial.lo);
        if (reverse)
            t = 1 - t;
        const double a = (startAngle + (angle - angular.lo) / (angular.hi - angular.lo) * (endAngle - startAngle))
            / 180 * M_PI;
        const QPointF p(centre.x() + t * radius * std::cos(a), centre.y() + t * radius * std::sin(a));
        if (!std::isfinite(p.x()) || !std::isfinite(p.y()))
            return std::nullopt;
        return p;
    }
};

const LgPolarAxis* polarAxis(const LgObject* o)
{
    return o && o->objectId() == lgxPolarAxis ? static_cast<const LgPolarAxis*>(o) : nullptr;
}

// A circle (or arc) in a line's pattern, in straight pieces.
void strokeArc(LineStroke& stroke, QPointF c, double r, double from, double to)
{
    const double span = to - from;
    for (int k = 0; k <= kCircleSegments; ++k) {
        const double a = (from + span * k / kCircleSegments) / 180 * M_PI;
        const QPointF p(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
        k == 0 ? stroke.moveTo(p) : stroke.lineTo(p);
    }
    stroke.flush();
}

} // namespace

void drawPolarAxis(LgPolarAxis& axis, DrawContext& ctx)
{
    if (!axis.visible_ || !(axis.radius_ > 0) || !std::isfinite(axis.radius_))
        return;
    const auto range = axisRange(ctx.control, axis);
    if (!range)
        return;
    const QPointF c(axis.orgX_, axis.orgY_);
    const double r = axis.radius_;
    const double start = axis.startAngle_, end = axis.endAngle_;
    if (!std::isfinite(start) || !std::isfinite(end))
        return;
    const DevicePen pen = ctx.pen(axis.pen_.get());
    const bool elliptic = axis.type_ == lgPolarAxisElliptic;
    auto dir = [](double deg) { return QPointF(std::cos(deg / 180 * M_PI), std::sin(deg / 180 * M_PI)); };
    if (pen.draws) {
        MixScope mix(ctx.painter, pen.mode);
        ctx.painter.setPen(pen.pen);
        if (elliptic) {
            QPolygonF arc;
            for (int k = 0; k <= kCircleSegments; ++k)
                arc << c + r * dir(start + (end - start) * k / kCircleSegments);
            ctx.painter.drawPolyline(arc);
        } else {
            ctx.painter.drawLine(c, c + r * dir(start));
        }
    }
    const auto* tick = axis.tick_.as<LgPolarTick>();
    if (!tick || !tick->visible_)
        return;
    const double step = markStep(axis, *range);
    const DevicePen markPen = ctx.pen(tick->pen_.get());
    const DeviceFont font = ctx.font(tick->labelFont_.get());
    LineStroke grid(tick->gridLine_.get(), ctx);
    const double len = std::isfinite(tick->markLength_) ? tick->markLength_ : 0;
    for (int k = 0;; ++k) {
        const double v = range->lo + k * step;
        if (v > range->hi + 1e-9 * std::fabs(range->hi - range->lo) || !ctx.budget.add(1))
            break;
        const double t = (v - range->lo) / (range->hi - range->lo);
        QPointF at, normal;
        if (elliptic) {
            if (k > 0 && std::fabs(std::fmod(end - start, 360.0)) < 1e-9 && t >= 1 - 1e-12)
                break; // a full circle: the last mark is the first
            const double a = start + t * (end - start);
            at = c + r * dir(a);
            normal = dir(a);
            if (grid.draws()) {
                grid.moveTo(c);
                grid.lineTo(at);
                grid.flush();
            }
        } else {
            const double tt = axis.reverse_ ? 1 - t : t;
            at = c + tt * r * dir(start);
            normal = dir(start - 90);
            if (grid.draws() && tt > 0)
                strokeArc(grid, c, tt * r, 0, 360);
        }
        if (markPen.draws && len != 0) {
            MixScope mix(ctx.painter, markPen.mode);
            ctx.painter.setPen(markPen.pen);
            ctx.painter.drawLine(at, at + len * normal);
        }
        if (font.draws)
            drawText(ctx, font, QString::fromStdString(platform::Format(v, tick->labelFormat_)),
                     at + (std::fabs(len) + 0.5) * normal, tick->labelAngle_,
                     normal.x() > 0.3 ? HAlign::Left : (normal.x() < -0.3 ? HAlign::Right : HAlign::Centre),
                     normal.y() > 0.3 ? VAlign::Bottom : (normal.y() < -0.3 ? VAlign::Top : VAlign::Centre));
    }
}

void drawPolarChart(LgPolarChart& chart, DrawContext& ctx)
{
    if (!chart.visible_)
        return;
    LgObject* area = chart.plotArea_.get();
    if (area && area->objectId() == lgxRectangle && !ctx.drawn(*area)) {
        drawRectangle(*static_cast<LgRectangle*>(area), ctx);
        ctx.markDrawn(*area);
    }
    const LgPolarAxis* straight = polarAxis(chart.straightAxis_.get());
    const LgPolarAxis* elliptic = polarAxis(chart.ellipticAxis_.get());
    if (!straight)
        return;
    PolarScale scale;
    auto radial = axisRange(ctx.control, *straight);
    if (!radial || !(straight->radius_ > 0))
        return;
    scale.radial = *radial;
    scale.centre = QPointF(straight->orgX_, straight->orgY_);
    scale.radius = straight->radius_;
    scale.reverse = straight->reverse_;
    scale.angular = Range{0, 360, 0};
    if (elliptic) {
        if (auto a = axisRange(ctx.control, *elliptic))
            scale.angular = *a;
        scale.startAngle = elliptic->startAngle_;
        scale.endAngle = elliptic->endAngle_;
    }
    auto series = readSeries(chart);
    if (!series)
        return;
    std::vector<SeriesPoint> points(series->x.size());
    for (size_t i = 0; i < points.size(); ++i) {
        const double a = series->x[i], r = series->y[i];
        const bool missing = !std::isfinite(a) || !std::isfinite(r) || (series->missingX && a == *series->missingX)
            || (series->missingY && r == *series->missingY);
        if (auto p = missing ? std::nullopt : scale.place(a, r))
            points[i] = SeriesPoint{*p, false};
    }
    if (chart.type_ == lgChartPolarBar) {
        // Polar bars: a spoke of the graph line from the centre to each point.
        LineStroke stroke(tableEntry(chart.lines_, lgGraphLine), ctx);
        for (const auto& p : points)
            if (!p.missing) {
                stroke.moveTo(scale.centre);
                stroke.lineTo(p.pos);
            }
        stroke.flush();
        if (!chart.drawSimpleChart_)
            return;
    }
    constexpr double inf = std::numeric_limits<double>::infinity();
    drawSimpleChart(SimpleChart{chart, ctx, points, *series, PlotBounds{-inf, inf, -inf, inf}});
}

} // namespace lumigra
