#pragma once

#include <functional>
#include <optional>
#include <span>

namespace lumigra {

// Largest and smallest value one chart contributes to an axis (from the
// axis's data slot, and for heap charts from each further slot as well).
// An empty side contributes nothing.
struct DataExtent {
    std::optional<double> min;
    std::optional<double> max;
};

// The two ends of an axis scale; an end that was never set is empty.
struct ScaleEnds {
    std::optional<double> lo;
    std::optional<double> hi;
};

struct ScaleEndsRequest {
    ScaleEnds current;       // Minimum / Maximum as stored now
    bool lowerAutomatic = true;
    bool upperAutomatic = true;
    bool linearNumeric = true; // only a linear numeric axis is rounded outward
    // On a custom axis the contributions are compared after the container's
    // transform; empty means they are compared as they are.
    std::function<std::optional<double>(double)> compareKey;
};

// Finds the ends in force after preparing an axis: automatic ends from the
// contributions (non-finite values count as missing), then, on a linear
// numeric axis with both ends set, the outward rounding of the nice-scale
// rule. An axis nothing contributes to keeps the ends it had.
ScaleEnds resolveScaleEnds(const ScaleEndsRequest& request, std::span<const DataExtent> contributions);

} // namespace lumigra
