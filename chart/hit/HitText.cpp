// Labels by the extent their runs take on the device, legends by their area.
#include <cmath>

#include "hit/HitKinds.h"
#include "kinds/Shapes.h"
#include "kinds/Text.h"
#include "paint/LabelLayout.h"

namespace lumigra {

namespace {

const LgRectangle* areaOf(const LgLegend& legend)
{
    const LgObject* o = legend.area_.get();
    return o && o->objectId() == lgxRectangle ? static_cast<const LgRectangle*>(o) : nullptr;
}

} // namespace

HitShape labelShape(const LgLabel& label, const DeviceUnits& units)
{
    HitShape s;
    if (!label.visible_ || !std::isfinite(label.orgX_) || !std::isfinite(label.orgY_))
        return s;
    const LabelLayout layout = layoutLabel(label, units);
    if (layout.runs.empty())
        return s;
    // The box along and across the baseline, turned with the label about its origin.
    const double theta = layout.angle / 180.0 * M_PI;
    const double c = std::cos(theta), sn = std::sin(theta);
    auto at = [&](double along, double across) {
        return QPointF(label.orgX_ + along * c - across * sn, label.orgY_ + along * sn + across * c);
    };
    const double left = layout.start, right = layout.start + layout.width;
    const double bottom = layout.bottom, top = layout.bottom + layout.height;
    s.areas.push_back(QPolygonF{at(left, bottom), at(right, bottom), at(right, top), at(left, top)});
    return s;
}

HitShape legendShape(const LgLegend& legend)
{
    const LgRectangle* area = areaOf(legend);
    if (!legend.visible_ || !area)
        return {};
    HitShape s;
    QRectF box;
    if (finiteBox(area->orgX_, area->orgY_, area->width_, area->height_, box))
        s.addBox(box);
    return s;
}

void moveLabel(LgLabel& label, double dx, double dy) { moveOrigin(label, label.orgX_, label.orgY_, dx, dy); }

// A legend stands where its area does; the items follow it.
void moveLegend(LgLegend& legend, double dx, double dy)
{
    if (LgObject* o = legend.area_.get(); o && o->objectId() == lgxRectangle)
        moveRectangle(*static_cast<LgRectangle*>(o), dx, dy);
}

} // namespace lumigra
