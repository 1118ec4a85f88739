#pragma once

#include <functional>
#include <memory>
#include <optional>

namespace lumigra {

// Scale kinds of an axis. The numbers of the two enumerations the host uses
// (axis type 18/19 and axis style 24/25/26/68) map onto this by
// axisScaleKind().
enum class AxisScaleKind { Linear, Log10, NormalProbability, Custom, DateTime };

AxisScaleKind axisScaleKind(int axisType, int axisStyle);

// The scale function T of an axis. Returns empty for a value the axis
// cannot place (not finite, not positive on a log axis, outside (0, 1) on
// a probability axis); such a value counts as missing.
class AxisTransform {
public:
    virtual ~AxisTransform() = default;
    virtual AxisScaleKind kind() const = 0;
    virtual std::optional<double> apply(double value) const = 0;
};

class LinearTransform final : public AxisTransform {
public:
    AxisScaleKind kind() const override { return AxisScaleKind::Linear; }
    std::optional<double> apply(double value) const override;
};

// Dates are days with fractions, placed linearly.
class DateTimeTransform final : public AxisTransform {
public:
    AxisScaleKind kind() const override { return AxisScaleKind::DateTime; }
    std::optional<double> apply(double value) const override;
};

class Log10Transform final : public AxisTransform {
public:
    AxisScaleKind kind() const override { return AxisScaleKind::Log10; }
    std::optional<double> apply(double value) const override;
};

class NormalProbabilityTransform final : public AxisTransform {
public:
    AxisScaleKind kind() const override { return AxisScaleKind::NormalProbability; }
    std::optional<double> apply(double value) const override;
};

// Custom axes hand each value to the container (the Transform event); the
// callback keeps the axis's PlotCache between it and a slow container.
class CustomTransform final : public AxisTransform {
public:
    using Callback = std::function<std::optional<double>(double)>;

    explicit CustomTransform(Callback callback);
    AxisScaleKind kind() const override { return AxisScaleKind::Custom; }
    std::optional<double> apply(double value) const override;

private:
    Callback callback_;
};

// Makes the transform of a kind; a custom kind needs the callback.
std::unique_ptr<AxisTransform> makeAxisTransform(AxisScaleKind kind, CustomTransform::Callback callback = {});

} // namespace lumigra
