#include "paint/PaintPass.h"

#include <QFontMetricsF>
#include <QGuiApplication>

#include "document/ChartDocument.h"
#include "draw/Millimetres.h"
#include "kinds/Axes.h"
#include "kinds/Charts.h"
#include "kinds/Resources.h"
#include "kinds/Shapes.h"
#include "kinds/Strokes.h"
#include "kinds/Text.h"
#include "model/Collection.h"
#include "paint/Drawers.h"
#include "resources/DeviceColour.h"

namespace lumigra {

const int kPaintSequence[kDrawableCollections] = {cidXyCharts, cidTriangularCharts, cidPolarCharts, cidXyAxes, cidTriangularAxes,
                                cidPolarAxes, cidRectangles, cidSymbols, cidLines, cidSymbolLines,
                                cidLegends, cidLabels, cidPolygons, cidPolylines};

namespace {

QColor overlayBackground() { return QColor(255, 128, 0); }

// Objects that others refer to are drawn by them, not by their collection.
bool drawnByCollection(const LgObject& o, const DrawContext& ctx) { return o.parents() == 0 && !ctx.drawn(o); }

void drawElement(int id, LgObject& o, DrawContext& ctx)
{
    switch (id) {
    case cidXyCharts: drawXyChart(static_cast<LgXyChart&>(o), ctx); break;
    case cidTriangularCharts: drawTriangularChart(static_cast<LgTriangularChart&>(o), ctx); break;
    case cidPolarCharts: drawPolarChart(static_cast<LgPolarChart&>(o), ctx); break;
    case cidXyAxes: drawXyAxis(static_cast<LgXyAxis&>(o), ctx); break;
    case cidTriangularAxes: drawTriangularAxis(static_cast<LgTriangularAxis&>(o), ctx); break;
    case cidPolarAxes: drawPolarAxis(static_cast<LgPolarAxis&>(o), ctx); break;
    case cidRectangles:
        if (drawnByCollection(o, ctx))
            drawRectangle(static_cast<const LgRectangle&>(o), ctx);
        break;
    case cidSymbols:
        if (drawnByCollection(o, ctx)) {
            const auto& s = static_cast<const LgSymbol&>(o);
            drawSymbolAt(s, ctx, QPointF(s.centerX_, s.centerY_), s.width_, s.height_);
        }
        break;
    case cidLines:
        if (drawnByCollection(o, ctx))
            drawFreeLine(static_cast<LgLine&>(o), ctx);
        break;
    case cidSymbolLines:
        if (drawnByCollection(o, ctx))
            drawSymbolLine(static_cast<const LgSymbolLine&>(o), ctx);
        break;
    case cidLegends: drawLegend(static_cast<LgLegend&>(o), ctx); break;
    case cidLabels:
        if (drawnByCollection(o, ctx))
            drawLabel(static_cast<const LgLabel&>(o), ctx);
        break;
    case cidPolygons: drawPolygon(static_cast<const LgPolygon&>(o), ctx); break;
    case cidPolylines: drawPolyline(static_cast<const LgPolyline&>(o), ctx); break;
    default: break;
    }
    ctx.markDrawn(o);
}

void drawCollection(int id, LgCollection& c, DrawContext& ctx)
{
    if (!c.visible())
        return;
    for (int32_t i = 0; i < c.count(); ++i) {
        LgObject* o = c.at(i);
        ctx.painter.save();
        ctx.drawInMillimetres();
        // Whatever one element's data holds, the rest of the chart is drawn.
        try {
            drawElement(id, *o, ctx);
        } catch (...) {
        }
        ctx.painter.restore();
    }
}

void drawBackPicture(DrawContext& ctx)
{
    if (!(ctx.control.backMode_ & 2))
        return;
    if (const QImage* image = ctx.picture(ctx.control.backPicture_.get()))
        ctx.painter.drawImage(ctx.frame.bounds, *image);
}

void drawOverlay(DrawContext& ctx, const std::string& text)
{
    QPainter& p = ctx.painter;
    p.save();
    p.resetTransform();
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    QFont font = QGuiApplication::font();
    // The system font is about 3.2 mm high on any device.
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(3.2 * ctx.frame.dpiY / kMillimetresPerInch))));
    p.setFont(font);
    const QString s = QString::fromStdString(text);
    QFontMetricsF m(font, p.device());
    QRectF box(ctx.frame.bounds.left(), ctx.frame.bounds.bottom() - m.height(), m.horizontalAdvance(s), m.height());
    p.fillRect(box, overlayBackground());
    p.setPen(Qt::black);
    p.drawText(QPointF(box.left(), box.top() + m.ascent()), s);
    p.restore();
}

} // namespace

QColor backgroundColour(const ChartDocument& control)
{
    int32_t colour = (control.backMode_ & 1) ? control.backColor_ : control.ambientBackColor_;
    return deviceColour(colour, control.monochrome_);
}

PaintResult paintChart(ChartDocument& control, QPainter& painter, const PaintFrame& frame,
                       AxisTransformHook transformHook)
{
    DrawContext ctx(control, painter, frame);
    ctx.transformHook = std::move(transformHook);
    ctx.budget.reset();

    painter.save();
    painter.resetTransform();
    painter.fillRect(frame.bounds, backgroundColour(control));
    drawBackPicture(ctx);
    painter.setClipRect(frame.bounds, Qt::IntersectClip);

    bool clash = false;
    for (int k = 1; k <= kDrawableCollections; ++k) {
        int found = 0;
        for (int id : kPaintSequence) {
            LgCollection* c = control.collection(id);
            if (!c || c->paintOrder() != k)
                continue;
            ++found;
            drawCollection(id, *c, ctx);
        }
        if (found != 1)
            clash = true;
    }
    if (clash)
        resetPaintOrders(control);

    PaintResult result;
    result.overlay = ctx.budget.overlay();
    result.overlayText = ctx.budget.overlayText();
    if (!result.overlayText.empty())
        drawOverlay(ctx, result.overlayText);
    painter.restore();
    return result;
}

} // namespace lumigra
