#pragma once
// A line object's dash pattern drawn with its four device pens; the phase
// runs on across the pieces of one stroke.
#include <array>

#include "draw/PatternedStroke.h"
#include "resources/DevicePen.h"

namespace lumigra {

class DrawContext;
class LgLine;
class LgObject;

class DeviceDashSink final : public DashSink {
public:
    DeviceDashSink(QPainter& painter, const std::array<DevicePen, 4>& pens);
    ~DeviceDashSink() override;
    DeviceDashSink(const DeviceDashSink&) = delete;
    DeviceDashSink& operator=(const DeviceDashSink&) = delete;
    void dash(int penIndex, QPointF from, QPointF to) override;
    void flush();

private:
    QPainter& painter_;
    std::array<DevicePen, 4> pens_;
    QPolygonF pending_;
    int pendingPen_ = -1;
};

class LineStroke {
public:
    // A missing or hidden line draws nothing.
    LineStroke(const LgObject* line, DrawContext& ctx);
    bool draws() const { return draws_; }
    void moveTo(QPointF p);
    // Continues the stroke; a piece over the stroke limit is abandoned
    // with the overlay message.
    void lineTo(QPointF q);
    void flush() { sink_.flush(); }

private:
    DrawContext& ctx_;
    bool draws_ = false;
    PatternedStroke stroke_;
    DeviceDashSink sink_;
};

// The pattern of a line object (pens usable when set and enabled).
StrokePattern strokePattern(const LgLine& line);
std::array<DevicePen, 4> linePens(const LgLine& line, const DrawContext& ctx);

} // namespace lumigra
