#pragma once
// Pens of the data as device pens: width in device units (at least one),
// colour through Monochrome, and the mix mode of the pen style.
#include <QPainter>
#include <QPen>

#include "resources/DeviceUnits.h"

namespace lumigra {

class LgPen;

struct DevicePen {
    bool draws = false; // a missing, disabled or null pen draws nothing
    QPen pen{Qt::NoPen};
    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
};

// How a pen style combines with the target: the colour to draw with and
// the composition mode. Styles that need the target fall back to the pen
// colour on devices without raster operations.
struct PenMix {
    enum class Colour { Pen, InvertedPen, Black, White };
    bool draws = true;
    Colour colour = Colour::Pen;
    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
};
PenMix penMix(int style, bool rasterOps);

DevicePen makeDevicePen(const LgPen* pen, const DeviceUnits& units);

// A width in millimetres as a device width: whole units, at least one.
double devicePenWidth(double widthMm, const DeviceUnits& units);

// Selects a device pen's mix mode for the scope; raster operations need
// aliased drawing, so antialiasing is off meanwhile.
class MixScope {
public:
    MixScope(QPainter& painter, QPainter::CompositionMode mode);
    ~MixScope();
    MixScope(const MixScope&) = delete;
    MixScope& operator=(const MixScope&) = delete;

private:
    QPainter& painter_;
    QPainter::CompositionMode previous_;
    bool antialiased_;
};

} // namespace lumigra
