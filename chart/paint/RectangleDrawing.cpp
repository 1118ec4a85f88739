#include <cmath>

#include "kinds/Shapes.h"
#include "paint/DrawContext.h"
#include "paint/Drawers.h"

namespace lumigra {

void drawRectangle(const LgRectangle& r, DrawContext& ctx)
{
    if (!r.visible_)
        return;
    const QRectF box = QRectF(r.orgX_, r.orgY_, r.width_, r.height_).normalized();
    if (!std::isfinite(box.left()) || !std::isfinite(box.top()) || !std::isfinite(box.width())
        || !std::isfinite(box.height()))
        return;
    QPainter& p = ctx.painter;
    // The shadow lies behind the box, shifted by the two offsets.
    const DeviceBrush shadow = ctx.brush(r.shadowBrush_.get());
    if (shadow.fills && (r.shadowShiftX_ != 0 || r.shadowShiftY_ != 0) && std::isfinite(r.shadowShiftX_)
        && std::isfinite(r.shadowShiftY_))
        p.fillRect(box.translated(r.shadowShiftX_, r.shadowShiftY_), shadow.brush);
    if (r.paintTool_ == lgPaintBrush) {
        const DeviceBrush fill = ctx.brush(r.brush_.get());
        if (fill.fills)
            p.fillRect(box, fill.brush);
    } else if (r.paintTool_ == lgPaintPicture) {
        if (const QImage* image = ctx.picture(r.picture_.get()))
            ctx.drawImage(*image, box);
    }
    const DevicePen pen = ctx.pen(r.pen_.get());
    if (pen.draws) {
        MixScope mix(p, pen.mode);
        p.setPen(pen.pen);
        p.setBrush(Qt::NoBrush);
        p.drawRect(box);
    }
}

} // namespace lumigra
