#pragma once
// The triangle of a triangular axis: equilateral, standing on its
// lower-left corner (OrgX, OrgY) with sides Length long.
#include <QPointF>

#include <cmath>

#include "kinds/Axes.h"

namespace lumigra {

struct Triangle {
    QPointF a, b, c; // lower-left, lower-right, top
};

inline Triangle triangleOf(const LgTriangularAxis& axis)
{
    const QPointF a(axis.orgX_, axis.orgY_);
    const double l = axis.length_;
    return Triangle{a, a + QPointF(l, 0), a + QPointF(l / 2, l * std::sqrt(3.0) / 2)};
}

// An axis that can be drawn: a finite triangle and a range of values.
inline bool usableTriangle(const LgTriangularAxis& axis)
{
    return std::isfinite(axis.orgX_) && std::isfinite(axis.orgY_) && std::isfinite(axis.length_) && axis.length_ > 0
        && std::isfinite(axis.minimum_) && std::isfinite(axis.maximum_) && axis.maximum_ > axis.minimum_;
}

} // namespace lumigra
