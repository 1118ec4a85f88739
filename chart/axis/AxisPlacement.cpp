#include "axis/AxisPlacement.h"

#include <algorithm>
#include <cmath>

namespace lumigra {

AxisPlacement::AxisPlacement(const AxisTransform& transform, AxisGeometry geometry)
    : transform_(transform), geometry_(geometry)
{
}

bool AxisPlacement::setEnds(double lo, double hi)
{
    lo_ = lo;
    hi_ = hi;
    drawable_ = false;
    if (!std::isfinite(geometry_.start) || !std::isfinite(geometry_.length))
        return false;
    const auto tlo = transform_.apply(lo);
    const auto thi = transform_.apply(hi);
    if (!tlo || !thi || lo == hi)
        return false;
    const double span = *thi - *tlo;
    if (!std::isfinite(span) || span == 0.0)
        return false;
    tlo_ = *tlo;
    thi_ = *thi;
    drawable_ = true;
    return true;
}

std::optional<double> AxisPlacement::position(double value) const
{
    if (!drawable_)
        return std::nullopt;
    const auto t = transform_.apply(value);
    if (!t)
        return std::nullopt;
    double pos = geometry_.start + (*t - tlo_) / (thi_ - tlo_) * geometry_.length;
    if (geometry_.reverse)
        pos = 2.0 * geometry_.start + geometry_.length - pos;
    if (!std::isfinite(pos))
        return std::nullopt;
    return pos;
}

bool AxisPlacement::onAxis(double position) const
{
    const double a = std::min(geometry_.start, geometry_.start + geometry_.length);
    const double b = std::max(geometry_.start, geometry_.start + geometry_.length);
    return position >= a - kMarkTolerance && position <= b + kMarkTolerance;
}

} // namespace lumigra
