#include "paint/XyAxisScale.h"

#include <cmath>

#include "document/ChartDocument.h"
#include "axis/LoopBudget.h"
#include "kinds/Axes.h"
#include "kinds/Charts.h"
#include "kinds/Data.h"
#include "model/Collection.h"

namespace lumigra {

using platform::com::Variant;

namespace {

std::optional<double> number(const Variant& v)
{
    const Variant& d = v.deref();
    if (d.isEmpty() || d.isArray() || d.vt() == platform::com::VT_BSTR)
        return std::nullopt;
    auto x = d.toDouble();
    if (x && !std::isfinite(*x))
        return std::nullopt;
    return x;
}

bool holdsArray(LgData& data, int32_t slot)
{
    return slot >= 1 && slot <= data.dataSize() && data.slots_[static_cast<size_t>(slot)].array.isArray();
}

DataExtent slotExtent(LgData& data, int32_t slot, const LgXyAxis& axis)
{
    DataExtent e;
    if (!holdsArray(data, slot))
        return e;
    if (axis.type_ == lgXyAxisDateTime) {
        e.min = number(data.extremeTime(slot, false, axis.style_));
        e.max = number(data.extremeTime(slot, true, axis.style_));
    } else {
        e.min = number(data.extreme(slot, false));
        e.max = number(data.extreme(slot, true));
    }
    return e;
}

std::vector<DataExtent> contributions(ChartDocument& control, const LgXyAxis& axis)
{
    std::vector<DataExtent> out;
    LgCollection* charts = control.collection(cidXyCharts);
    if (!charts)
        return out;
    const bool horizontal = axis.orientation_ != lgXyAxisY;
    for (int32_t i = 0; i < charts->count(); ++i) {
        auto* chart = static_cast<LgXyChart*>(charts->at(i));
        if (chart->xAxis_.get() != &axis && chart->yAxis_.get() != &axis)
            continue;
        LgObject* d = chart->data_.get();
        if (!d || d->objectId() != lgxData)
            continue;
        auto& data = *static_cast<LgData*>(d);
        out.push_back(slotExtent(data, horizontal ? lgIndexDataX : lgIndexDataY, axis));
        const bool heap = (chart->type_ == lgChartXHeap && horizontal) || (chart->type_ == lgChartYHeap && !horizontal);
        if (heap)
            for (int32_t s = 3; s <= data.dataSize(); ++s)
                out.push_back(slotExtent(data, s, axis));
    }
    return out;
}

void storeEnd(Variant& field, const std::optional<double>& value)
{
    if (!value)
        return;
    Variant v = Variant::fromR8(*value);
    if (!field.sameAs(v))
        field = v; // found by the drawing, not a change of the user's
}

TickSpec tickSpec(const LgXyAxis& axis, const LgXyTick* tick, bool main)
{
    TickSpec spec;
    spec.timeUnit = timeUnitFromCode(axis.tickTimeUnit_);
    if (main) {
        spec.customTick = axis.customTick_;
        const Variant& list = axis.tickPositions_;
        if (list.isArray())
            for (size_t i = 0; i < list.elementCount(); ++i)
                spec.customPositions.push_back(number(list.at(i)).value_or(std::nan("")));
    }
    if (!tick)
        return spec;
    spec.level = tick->level_;
    spec.automaticInterval = tick->markIntervalSelection_ != lgSelectionManual;
    spec.markInterval = number(tick->markInterval_).value_or(0);
    return spec;
}

} // namespace

std::unique_ptr<PreparedXyAxis> prepareXyAxis(ChartDocument& control, LgXyAxis& axis, LoopBudget* budget,
                                              CustomTransform::Callback custom)
{
    auto prepared = std::make_unique<PreparedXyAxis>(std::move(custom));
    prepared->horizontal = axis.orientation_ != lgXyAxisY;

    AxisScaleSettings settings;
    settings.type = axis.type_;
    settings.style = axis.style_;
    settings.start = prepared->horizontal ? axis.orgX_ : axis.orgY_;
    settings.length = axis.length_;
    settings.reverse = axis.reverse_;
    settings.ends.lo = number(axis.minimum_);
    settings.ends.hi = number(axis.maximum_);
    settings.minimumAutomatic = axis.minimumSelection_ != lgSelectionManual;
    settings.maximumAutomatic = axis.maximumSelection_ != lgSelectionManual;
    const auto extents = contributions(control, axis);
    const ScaleEnds ends = prepared->scale.prepare(settings, extents);
    storeEnd(axis.minimum_, ends.lo);
    storeEnd(axis.maximum_, ends.hi);
    axis.scaleStale_ = false;
    if (!prepared->scale.drawable())
        return prepared;

    // The main tick may reframe the scale by the nice-scale rule, so its
    // marks are laid out before any chart is placed on the axis.
    const LgXyTick* tick = axis.tick_.as<LgXyTick>();
    TickLevel main{tick, layoutMainTicks(prepared->scale.placement(), tickSpec(axis, tick, true), budget)};
    prepared->levels.push_back(std::move(main));
    const LgXyTick* sub = tick ? tick->subTick_.as<LgXyTick>() : nullptr;
    for (int level = 1; sub && level < kMaxTickLevels; ++level, sub = sub->subTick_.as<LgXyTick>()) {
        const TickLayout& parent = prepared->levels.back().layout;
        if (parent.budgetExhausted)
            break;
        TickLevel next{sub, layoutSubTicks(prepared->scale.placement(), tickSpec(axis, sub, false), parent.values,
                                           budget)};
        prepared->levels.push_back(std::move(next));
    }
    return prepared;
}

std::optional<double> xyPlotPosition(ChartDocument& control, LgXyAxis& axis, double value,
                                     CustomTransform::Callback custom)
{
    LoopBudget budget(control.maxLoop_);
    if (!custom)
        custom = [](double v) { return std::optional<double>(v); };
    auto prepared = prepareXyAxis(control, axis, &budget, std::move(custom));
    return prepared->position(value);
}

} // namespace lumigra
