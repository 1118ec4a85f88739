#include "resources/DeviceBrush.h"

#include "kinds/Resources.h"
#include "resources/DeviceColour.h"

namespace lumigra {

namespace {

// -1 (no colour) as read from a record without the colour.
constexpr int32_t kNoColour = -1;

QColor brushColour(int32_t colour, const DeviceUnits& units, QColor fallback)
{
    if (colour == kNoColour)
        return fallback;
    return deviceColour(colour, units.monochrome);
}

} // namespace

std::array<bool, 64> hatchCells(int style, bool block)
{
    std::array<bool, 64> cells{};
    auto set = [&](int x, int y) {
        cells[static_cast<size_t>(((x + 8) % 8) + 8 * ((y + 8) % 8))] = true;
        if (block)
            cells[static_cast<size_t>(((x + 9) % 8) + 8 * ((y + 8) % 8))] = true;
    };
    for (int i = 0; i < 8; ++i) {
        switch (style) {
        case lgBrushHorizontal: set(i, 0); if (block) set(i, 1); break;
        case lgBrushVertical: set(0, i); break;
        case lgBrushCross: set(i, 0); set(0, i); if (block) set(i, 1); break;
        // Rising to the left: down the device going right.
        case lgBrushL: set(i, i); break;
        // Rising to the right: up the device going right.
        case lgBrushR: set(i, 7 - i); break;
        case lgBrushCrossLR: set(i, i); set(i, 7 - i); break;
        default: break;
        }
    }
    return cells;
}

QImage patternTexture(const std::array<bool, 64>& cells, QColor fore, QColor back)
{
    QImage image(8, 8, QImage::Format_ARGB32_Premultiplied);
    image.fill(back.isValid() ? back : QColor(Qt::transparent));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            if (cells[static_cast<size_t>(x + 8 * y)])
                image.setPixelColor(x, y, fore);
    return image;
}

DeviceBrush makeDeviceBrush(const LgBrush* brush, const DeviceUnits& units, const QTransform& painterToDevice,
                            QPointF origin)
{
    DeviceBrush d;
    if (!brush || !brush->enabled_ || brush->style_ == lgBrushNull)
        return d;
    const QColor fore = brushColour(brush->foreColor_, units, Qt::black);
    if (brush->style_ == lgBrushSolid) {
        d.fills = true;
        d.brush = QBrush(fore);
        return d;
    }
    std::array<bool, 64> cells{};
    if (brush->style_ == lgBrushCustom) {
        // The data keeps cell (x, y) at 8 x + y.
        for (int x = 0; x < 8; ++x)
            for (int y = 0; y < 8; ++y)
                cells[static_cast<size_t>(x + 8 * y)] = brush->pattern_[static_cast<size_t>(8 * x + y)];
    } else if (brush->style_ >= lgBrushHorizontal && brush->style_ <= lgBrushR) {
        cells = hatchCells(brush->style_, brush->hatchStyle_ == lgBrushHatchBlock);
    } else {
        return d;
    }
    const QColor back = brushColour(brush->backColor_, units, QColor());
    QBrush texture(patternTexture(cells, fore, back));
    // Texture pixels are device pixels, counted from the surface corner.
    QTransform t = QTransform::fromTranslate(origin.x(), origin.y()) * painterToDevice.inverted();
    texture.setTransform(t);
    d.fills = true;
    d.brush = texture;
    return d;
}

} // namespace lumigra
