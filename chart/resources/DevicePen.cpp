#include "resources/DevicePen.h"

#include <algorithm>
#include <cmath>

#include "kinds/Resources.h"
#include "resources/DeviceColour.h"

namespace lumigra {

PenMix penMix(int style, bool rasterOps)
{
    using M = QPainter::CompositionMode;
    PenMix m;
    auto op = [&](M mode) {
        if (rasterOps)
            m.mode = mode;
    };
    switch (style) {
    case lgPenNull: m.draws = false; break;
    case lgPenInvert: m.colour = PenMix::Colour::InvertedPen; break;
    case lgPenBlack: m.colour = PenMix::Colour::Black; break;
    case lgPenWhite: m.colour = PenMix::Colour::White; break;
    case lgPenInvertTarget: op(QPainter::RasterOp_NotDestination); break;
    case lgPenMerge: op(QPainter::RasterOp_SourceOrDestination); break;
    case lgPenInvertMerge: op(QPainter::RasterOp_NotSourceAndNotDestination); break;
    case lgPenAnd: op(QPainter::RasterOp_SourceAndDestination); break;
    case lgPenXor: op(QPainter::RasterOp_SourceXorDestination); break;
    default: break; // copy pen, and any value the setter let through
    }
    return m;
}

double devicePenWidth(double widthMm, const DeviceUnits& units)
{
    double w = widthMm * (units.perMmX + units.perMmY) / 2;
    if (!std::isfinite(w) || w < units.minPenWidth)
        return units.minPenWidth;
    // Very wide pens are as wide as any device can show.
    return std::min(std::round(w), 10000.0);
}

DevicePen makeDevicePen(const LgPen* pen, const DeviceUnits& units)
{
    DevicePen d;
    if (!pen || !pen->enabled_)
        return d;
    PenMix mix = penMix(pen->style_, units.rasterOps);
    if (!mix.draws)
        return d;
    QColor colour = deviceColour(pen->color_, units.monochrome);
    switch (mix.colour) {
    case PenMix::Colour::Pen: break;
    case PenMix::Colour::InvertedPen: colour = QColor(255 - colour.red(), 255 - colour.green(), 255 - colour.blue()); break;
    case PenMix::Colour::Black: colour = Qt::black; break;
    case PenMix::Colour::White: colour = Qt::white; break;
    }
    d.draws = true;
    // Cosmetic: the width stays in device units under the millimetre transform.
    d.pen = QPen(colour, devicePenWidth(pen->width_, units), Qt::SolidLine, Qt::FlatCap, Qt::BevelJoin);
    d.pen.setCosmetic(true);
    d.mode = mix.mode;
    return d;
}

MixScope::MixScope(QPainter& painter, QPainter::CompositionMode mode)
    : painter_(painter), previous_(painter.compositionMode()),
      antialiased_(painter.testRenderHint(QPainter::Antialiasing))
{
    if (mode != previous_)
        painter_.setCompositionMode(mode);
    if (mode != QPainter::CompositionMode_SourceOver)
        painter_.setRenderHint(QPainter::Antialiasing, false);
}

MixScope::~MixScope()
{
    if (painter_.compositionMode() != previous_)
        painter_.setCompositionMode(previous_);
    painter_.setRenderHint(QPainter::Antialiasing, antialiased_);
}

} // namespace lumigra
