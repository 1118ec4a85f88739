#include "axis/TickLayout.h"

#include "axis/NiceScale.h"
#include "axis/ProbabilityScale.h"
#include "axis/LoopBudget.h"

#include <cmath>

namespace lumigra {

namespace {

// Bound on values per tick object when the caller passes no budget.
constexpr std::int64_t kUnbudgetedValues = 100000;

// Collects generated values while the budget lasts.
class ValueSink {
public:
    ValueSink(LoopBudget* budget, std::vector<double>& out) : budget_(budget), out_(out) {}

    bool take(double v)
    {
        if (exhausted_)
            return false;
        if (budget_ ? !budget_->add(1) : ++count_ > kUnbudgetedValues) {
            exhausted_ = true;
            return false;
        }
        out_.push_back(v);
        return true;
    }
    bool exhausted() const { return exhausted_; }
    void markExhausted() { exhausted_ = true; }

private:
    LoopBudget* budget_;
    std::vector<double>& out_;
    std::int64_t count_ = 0;
    bool exhausted_ = false;
};

bool usableInterval(double interval)
{
    return std::isfinite(interval) && interval != 0.0;
}

// lo + k * (hi - lo) / n for k = 0 … n.
void evenValues(double lo, double hi, std::int64_t n, ValueSink& sink)
{
    for (std::int64_t k = 0; k <= n; ++k) {
        if (!sink.take(lo + static_cast<double>(k) * (hi - lo) / static_cast<double>(n)))
            return;
    }
}

// The manual interval: (hi - lo) / interval intervals, truncated, from lo.
void manualValues(double lo, double hi, double interval, ValueSink& sink)
{
    const double step = std::copysign(std::fabs(interval), hi - lo);
    const double count = std::trunc(std::fabs(hi - lo) / std::fabs(interval));
    for (double k = 0; k <= count; k += 1.0) {
        if (!sink.take(lo + k * step))
            return;
    }
}

void decadeValues(double lo, double hi, ValueSink& sink)
{
    const double a = std::min(lo, hi);
    const double b = std::max(lo, hi);
    // A hair of tolerance so that ends like 1000 count as a decade.
    const double first = std::ceil(std::log10(a) - 1e-12);
    const double last = std::floor(std::log10(b) + 1e-12);
    const double count = last - first + 1.0;
    const double every = std::max(1.0, std::ceil(count / 10.0));
    for (double e = first; e <= last; e += every) {
        if (!sink.take(std::pow(10.0, e)))
            return;
    }
}

int niceDivisions(double width)
{
    const auto rule = niceScale(0.0, width);
    if (rule && std::fabs(rule->intervals * rule->step - width) <= 1e-9 * width)
        return rule->intervals;
    return kFallbackIntervals;
}

void placeValues(const AxisPlacement& placement, TickLayout& layout)
{
    for (double v : layout.values) {
        const auto pos = placement.position(v);
        if (pos && placement.onAxis(*pos))
            layout.marks.push_back(TickMark{v, *pos, -1});
    }
}

} // namespace

TickLayout layoutMainTicks(AxisPlacement& placement, const TickSpec& spec, LoopBudget* budget)
{
    TickLayout layout;
    layout.lo = placement.lo();
    layout.hi = placement.hi();
    if (!placement.drawable())
        return layout;

    ValueSink sink(budget, layout.values);
    const AxisScaleKind kind = placement.transform().kind();
    const bool manual = !spec.automaticInterval && usableInterval(spec.markInterval);

    if (spec.customTick != 1) {
        switch (kind) {
        case AxisScaleKind::NormalProbability:
            if (spec.automaticInterval) {
                if (const auto snapped = snapProbabilityEnds(layout.lo, layout.hi)) {
                    if (snapped->first != layout.lo || snapped->second != layout.hi) {
                        if (!placement.setEnds(snapped->first, snapped->second))
                            return layout;
                        layout.lo = snapped->first;
                        layout.hi = snapped->second;
                        layout.reframed = true;
                    }
                }
            }
            for (double v : probabilityMarkValues(std::min(layout.lo, layout.hi), std::max(layout.lo, layout.hi))) {
                if (!sink.take(v))
                    break;
            }
            break;
        case AxisScaleKind::DateTime: {
            // The date stepping counts its own marks against the budget.
            bool stopped = false;
            layout.values = dateTickValues(layout.lo, layout.hi, spec.timeUnit, manual ? spec.markInterval : 0.0,
                                           budget, &stopped);
            if (stopped)
                sink.markExhausted();
            break;
        }
        case AxisScaleKind::Log10:
            if (manual)
                manualValues(layout.lo, layout.hi, spec.markInterval, sink);
            else
                decadeValues(layout.lo, layout.hi, sink);
            break;
        case AxisScaleKind::Linear:
        case AxisScaleKind::Custom:
            if (manual) {
                manualValues(layout.lo, layout.hi, spec.markInterval, sink);
            } else if (const auto rule = spec.automaticInterval ? niceScale(layout.lo, layout.hi) : std::nullopt) {
                // Only a linear axis is reframed; a custom axis keeps the
                // ends its container chose and shows the marks inside.
                if (kind == AxisScaleKind::Linear && (rule->lo != layout.lo || rule->hi != layout.hi)) {
                    if (!placement.setEnds(rule->lo, rule->hi))
                        return layout;
                    layout.lo = rule->lo;
                    layout.hi = rule->hi;
                    layout.reframed = true;
                }
                layout.intervals = rule->intervals;
                layout.step = rule->step;
                for (int k = 0; k <= rule->intervals; ++k) {
                    if (!sink.take(rule->lo + k * rule->step))
                        break;
                }
            } else {
                layout.intervals = kFallbackIntervals;
                layout.step = (layout.hi - layout.lo) / kFallbackIntervals;
                evenValues(layout.lo, layout.hi, kFallbackIntervals, sink);
            }
            break;
        }
    }
    placeValues(placement, layout);

    if (spec.customTick == 1 || spec.customTick == 2) {
        std::vector<double> custom;
        ValueSink customSink(budget, custom);
        for (std::size_t i = 0; i < spec.customPositions.size(); ++i) {
            const double v = spec.customPositions[i];
            if (!customSink.take(v))
                break;
            const auto pos = placement.position(v);
            if (pos && placement.onAxis(*pos))
                layout.marks.push_back(TickMark{v, *pos, static_cast<int>(i)});
        }
        if (customSink.exhausted())
            sink.markExhausted();
    }
    layout.budgetExhausted = sink.exhausted();
    return layout;
}

TickLayout layoutSubTicks(const AxisPlacement& placement, const TickSpec& spec,
                          std::span<const double> parentValues, LoopBudget* budget)
{
    TickLayout layout;
    layout.lo = placement.lo();
    layout.hi = placement.hi();
    if (!placement.drawable())
        return layout;

    ValueSink sink(budget, layout.values);
    const AxisScaleKind kind = placement.transform().kind();
    const bool manual = !spec.automaticInterval && usableInterval(spec.markInterval);

    if (kind == AxisScaleKind::NormalProbability && !manual) {
        for (double v : probabilitySubMarkValues(std::min(layout.lo, layout.hi), std::max(layout.lo, layout.hi))) {
            if (!sink.take(v))
                break;
        }
    } else {
        for (std::size_t i = 0; i + 1 < parentValues.size() && !sink.exhausted(); ++i) {
            const double a = parentValues[i];
            const double b = parentValues[i + 1];
            const double width = std::fabs(b - a);
            if (!std::isfinite(width) || width == 0.0)
                continue;
            if (kind == AxisScaleKind::Log10 && !manual && a > 0 && b > a) {
                const double ratio = std::log10(b / a);
                const double decades = std::round(ratio);
                if (std::fabs(ratio - 1.0) < 1e-9) {
                    for (int j = 2; j <= 9 && sink.take(a * j); ++j) {
                    }
                    continue;
                }
                if (decades > 1 && std::fabs(ratio - decades) < 1e-9) {
                    for (double j = 1; j < decades && sink.take(a * std::pow(10.0, j)); j += 1.0) {
                    }
                    continue;
                }
            }
            double parts = kFallbackIntervals;
            if (manual)
                parts = std::max(1.0, std::trunc(width / std::fabs(spec.markInterval)));
            else
                parts = niceDivisions(width);
            for (double k = 1; k < parts; k += 1.0) {
                if (!sink.take(a + k * (b - a) / parts))
                    break;
            }
        }
    }
    placeValues(placement, layout);
    layout.budgetExhausted = sink.exhausted();
    return layout;
}

} // namespace lumigra
