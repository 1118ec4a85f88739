#pragma once

#include "draw/PatternedStroke.h"
#include "draw/PrimitiveSink.h"

#include <string>
#include <vector>

namespace lumigra {

// Keeps every symbol drawing call, for checks and for replay.
class RecordingPrimitiveSink final : public PrimitiveSink {
public:
    enum class Kind { Polyline, Polygon, Ellipse, Picture, FillRectangle, OutlineRectangle };
    struct Call {
        Kind kind;
        std::vector<QPointF> points; // polyline/polygon points; ellipse centre
        double rx = 0;               // ellipse radii
        double ry = 0;
        SymbolBox box{};             // picture and rectangles
    };

    void polyline(const std::vector<QPointF>& points) override;
    void polygon(const std::vector<QPointF>& points) override;
    void ellipse(QPointF centre, double rx, double ry) override;
    void picture(const SymbolBox& box) override;
    void fillRectangle(const SymbolBox& box) override;
    void outlineRectangle(const SymbolBox& box) override;

    const std::vector<Call>& calls() const { return calls_; }
    void clear() { calls_.clear(); }
    // One line per call, e.g. "polygon (-1,1) (1,1) (1,-1) (-1,-1)".
    std::string text() const;

private:
    std::vector<Call> calls_;
};

// Keeps every dash of a patterned stroke.
class RecordingDashSink final : public DashSink {
public:
    struct Dash {
        int pen;
        QPointF from;
        QPointF to;
    };
    void dash(int penIndex, QPointF from, QPointF to) override;
    const std::vector<Dash>& dashes() const { return dashes_; }
    void clear() { dashes_.clear(); }

private:
    std::vector<Dash> dashes_;
};

} // namespace lumigra
