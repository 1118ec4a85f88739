#include "paint/TextDrawing.h"

#include <QFontMetricsF>

#include <cmath>

#include "paint/DrawContext.h"

namespace lumigra {

TextMetrics measureText(const DeviceFont& font, const QString& text, const DeviceUnits& units)
{
    TextMetrics m;
    if (!font.draws)
        return m;
    QFontMetricsF fm(font.font);
    m.width = fm.horizontalAdvance(text) / units.perMmX;
    m.ascent = fm.ascent() / units.perMmY;
    m.descent = fm.descent() / units.perMmY;
    return m;
}

void drawText(DrawContext& ctx, const DeviceFont& font, const QString& text, QPointF at, double angleDegrees,
              HAlign h, VAlign v)
{
    if (!font.draws || text.isEmpty() || !std::isfinite(at.x()) || !std::isfinite(at.y())
        || !std::isfinite(angleDegrees))
        return;
    QPainter& p = ctx.painter;
    QFontMetricsF fm(font.font, p.device());
    const double width = fm.horizontalAdvance(text);
    const double ascent = fm.ascent();
    const double descent = fm.descent();
    double x = 0;
    if (h == HAlign::Centre)
        x = -width / 2;
    else if (h == HAlign::Right)
        x = -width;
    double baseline = 0; // device y of the baseline, down the device
    switch (v) {
    case VAlign::Baseline: break;
    case VAlign::Centre: baseline = (ascent - descent) / 2; break;
    case VAlign::Top: baseline = ascent; break;
    case VAlign::Bottom: baseline = -descent; break;
    }
    const QPointF device = ctx.deviceOf(at);
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    QTransform t = QTransform::fromTranslate(device.x(), device.y());
    // The device's y runs down, so a counter-clockwise turn is negative here.
    t.rotate(-std::fmod(angleDegrees, 360.0));
    p.setWorldTransform(t);
    if (font.box)
        p.fillRect(QRectF(x, baseline - ascent, width, ascent + descent), font.boxColour);
    p.setFont(font.font);
    p.setPen(font.colour);
    p.drawText(QPointF(x, baseline), text);
    p.restore();
}

} // namespace lumigra
