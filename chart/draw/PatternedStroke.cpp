#include "draw/PatternedStroke.h"

#include "axis/LoopBudget.h"

#include <charconv>
#include <cmath>

namespace lumigra {

namespace {

constexpr double kEpsilon = 2.220446049250313e-16;

// Negative and NaN lengths take no room.
double usableLength(double v)
{
    return v > 0 ? v : 0.0;
}

// "%f" without the process locale: the overlay must not depend on it.
std::string fixed6(double v)
{
    char buf[400];
    const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 6);
    return std::string(buf, res.ptr);
}

} // namespace

PatternedStroke::PatternedStroke(const StrokePattern& pattern)
    : pattern_(pattern)
{
}

void PatternedStroke::setPattern(const StrokePattern& pattern)
{
    pattern_ = pattern;
    index_ = 0;
    inGap_ = false;
    used_ = 0;
}

void PatternedStroke::moveTo(QPointF p)
{
    current_ = p;
    index_ = 0;
    inGap_ = false;
    used_ = 0;
}

double PatternedStroke::dashLength(int k) const
{
    const DashStyle& s = pattern_.dashes[static_cast<std::size_t>(k)];
    return s.penUsable ? usableLength(s.length) : 0.0;
}

double PatternedStroke::spaceLength(int k) const
{
    return usableLength(pattern_.dashes[static_cast<std::size_t>(k)].space);
}

std::string PatternedStroke::limitMessage(QPointF p, QPointF q)
{
    return "(" + fixed6(p.x()) + "," + fixed6(p.y()) + ")から(" + fixed6(q.x()) + "," + fixed6(q.y())
        + ")までの直線を引くために必要なストロークが5000を超えたので直線描画を中止しました。";
}

PatternedStroke::Result PatternedStroke::lineTo(QPointF q, DashSink& sink, LoopBudget* budget)
{
    if (!pattern_.visible)
        return Result::Nothing;
    const QPointF p = current_;
    const double dx = q.x() - p.x();
    const double dy = q.y() - p.y();
    const double d = std::hypot(dx, dy);
    if (!(d > 0) || !std::isfinite(d))
        return Result::Nothing;

    // Resume: a part used up to within rounding hands over to the part that
    // follows it, so a piece ending exactly at a dash's end still leaves
    // that dash's gap for the next piece.
    if (used_ > 0) {
        const double whole = inGap_ ? spaceLength(index_) : dashLength(index_);
        if (whole - used_ <= kEpsilon) {
            used_ = 0;
            if (inGap_) {
                inGap_ = false;
                index_ = (index_ + 1) % 4;
            } else {
                inGap_ = true;
            }
        }
    } else {
        inGap_ = false;
        index_ = 0;
    }

    // The whole piece fits in the dash under way: the loop below would draw
    // it as one dash from p + u * 0 (p with zeros signed as the step) and
    // stop, so draw it so at once, without the divisions.
    if (!inGap_) {
        const double length = dashLength(index_);
        if (length > 0 && length - used_ >= d) {
            used_ += d;
            sink.dash(index_, QPointF(p.x() + std::copysign(0.0, dx), p.y() + std::copysign(0.0, dy)), q);
            current_ = q;
            return Result::Drawn;
        }
    }

    const double ux = dx / d;
    const double uy = dy / d;
    auto at = [&](double t) { return QPointF(p.x() + ux * t, p.y() + uy * t); };

    double t = 0;
    bool anyProgress = false;
    int idlePairs = 0; // consecutive pairs that took no room
    int strokes = 0;
    while (true) {
        // Only a pair that takes room counts as a stroke, so a solid line
        // (one dash, the rest 0) counts one stroke per dash length.
        const bool takesRoom = (!inGap_ && dashLength(index_) > 0) || spaceLength(index_) > 0;
        if (takesRoom && ++strokes > kMaxStrokes) {
            if (budget)
                budget->report(limitMessage(p, q));
            current_ = q;
            index_ = 0;
            inGap_ = false;
            used_ = 0;
            return Result::StrokeLimit;
        }
        bool pairProgress = false;
        if (!inGap_) {
            const double length = dashLength(index_);
            if (length > 0) {
                const double piece = length - used_;
                const double start = t;
                if (piece >= d - t) {
                    used_ += d - t;
                    t = d;
                } else {
                    used_ = length;
                    t += piece;
                }
                sink.dash(index_, at(start), t == d ? q : at(t));
                pairProgress = true;
                if (t >= d)
                    break;
            }
            inGap_ = true;
            used_ = 0;
        }
        const double space = spaceLength(index_);
        if (space > 0) {
            const double piece = space - used_;
            if (piece >= d - t) {
                used_ += d - t;
                t = d;
            } else {
                used_ = space;
                t += piece;
            }
            pairProgress = true;
            if (t >= d)
                break;
        }
        inGap_ = false;
        used_ = 0;
        index_ = (index_ + 1) % 4;
        anyProgress = anyProgress || pairProgress;
        idlePairs = pairProgress ? 0 : idlePairs + 1;
        // Four pairs in a row without room: every length and space is 0.
        if (idlePairs >= 4)
            break;
    }
    if (t >= d || anyProgress) {
        current_ = q;
        return Result::Drawn;
    }
    index_ = 0;
    inGap_ = false;
    used_ = 0;
    return Result::Nothing;
}

} // namespace lumigra
