#include "axis/AxisScale.h"

#include "axis/ProbabilityScale.h"

namespace lumigra {

AxisScale::AxisScale(CustomTransform::Callback customCallback)
    : callback_(std::move(customCallback)),
      transform_(std::make_unique<LinearTransform>()),
      custom_(std::make_unique<CustomTransform>([this](double value) {
          return callback_ ? cache_.lookup(value, callback_) : std::nullopt;
      })),
      active_(transform_.get())
{
}

ScaleEnds AxisScale::prepare(const AxisScaleSettings& settings, std::span<const DataExtent> contributions)
{
    const AxisScaleKind wanted = axisScaleKind(settings.type, settings.style);
    if (wanted != AxisScaleKind::Custom && transform_->kind() != wanted) {
        // The old placement refers to the old transform: drop it first.
        placement_.reset();
        transform_ = makeAxisTransform(wanted);
    }
    active_ = wanted == AxisScaleKind::Custom ? static_cast<const AxisTransform*>(custom_.get()) : transform_.get();
    const AxisTransform& active = *active_;

    ScaleEndsRequest request;
    request.current = settings.ends;
    request.lowerAutomatic = settings.minimumAutomatic;
    request.upperAutomatic = settings.maximumAutomatic;
    request.linearNumeric = wanted == AxisScaleKind::Linear;
    if (wanted == AxisScaleKind::Custom)
        request.compareKey = [&active](double v) { return active.apply(v); };
    const ScaleEnds ends = resolveScaleEnds(request, contributions);

    placement_ = std::make_unique<AxisPlacement>(active, AxisGeometry{settings.start, settings.length, settings.reverse});
    if (!ends.lo || !ends.hi)
        return ends;
    double lo = *ends.lo;
    double hi = *ends.hi;
    if (wanted == AxisScaleKind::NormalProbability) {
        const auto snapped = snapProbabilityEnds(lo, hi);
        if (!snapped)
            return ends; // cannot be ordered: the axis is not drawn
        lo = snapped->first;
        hi = snapped->second;
    }
    placement_->setEnds(lo, hi);
    return ends;
}

std::optional<double> AxisScale::position(double value) const
{
    if (!placement_)
        return std::nullopt;
    return placement_->position(value);
}

bool AxisScale::setPlotCache(int flag)
{
    return cache_.set(flag);
}

} // namespace lumigra
