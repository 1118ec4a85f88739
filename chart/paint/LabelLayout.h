#pragma once
// Where the five runs of a label go. Runs follow one another along the
// baseline; top- and bottom-aligned runs sit on it. Otherwise a superscript
// stands on a line lifted over the preceding run, a subscript hangs from a
// line just under it and a centred run is centred on a line half its ascent
// up. Leading and trailing spaces are blanks of the run's font.
#include <QPointF>
#include <QString>

#include <vector>

#include "resources/DeviceFont.h"

namespace lumigra {

class LgLabel;

struct PlacedRun {
    QString text;       // with its leading and trailing blanks
    DeviceFont font;
    QPointF at;         // start of the run's baseline, millimetres on the drawing surface
};

struct LabelLayout {
    std::vector<PlacedRun> runs;
    double angle = 0;   // degrees, counter-clockwise
    double width = 0;   // along the baseline, millimetres
    double height = 0;  // across it, from the lowest to the highest run edge
    double start = 0;   // along the baseline from the origin, where the first run begins
    double bottom = 0;  // across it, the lowest run edge
    bool common = true; // the common case: every run on the baseline
};

// Device units decide the font sizes; measuring at a fine resolution gives
// the extent the label has on any device.
LabelLayout layoutLabel(const LgLabel& label, const DeviceUnits& units);

// Width and Height of a label as the drawing lays it out.
QPointF labelExtent(const LgLabel& label);

} // namespace lumigra
