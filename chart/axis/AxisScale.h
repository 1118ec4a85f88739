#pragma once

#include "axis/AxisPlacement.h"
#include "axis/AxisTransform.h"
#include "axis/PlotCache.h"
#include "axis/ScaleEnds.h"

#include <memory>
#include <span>

namespace lumigra {

// Plain values of an axis that decide its scale.
struct AxisScaleSettings {
    int type = 18;               // 18 numeric, 19 date/time
    int style = 24;              // 24 linear, 25 log10, 26 normal, 68 custom; date units otherwise
    double start = 0;            // OrgX of a horizontal axis, OrgY of a vertical one
    double length = 0;
    bool reverse = false;
    ScaleEnds ends;              // Minimum / Maximum as stored
    bool minimumAutomatic = true;
    bool maximumAutomatic = true;
};

// The scale of one axis, kept with the axis so that a custom axis keeps its
// cache between paints. prepare() runs every time the axis is drawn, a chart
// on it is drawn, or a position is asked for.
class AxisScale {
public:
    explicit AxisScale(CustomTransform::Callback customCallback = {});
    // The custom transform refers back to this scale's cache.
    AxisScale(const AxisScale&) = delete;
    AxisScale& operator=(const AxisScale&) = delete;

    // Finds the ends in force from the charts' contributions, snaps a
    // probability axis, and sets up the placement. Returns the ends to store
    // back into Minimum / Maximum (unchanged when nothing contributes).
    ScaleEnds prepare(const AxisScaleSettings& settings, std::span<const DataExtent> contributions);

    bool drawable() const { return placement_ && placement_->drawable(); }
    AxisScaleKind kind() const { return active_->kind(); }
    const AxisTransform& transform() const { return *active_; }
    // Valid after prepare(); tick layout may move its ends.
    AxisPlacement& placement() { return *placement_; }
    std::optional<double> position(double value) const;

    // The cache flag of custom placement (0 off, 1 on, 2 flush); it is kept
    // while the axis has another style. False for an unknown flag.
    bool setPlotCache(int flag);

private:
    CustomTransform::Callback callback_;
    PlotCache cache_;
    std::unique_ptr<AxisTransform> transform_;
    std::unique_ptr<CustomTransform> custom_; // asks through cache_
    const AxisTransform* active_ = nullptr;
    std::unique_ptr<AxisPlacement> placement_;
};

} // namespace lumigra
