#include "axis/AxisTransform.h"

#include "axis/NormalQuantile.h"

#include <cmath>

namespace lumigra {

AxisScaleKind axisScaleKind(int axisType, int axisStyle)
{
    if (axisType == 19)
        return AxisScaleKind::DateTime;
    switch (axisStyle) {
    case 25: return AxisScaleKind::Log10;
    case 26: return AxisScaleKind::NormalProbability;
    case 68: return AxisScaleKind::Custom;
    default: return AxisScaleKind::Linear;
    }
}

std::optional<double> LinearTransform::apply(double value) const
{
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<double> DateTimeTransform::apply(double value) const
{
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<double> Log10Transform::apply(double value) const
{
    if (!std::isfinite(value) || !(value > 0))
        return std::nullopt;
    return std::log10(value);
}

std::optional<double> NormalProbabilityTransform::apply(double value) const
{
    if (!(value > 0.0 && value < 1.0))
        return std::nullopt;
    return standardNormalQuantile(value);
}

CustomTransform::CustomTransform(Callback callback)
    : callback_(std::move(callback))
{
}

std::optional<double> CustomTransform::apply(double value) const
{
    if (std::isnan(value) || !callback_)
        return std::nullopt;
    std::optional<double> result = callback_(value);
    if (result && !std::isfinite(*result))
        result.reset();
    return result;
}

std::unique_ptr<AxisTransform> makeAxisTransform(AxisScaleKind kind, CustomTransform::Callback callback)
{
    switch (kind) {
    case AxisScaleKind::Log10: return std::make_unique<Log10Transform>();
    case AxisScaleKind::NormalProbability: return std::make_unique<NormalProbabilityTransform>();
    case AxisScaleKind::Custom: return std::make_unique<CustomTransform>(std::move(callback));
    case AxisScaleKind::DateTime: return std::make_unique<DateTimeTransform>();
    case AxisScaleKind::Linear: break;
    }
    return std::make_unique<LinearTransform>();
}

} // namespace lumigra
