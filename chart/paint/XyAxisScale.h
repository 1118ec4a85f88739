#pragma once
// An XY axis made ready for drawing and for placing values: its ends found
// from every chart on it (and stored back into Minimum and Maximum), the
// transform and placement, and the marks of its tick and subticks.
#include <memory>
#include <optional>
#include <vector>

#include "axis/AxisScale.h"
#include "axis/TickLayout.h"

namespace lumigra {

class LgXyAxis;
class LgXyTick;
class LoopBudget;
class ChartDocument;

struct TickLevel {
    const LgXyTick* tick = nullptr; // null for the default main tick of an axis without one
    TickLayout layout;
};

struct PreparedXyAxis {
    explicit PreparedXyAxis(CustomTransform::Callback callback) : scale(std::move(callback)) {}
    AxisScale scale;
    bool horizontal = true;
    std::vector<TickLevel> levels; // the main tick first, then each subtick

    bool drawable() const { return scale.drawable(); }
    std::optional<double> position(double value) const { return scale.position(value); }
};

// Subtick chains deeper than this are cut (a tick may even name itself).
inline constexpr int kMaxTickLevels = 8;

std::unique_ptr<PreparedXyAxis> prepareXyAxis(ChartDocument& control, LgXyAxis& axis, LoopBudget* budget,
                                              CustomTransform::Callback custom);

// The position of a value along the drawing surface (PlotPosition), empty
// when the axis cannot place it. A custom axis asks custom (the container);
// without it the value stays as it is.
std::optional<double> xyPlotPosition(ChartDocument& control, LgXyAxis& axis, double value,
                                     CustomTransform::Callback custom = {});

} // namespace lumigra
