#pragma once

#include <QPointF>

#include <array>
#include <string>

namespace lumigra {

class LoopBudget;

// One dash of a line pattern and the gap after it, in millimetres.
// penUsable is false when the dash's pen is missing or disabled; such a
// dash takes no room, but its gap still does.
struct DashStyle {
    bool penUsable = false;
    double length = 0;
    double space = 0;
};

struct StrokePattern {
    std::array<DashStyle, 4> dashes{};
    bool visible = true;
};

// Receives the drawn dashes; penIndex is 0 … 3 for Pen1 … Pen4.
class DashSink {
public:
    virtual ~DashSink() = default;
    virtual void dash(int penIndex, QPointF from, QPointF to) = 0;
};

// A patterned stroke whose phase runs on across the pieces of a polyline:
// the current point, the dash index, whether the pattern is in the dash or
// its gap, and how much of that part is used.
class PatternedStroke {
public:
    enum class Result { Drawn, Nothing, StrokeLimit };

    static constexpr int kMaxStrokes = 5000;

    explicit PatternedStroke(const StrokePattern& pattern = {});

    // Replaces the pattern and starts it afresh at dash 1.
    void setPattern(const StrokePattern& pattern);
    const StrokePattern& pattern() const { return pattern_; }

    // Starts a new stroke at p with the pattern at dash 1.
    void moveTo(QPointF p);

    // Continues the stroke to q. Each dash-and-gap pair visited counts as a
    // stroke; beyond kMaxStrokes the piece is abandoned, the overlay message
    // goes to the budget (when given) and StrokeLimit is returned.
    Result lineTo(QPointF q, DashSink& sink, LoopBudget* budget = nullptr);

    QPointF currentPoint() const { return current_; }
    int dashIndex() const { return index_; }
    bool inGap() const { return inGap_; }
    double usedPart() const { return used_; }

    // The overlay text for a stroke abandoned between p and q.
    static std::string limitMessage(QPointF p, QPointF q);

private:
    double dashLength(int k) const;
    double spaceLength(int k) const;

    StrokePattern pattern_;
    QPointF current_;
    int index_ = 0;
    bool inGap_ = false;
    double used_ = 0;
};

} // namespace lumigra
