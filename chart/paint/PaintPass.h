#pragma once
// The drawing pass of a control on any painter: background, back picture,
// the drawable collections by paint order, and the overlay text.
#include <string>

#include "draw/LoopBudget.h"
#include "paint/DrawContext.h"

namespace lumigra {

class LumigraCtrl;

struct PaintResult {
    LoopBudget::Overlay overlay = LoopBudget::Overlay::None;
    std::string overlayText;
};

// The 14 drawable collections in their visiting sequence.
extern const int kPaintSequence[14];

PaintResult paintChart(LumigraCtrl& control, QPainter& painter, const PaintFrame& frame,
                       AxisTransformHook transformHook = {});

// Background colour of the pass: BackColor with BackMode bit 1, else the
// container's; through Monochrome.
QColor backgroundColour(const LumigraCtrl& control);

} // namespace lumigra
