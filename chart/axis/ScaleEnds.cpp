#include "axis/ScaleEnds.h"

#include "axis/NiceScale.h"

#include <cmath>

namespace lumigra {

namespace {

// Picks the winning contribution for one end: keepLarger for the upper end.
std::optional<double> extremeOf(std::span<const DataExtent> contributions, bool upper,
                                const std::function<std::optional<double>(double)>& key)
{
    std::optional<double> best;
    std::optional<double> bestKey;
    for (const DataExtent& e : contributions) {
        const std::optional<double>& v = upper ? e.max : e.min;
        if (!v || !std::isfinite(*v))
            continue;
        double k = *v;
        if (key) {
            const std::optional<double> t = key(*v);
            // A value the container cannot place takes no part.
            if (!t || !std::isfinite(*t))
                continue;
            k = *t;
        }
        if (!best || (upper ? k > *bestKey : k < *bestKey)) {
            best = *v;
            bestKey = k;
        }
    }
    return best;
}

} // namespace

ScaleEnds resolveScaleEnds(const ScaleEndsRequest& request, std::span<const DataExtent> contributions)
{
    ScaleEnds ends = request.current;
    if (request.upperAutomatic) {
        if (const auto v = extremeOf(contributions, true, request.compareKey))
            ends.hi = v;
    }
    if (request.lowerAutomatic) {
        if (const auto v = extremeOf(contributions, false, request.compareKey))
            ends.lo = v;
    }
    if (!request.linearNumeric || !ends.lo || !ends.hi)
        return ends;

    if (request.lowerAutomatic) {
        if (const auto rule = niceScale(*ends.lo, *ends.hi))
            ends.lo = rule->lo;
    }
    if (request.upperAutomatic) {
        // Applied again to the possibly moved lower end; both ends follow.
        if (const auto rule = niceScale(*ends.lo, *ends.hi)) {
            ends.hi = rule->hi;
            ends.lo = rule->lo;
        }
    }
    return ends;
}

} // namespace lumigra
