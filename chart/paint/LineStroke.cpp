#include "paint/LineStroke.h"

#include <QPaintEngine>


#include "kinds/Resources.h"
#include "kinds/Strokes.h"
#include "paint/DrawContext.h"
#include "paint/WideSolidStroke.h"

namespace lumigra {

namespace {

constexpr int kMaxPendingPoints = 4096;

const ObjRef* penRefs(const LgLine& line, int k)
{
    const ObjRef* refs[4] = {&line.pen1_, &line.pen2_, &line.pen3_, &line.pen4_};
    return refs[k];
}

bool penUsable(const LgObject* pen)
{
    return pen && pen->objectId() == lgxPen && static_cast<const LgPen*>(pen)->enabled_;
}

// A wide aliased stroke may leave out the segments that others bury and
// be drawn in runs whose union is the whole stroke: each pixel of an
// opaque, aliased fill is the same; where pixels are mixed with the target
// (raster operations, translucency, antialiasing) the overlaps would show,
// and vector output keeps every point.
bool drawsUnionInPieces(const QPainter& painter, const QPen& pen)
{
    const QPaintEngine* engine = painter.paintEngine();
    return engine && engine->type() == QPaintEngine::Raster && pen.widthF() > 1 && pen.style() == Qt::SolidLine &&
        pen.color().alpha() == 255 && pen.brush().style() == Qt::SolidPattern &&
        !painter.testRenderHint(QPainter::Antialiasing) &&
        painter.compositionMode() == QPainter::CompositionMode_SourceOver && painter.opacity() == 1.0;
}

} // namespace

StrokePattern strokePattern(const LgLine& line)
{
    StrokePattern p;
    p.visible = line.visible_;
    const double lengths[4] = {line.length1_, line.length2_, line.length3_, line.length4_};
    const double spaces[4] = {line.space1_, line.space2_, line.space3_, line.space4_};
    for (int k = 0; k < 4; ++k)
        p.dashes[static_cast<size_t>(k)] = DashStyle{penUsable(penRefs(line, k)->get()), lengths[k], spaces[k]};
    return p;
}

std::array<DevicePen, 4> linePens(const LgLine& line, const DrawContext& ctx)
{
    std::array<DevicePen, 4> pens;
    for (int k = 0; k < 4; ++k)
        pens[static_cast<size_t>(k)] = ctx.pen(penRefs(line, k)->get());
    return pens;
}

DeviceDashSink::DeviceDashSink(QPainter& painter, const std::array<DevicePen, 4>& pens)
    : painter_(painter), pens_(pens)
{
}

DeviceDashSink::~DeviceDashSink() { flush(); }

void DeviceDashSink::dash(int penIndex, QPointF from, QPointF to)
{
    if (penIndex < 0 || penIndex > 3 || !pens_[static_cast<size_t>(penIndex)].draws)
        return;
    // Mostly the last point itself; only then is the fuzzy comparison spared.
    const bool continues = penIndex == pendingPen_ && !pending_.isEmpty() &&
        ((pending_.last().x() == from.x() && pending_.last().y() == from.y()) || pending_.last() == from);
    if (!continues || pending_.size() >= kMaxPendingPoints) {
        flush();
        pending_.append(from);
        pendingPen_ = penIndex;
    }
    pending_.append(to);
}

void DeviceDashSink::flush()
{
    if (pending_.size() >= 2) {
        const DevicePen& pen = pens_[static_cast<size_t>(pendingPen_)];
        MixScope mix(painter_, pen.mode);
        painter_.setPen(pen.pen);
        painter_.setBrush(Qt::NoBrush);
        if (drawsUnionInPieces(painter_, pen.pen)) {
            drawWideSolidPolyline(painter_, pending_.constData(), static_cast<int>(pending_.size()));
        } else {
            painter_.drawPolyline(pending_);
        }
    }
    pending_.clear();
    pendingPen_ = -1;
}

namespace {

const LgLine* asLine(const LgObject* o)
{
    return o && o->objectId() == lgxLine ? static_cast<const LgLine*>(o) : nullptr;
}

} // namespace

LineStroke::LineStroke(const LgObject* object, DrawContext& ctx)
    : ctx_(ctx), sink_(ctx.painter, asLine(object) ? linePens(*asLine(object), ctx) : std::array<DevicePen, 4>{})
{
    const LgLine* line = asLine(object);
    if (!line || !line->visible_)
        return;
    draws_ = true;
    stroke_.setPattern(strokePattern(*line));
}

void LineStroke::moveTo(QPointF p)
{
    if (draws_)
        stroke_.moveTo(p);
}

void LineStroke::lineTo(QPointF q)
{
    if (draws_)
        stroke_.lineTo(q, sink_, &ctx_.budget);
}

} // namespace lumigra
