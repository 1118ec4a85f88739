#pragma once

#include "axis/AxisPlacement.h"
#include "axis/DateTicks.h"

#include <span>
#include <vector>

namespace lumigra {

class LoopBudget;

// What one tick object asks for.
struct TickSpec {
    int level = 0;                  // below 2 main ticks, 2 and above subticks
    bool automaticInterval = true;  // MarkIntervalSelection 41
    double markInterval = 0;        // axis units, used when not automatic
    int customTick = 0;             // main ticks: 0 normal, 1 custom only, 2 both
    std::vector<double> customPositions; // axis values of custom ticks
    TimeUnit timeUnit = TimeUnit::Year;  // date/time axes
};

struct TickMark {
    double value = 0;
    double position = 0;  // millimetres along the surface
    int customIndex = -1; // index into the custom positions (and their label values)
};

struct TickLayout {
    std::vector<TickMark> marks;  // the marks to draw, in generation order
    std::vector<double> values;   // every value generated, custom ones excluded
    double lo = 0;                // scale ends in force afterwards
    double hi = 0;
    int intervals = 0;            // linear main ticks: intervals and their step
    double step = 0;
    bool reframed = false;        // the nice-scale rule moved the scale ends
    bool budgetExhausted = false; // the loop budget stopped the generation
};

// Main ticks of an axis whose ends are already set in the placement. On a
// linear axis with an automatic interval the nice-scale rule may move the
// ends; the placement is updated and the new ends are reported. Marks more
// than 0.001 mm off the axis are left out. Every value generated counts
// against the budget (may be null: a fixed bound then applies).
TickLayout layoutMainTicks(AxisPlacement& placement, const TickSpec& spec, LoopBudget* budget);

// Subticks dividing each interval between consecutive parent values.
TickLayout layoutSubTicks(const AxisPlacement& placement, const TickSpec& spec,
                          std::span<const double> parentValues, LoopBudget* budget);

} // namespace lumigra
