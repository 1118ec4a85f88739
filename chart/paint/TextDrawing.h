#pragma once
// Text on the drawing surface: a run of one device font placed at a point
// in millimetres, turned counter-clockwise by an angle, with its box.
#include <QString>

#include "resources/DeviceFont.h"

namespace lumigra {

class DrawContext;

enum class HAlign { Left, Centre, Right };
enum class VAlign { Baseline, Centre, Top, Bottom };

// Extent of a text in millimetres of the drawing surface.
struct TextMetrics {
    double width = 0;
    double ascent = 0;  // above the baseline
    double descent = 0; // below it
};

TextMetrics measureText(const DeviceFont& font, const QString& text, const DeviceUnits& units);

void drawText(DrawContext& ctx, const DeviceFont& font, const QString& text, QPointF at, double angleDegrees,
              HAlign h, VAlign v);

} // namespace lumigra
