#pragma once
// The drawing pass of a control on any painter: background, back picture,
// the drawable collections by paint order, and the overlay text.
#include <string>

#include "axis/LoopBudget.h"
#include "paint/DrawContext.h"

namespace lumigra {

class ChartDocument;

struct PaintResult {
    LoopBudget::Overlay overlay = LoopBudget::Overlay::None;
    std::string overlayText;
};

// The 14 drawable collections in their visiting sequence.
inline constexpr int kDrawableCollections = 14;
extern const int kPaintSequence[kDrawableCollections];

PaintResult paintChart(ChartDocument& control, QPainter& painter, const PaintFrame& frame,
                       AxisTransformHook transformHook = {});

// Background colour of the pass: BackColor with BackMode bit 1, else the
// container's; through Monochrome.
QColor backgroundColour(const ChartDocument& control);

} // namespace lumigra
