#include "picture/ChartPicture.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgGenerator>

#include <cmath>

#include "document/ChartDocument.h"
#include "draw/Millimetres.h"
#include "kinds/Resources.h"
#include "paint/PaintPass.h"

namespace lumigra {

namespace {

// Hundredths of a millimetre per millimetre: the SVG's units.
constexpr double kSvgUnitsPerMm = 100;

// ExactScale is the caller's for the duration of one rendering.
class ExactScope {
public:
    ExactScope(ChartDocument& c, bool exact) : control_(c), previous_(c.exactScale_) { c.exactScale_ = exact; }
    ~ExactScope() { control_.exactScale_ = previous_; }
    ExactScope(const ExactScope&) = delete;
    ExactScope& operator=(const ExactScope&) = delete;

private:
    ChartDocument& control_;
    bool previous_;
};

// Millimetres to whole screen pixels. A hair of tolerance keeps the
// control's own width from losing a pixel to rounding in the conversion
// back and forth.
int screenPixels(double mm, double dpi)
{
    const double px = mm * dpi / kMillimetresPerInch;
    if (!std::isfinite(px) || px < 1 || px > 32767)
        return 0;
    return static_cast<int>(px + 1e-6);
}

bool knownType(int type) { return type == lgImageMetaFile || type == lgImageBitmap || type == lgImageEnhMetaFile; }

} // namespace

std::optional<ChartPicture> createPicture(ChartDocument& control, int type, double dx, double dy, bool exact,
                                          AxisTransformHook hook)
{
    if (!knownType(type))
        return std::nullopt;
    ExactScope scope(control, exact);
    if (!(dx > 0))
        dx = control.scaleWidth();
    if (!(dy > 0))
        dy = control.scaleHeight();
    ChartPicture out;
    out.type = type;
    out.widthMm = dx;
    out.heightMm = dy;
    out.deviceSize = QSize(screenPixels(dx, control.dpiX_), screenPixels(dy, control.dpiY_));
    if (out.deviceSize.isEmpty())
        return std::nullopt;
    PaintFrame frame{QRectF(QPointF(0, 0), QSizeF(out.deviceSize)), control.dpiX_, control.dpiY_, 1};

    if (type == lgImageMetaFile) {
        QPainter p(&out.picture);
        paintChart(control, p, frame, hook);
        p.end();
        out.picture.setBoundingRect(QRect(QPoint(0, 0), out.deviceSize));
    } else if (type == lgImageBitmap) {
        if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            return std::nullopt; // a screen bitmap needs the screen
        out.pixmap = QPixmap(out.deviceSize);
        QPainter p(&out.pixmap);
        paintChart(control, p, frame, hook);
    } else {
        // The reference rectangle is the picture in hundredths of a millimetre.
        const QSize units(static_cast<int>(std::lround(dx * kSvgUnitsPerMm)),
                          static_cast<int>(std::lround(dy * kSvgUnitsPerMm)));
        QBuffer buffer(&out.svg);
        buffer.open(QIODevice::WriteOnly);
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(units);
        svg.setViewBox(QRect(QPoint(0, 0), units));
        svg.setResolution(static_cast<int>(std::lround(kMillimetresPerInch * kSvgUnitsPerMm)));
        svg.setTitle(QStringLiteral("Lumigra Works"));
        svg.setDescription(QString::fromStdString(control.displayName_));
        QPainter p(&svg);
        PaintFrame fine{QRectF(QPointF(0, 0), QSizeF(units)), kMillimetresPerInch * kSvgUnitsPerMm, kMillimetresPerInch * kSvgUnitsPerMm,
                        kMillimetresPerInch * kSvgUnitsPerMm / control.dpiX_};
        paintChart(control, p, fine, hook);
        p.end();
    }
    return out;
}

} // namespace lumigra
