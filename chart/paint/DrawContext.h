#pragma once
// The drawing context of one paint: how drawing millimetres (y up, origin
// OrgX/OrgY) map to the device, the device tools made from the resources,
// the loop budget with its overlay, and the axes prepared in this pass.
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QTransform>

#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "axis/LoopBudget.h"
#include "resources/DeviceBrush.h"
#include "resources/DeviceFont.h"
#include "resources/DevicePen.h"

namespace lumigra {

class LgObject;
class LgXyAxis;
class ChartDocument;
struct PreparedXyAxis;

// The device rectangle drawn into and the device's units per inch.
struct PaintFrame {
    QRectF bounds;
    double dpiX = 96;
    double dpiY = 96;
    // The thinnest pen in device units: one unit, or one screen pixel on
    // devices that count in finer units.
    double minPenWidth = 1;
};

// A custom axis hands values to its container; without one a value stays as it is.
using AxisTransformHook = std::function<std::optional<double>(const LgXyAxis&, double)>;

class DrawContext {
public:
    DrawContext(ChartDocument& control, QPainter& painter, const PaintFrame& frame);
    ~DrawContext();
    DrawContext(const DrawContext&) = delete;
    DrawContext& operator=(const DrawContext&) = delete;

    ChartDocument& control;
    QPainter& painter;
    const PaintFrame frame;
    DeviceUnits units;
    double surfaceHeight = 0; // millimetres
    QTransform toDevice;      // drawing millimetres to device units
    LoopBudget budget;
    AxisTransformHook transformHook;

    QPointF deviceOf(QPointF mm) const { return toDevice.map(mm); }
    QPointF surfaceOf(QPointF device) const { return toDevice.inverted().map(device); }
    // The painter draws in millimetres again (after text or overlay drawing).
    void drawInMillimetres();
    // The device point of the surface's upper-left corner (brush origin).
    QPointF surfaceCorner() const { return frame.bounds.topLeft(); }

    // Device tools of resource objects; any other object (or none) gives
    // a tool that draws nothing.
    DevicePen pen(const LgObject* pen) const;
    DeviceBrush brush(const LgObject* brush) const;
    DeviceFont font(const LgObject* font) const;
    // The image of a picture holder, decoded once per pass; null when none.
    const QImage* picture(const LgObject* holder);

    // An image stretched over a box in millimetres, upright on the device.
    void drawImage(const QImage& image, const QRectF& box);

    // The scale and ticks of an axis, prepared on first use in this pass.
    PreparedXyAxis& xyAxis(LgXyAxis& axis);

    // Objects already drawn in this pass (an area drawn by its chart is not
    // drawn again by its collection).
    bool drawn(const LgObject& object) const { return drawn_.count(&object) != 0; }
    void markDrawn(const LgObject& object) { drawn_.insert(&object); }

private:
    std::unordered_map<const LgObject*, std::unique_ptr<PreparedXyAxis>> axes_;
    std::unordered_map<const LgObject*, QImage> pictures_;
    std::unordered_set<const LgObject*> drawn_;
};

} // namespace lumigra
