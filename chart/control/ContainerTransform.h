#pragma once
// Custom axes are placed by the container: each value goes through the
// Transform event, through the axis's plot cache.
#include <optional>

#include "axis/AxisTransform.h"
#include "paint/DrawContext.h"

namespace lumigra {

class LgXyAxis;
class LumigraCtrl;

std::optional<double> transformByContainer(LumigraCtrl& control, LgXyAxis& axis, double value);

// The hook of a drawing pass, and the callback of one axis (PlotPosition).
AxisTransformHook containerTransformHook(LumigraCtrl& control);
CustomTransform::Callback containerTransform(LumigraCtrl& control, LgXyAxis& axis);

} // namespace lumigra
