#pragma once

#include "axis/AxisTransform.h"

#include <optional>

namespace lumigra {

// Where an axis lies on the drawing surface: start coordinate (OrgX of a
// horizontal axis, OrgY of a vertical one), length and mirroring, all in
// millimetres.
struct AxisGeometry {
    double start = 0;
    double length = 0;
    bool reverse = false;
};

// Maps axis values to millimetres along the surface. The scale ends are
// transformed once when set, then every position is a linear blend.
class AxisPlacement {
public:
    // The transform must outlive the placement.
    AxisPlacement(const AxisTransform& transform, AxisGeometry geometry);

    // Sets the scale ends; returns false (and the axis is not drawn) when an
    // end cannot be placed or both place at the same spot.
    bool setEnds(double lo, double hi);
    bool drawable() const { return drawable_; }
    double lo() const { return lo_; }
    double hi() const { return hi_; }
    const AxisGeometry& geometry() const { return geometry_; }
    const AxisTransform& transform() const { return transform_; }

    // Position of a value, empty when the axis is not drawable or cannot
    // place the value.
    std::optional<double> position(double value) const;

    // A mark this far or less beyond either end of the axis still counts as
    // on the axis, so rounding cannot drop the end marks.
    static constexpr double kMarkTolerance = 0.001;
    bool onAxis(double position) const;

private:
    const AxisTransform& transform_;
    AxisGeometry geometry_;
    double lo_ = 0;
    double hi_ = 0;
    double tlo_ = 0;
    double thi_ = 0;
    bool drawable_ = false;
};

} // namespace lumigra
