#include "paint/DrawContext.h"

#include <QPaintEngine>

#include <cmath>

#include "document/ChartDocument.h"
#include "draw/Millimetres.h"
#include "kinds/Axes.h"
#include "kinds/Resources.h"
#include "paint/XyAxisScale.h"

namespace lumigra {

namespace {

double finiteOr(double v, double fallback) { return std::isfinite(v) ? v : fallback; }

} // namespace

DrawContext::DrawContext(ChartDocument& c, QPainter& p, const PaintFrame& f)
    : control(c), painter(p), frame(f), budget(c.maxLoop_)
{
    double scale = finiteOr(control.scaleFactor_, 1.0);
    if (scale <= 0)
        scale = 1.0;
    units.perMmX = frame.dpiX / kMillimetresPerInch * scale;
    units.perMmY = frame.dpiY / kMillimetresPerInch * scale;
    units.monochrome = control.monochrome_;
    units.minPenWidth = frame.minPenWidth > 0 ? frame.minPenWidth : 1;
    units.rasterOps = painter.paintEngine() && painter.paintEngine()->hasFeature(QPaintEngine::RasterOpModes);
    // The surface is as high as the device, or as the stored height when
    // the scale is exact; y grows upward from its lower edge.
    double height = frame.bounds.height() / units.perMmY;
    if (control.exactScale_) {
        double stored = control.scaleHeight();
        if (std::isfinite(stored) && stored > 0)
            height = stored;
    }
    surfaceHeight = height;
    const double orgX = finiteOr(control.orgX_, 0);
    const double orgY = finiteOr(control.orgY_, 0);
    toDevice = QTransform(units.perMmX, 0, 0, -units.perMmY, frame.bounds.left() - orgX * units.perMmX,
                          frame.bounds.top() + (height + orgY) * units.perMmY);
}

DrawContext::~DrawContext() = default;

void DrawContext::drawInMillimetres()
{
    painter.setWorldTransform(toDevice);
}

DevicePen DrawContext::pen(const LgObject* object) const
{
    if (!object || object->objectId() != lgxPen)
        return {};
    return makeDevicePen(static_cast<const LgPen*>(object), units);
}

DeviceBrush DrawContext::brush(const LgObject* object) const
{
    if (!object || object->objectId() != lgxBrush)
        return {};
    return makeDeviceBrush(static_cast<const LgBrush*>(object), units, toDevice, surfaceCorner());
}

DeviceFont DrawContext::font(const LgObject* object) const
{
    if (!object || object->objectId() != lgxFontHolder)
        return {};
    return makeDeviceFont(static_cast<const LgFontHolder*>(object), units);
}

const QImage* DrawContext::picture(const LgObject* object)
{
    if (!object || object->objectId() != lgxPictureHolder)
        return nullptr;
    auto found = pictures_.find(object);
    if (found == pictures_.end()) {
        const auto& bytes = static_cast<const LgPictureHolder*>(object)->image_;
        QImage image;
        if (!bytes.empty() && bytes.size() < (1u << 30))
            image.loadFromData(bytes.data(), static_cast<int>(bytes.size()));
        found = pictures_.emplace(object, std::move(image)).first;
    }
    return found->second.isNull() ? nullptr : &found->second;
}

void DrawContext::drawImage(const QImage& image, const QRectF& box)
{
    const QRectF device = toDevice.mapRect(box.normalized());
    if (device.isEmpty())
        return;
    painter.save();
    painter.setWorldTransform(painter.worldTransform() * toDevice.inverted());
    painter.drawImage(device, image);
    painter.restore();
}

PreparedXyAxis& DrawContext::xyAxis(LgXyAxis& axis)
{
    auto& slot = axes_[&axis];
    if (!slot) {
        auto hook = transformHook;
        slot = prepareXyAxis(control, axis, &budget,
                             [hook, &axis](double v) -> std::optional<double> {
                                 if (hook)
                                     return hook(axis, v);
                                 return v;
                             });
    }
    return *slot;
}

} // namespace lumigra
