// A legend: its area, then the visible items one below the other (or side
// by side), each a sample of a chart's line and symbol next to its label.
#include <algorithm>
#include <cmath>

#include "kinds/Charts.h"
#include "kinds/Shapes.h"
#include "kinds/Strokes.h"
#include "kinds/Text.h"
#include "model/Collection.h"
#include "paint/ChartSeries.h"
#include "paint/DrawContext.h"
#include "paint/Drawers.h"
#include "paint/LabelLayout.h"
#include "paint/LineStroke.h"
#include "paint/TextDrawing.h"

namespace lumigra {

namespace {

constexpr double kPadding = 1.0; // millimetres inside the area and between the parts of an item
constexpr double kItemGap = 1.0; // between items

struct Item {
    const LgLegendItem* item;
    const LgChart* chart;
    const LgLabel* label;
    LabelLayout layout;
    double sampleWidth;
    double width;
    double height;
};

const LgChart* chartOf(const LgLegendItem& item)
{
    const LgObject* o = item.chart_.get();
    if (!o)
        return nullptr;
    const int32_t id = o->objectId();
    return id == lgxXyChart || id == lgxPolarChart || id == lgxTriangularChart ? static_cast<const LgChart*>(o)
                                                                                : nullptr;
}

void drawItem(const Item& it, DrawContext& ctx, QPointF topLeft, bool labelLeft)
{
    const double cy = topLeft.y() - it.height / 2;
    double sampleX = topLeft.x();
    double labelX = topLeft.x() + it.sampleWidth + kPadding;
    if (labelLeft) {
        labelX = topLeft.x();
        sampleX = topLeft.x() + it.layout.width + kPadding;
    }
    if (it.chart) {
        const double lineLength = std::isfinite(it.item->lineLength_) ? it.item->lineLength_ : 0;
        LineStroke stroke(tableEntry(it.chart->lines_, it.item->lineIndex_), ctx);
        stroke.moveTo(QPointF(sampleX, cy));
        stroke.lineTo(QPointF(sampleX + lineLength, cy));
        stroke.flush();
        const LgObject* s = tableEntry(it.chart->symbols_, it.item->symbolIndex_);
        if (s && s->objectId() == lgxSymbol)
            drawSymbolAt(*static_cast<const LgSymbol*>(s), ctx, QPointF(sampleX + it.sampleWidth / 2, cy),
                         it.item->symbolWidth_, it.item->symbolHeight_);
    }
    // The label's runs are moved from its own origin to the item.
    const QPointF shift = QPointF(labelX, cy - it.layout.height / 4)
        - QPointF(it.label ? it.label->orgX_ : 0, it.label ? it.label->orgY_ : 0);
    for (const PlacedRun& run : it.layout.runs)
        drawText(ctx, run.font, run.text, run.at + shift, it.layout.angle, HAlign::Left,
                 VAlign::Baseline);
}

} // namespace

void drawLegend(LgLegend& legend, DrawContext& ctx)
{
    if (!legend.visible_)
        return;
    LgObject* areaObject = legend.area_.get();
    if (!areaObject || areaObject->objectId() != lgxRectangle)
        return;
    const auto& area = *static_cast<const LgRectangle*>(areaObject);
    drawRectangle(area, ctx);
    ctx.markDrawn(*areaObject);
    LgCollection* items = legend.items();
    if (!items || !items->visible())
        return;

    std::vector<Item> list;
    double tallest = 0;
    for (int32_t i = 0; i < items->count(); ++i) {
        LgObject* o = items->at(i);
        if (o->objectId() != lgxLegendItem)
            continue;
        const auto& item = *static_cast<const LgLegendItem*>(o);
        if (!item.visible_)
            continue;
        const LgObject* l = item.label_.get();
        const LgLabel* label = l && l->objectId() == lgxLabel ? static_cast<const LgLabel*>(l) : nullptr;
        Item it{&item, chartOf(item), label, label ? layoutLabel(*label, ctx.units) : LabelLayout{}, 0, 0, 0};
        it.sampleWidth = std::max({0.0, item.lineLength_, item.symbolWidth_});
        it.width = it.sampleWidth + kPadding + it.layout.width;
        it.height = std::max({it.layout.height, item.symbolHeight_, 0.0});
        if (!std::isfinite(it.width) || !std::isfinite(it.height))
            continue;
        tallest = std::max(tallest, it.height);
        list.push_back(std::move(it));
        ctx.markDrawn(*o);
    }
    const QRectF box = QRectF(area.orgX_, area.orgY_, area.width_, area.height_).normalized();
    const bool labelLeft = legend.labelPosition_ == lgLegendLabelLeft;
    QPointF at(box.left() + kPadding, box.bottom() - kPadding); // bottom() is the top edge: y is up
    for (Item& it : list) {
        if (legend.evenHeight_)
            it.height = tallest;
        drawItem(it, ctx, at, labelLeft);
        if (legend.align_ == lgLegendAlignHorizontal)
            at.rx() += it.width + kItemGap;
        else
            at.ry() -= it.height + kItemGap;
    }
}

} // namespace lumigra
