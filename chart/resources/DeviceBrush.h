#pragma once
// Brushes of the data as device brushes. Hatches and the 8 x 8 pattern are
// drawn as device-pixel textures whose origin is the drawing surface, so
// they look the same at every magnification.
#include <QBrush>
#include <QImage>
#include <QTransform>

#include <array>

#include "resources/DeviceUnits.h"

namespace lumigra {

class LgBrush;

struct DeviceBrush {
    bool fills = false; // a missing, disabled or null-style brush fills nothing
    QBrush brush{Qt::NoBrush};
};

// The 8 x 8 cells of a hatch style (true: line); cell (x, y) with y down
// the device. Block hatches have lines two cells wide.
std::array<bool, 64> hatchCells(int style, bool block);

// The 8 x 8 texture: set cells in fore, the others in back (transparent
// when back is invalid).
QImage patternTexture(const std::array<bool, 64>& cells, QColor fore, QColor back);

// deviceToSurface maps device units back to the painter's coordinates;
// origin is the device point of the drawing surface's corner.
DeviceBrush makeDeviceBrush(const LgBrush* brush, const DeviceUnits& units, const QTransform& painterToDevice,
                            QPointF origin);

} // namespace lumigra
