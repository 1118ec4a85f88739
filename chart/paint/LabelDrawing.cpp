#include "kinds/Text.h"
#include "paint/DrawContext.h"
#include "paint/Drawers.h"
#include "paint/LabelLayout.h"
#include "paint/TextDrawing.h"

namespace lumigra {

void drawLabel(const LgLabel& label, DrawContext& ctx)
{
    if (!label.visible_)
        return;
    const LabelLayout layout = layoutLabel(label, ctx.units);
    for (const PlacedRun& run : layout.runs)
        drawText(ctx, run.font, run.text, run.at, layout.angle, HAlign::Left,
                 VAlign::Baseline);
}

} // namespace lumigra
